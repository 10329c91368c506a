#include "enemies/ZakoA.h"

#include "player/HitBox.h"
#include "player/HitReactions.h"
#include "player/Score.h"
#include "shell/GameSprite.h"

namespace kv {

namespace {

// Descend to the hover line, then act on the shared counter of the class. Only the instance
// whose increment lands on a threshold acts.
void Hover(TEnemySprite* S, int32_t TForm1::*Counter) {
    if (S->Y < 60) {
        S->Y += 2;
        return;
    }
    TForm1& F = FormOf(S);
    int32_t& count = F.*Counter;
    count += 1;
    const double fx = S->X + 15, fy = S->Y;
    if (count == 10 || count == 20 || count == 30 || count == 40) {
        for (int32_t direction : {224, 0, 32}) new TZakoAShotASprite(F.SpriteEngine(), fx, fy, direction);
    } else if (count == 45) {
        new TZakoAShadowSprite(F.SpriteEngine(), S->X, S->Y);
        count = 0;
        S->Kill();
    }
}

template <class T>
void PlaceCraft(T* S, double X, double Y) {
    SetupImage(S, "Enemy2-1");
    S->X = X;
    S->Y = Y;
}

// Shot down on the 9th hit: 20 points, and the class's hover counter starts over.
void ShotDown(TForm1& F, TEnemySprite* O) {
    O->Kill();
    AddScore(F, 20);
    if (int32_t* count = ZakoACounterOf(F, O)) *count = 0;
}
const TSmallEnemyRowRegistrar zakoAARow{IsA<TZakoAASprite>, 8, ShotDown};
const TSmallEnemyRowRegistrar zakoABRow{IsA<TZakoABSprite>, 8, ShotDown};
const TSmallEnemyRowRegistrar zakoACRow{IsA<TZakoACSprite>, 8, ShotDown};

// Rammed by the ship: removed for 20 points, and the class's hover counter starts over; the
// hit box's enemy rule then takes its HP as for any enemy.
const THitBoxTouchRegistrar zakoATouch{[](TZikiHanteiSprite& Box, TSprite* Other) {
    TForm1& F = FormOf(&Box);
    if (int32_t* count = ZakoACounterOf(F, Other)) {
        F.PlaySound("ZikiHit");
        Other->Kill();
        AddScore(F, 20);
        *count = 0;
        Box.LoseHP();
    }
}};

}  // namespace

int32_t* ZakoACounterOf(TForm1& Form, const TSprite* S) {
    if (IsA<TZakoAASprite>(S)) return &Form.ZakoAACount;
    if (IsA<TZakoABSprite>(S)) return &Form.ZakoABCount;
    if (IsA<TZakoACSprite>(S)) return &Form.ZakoACCount;
    return nullptr;
}

TZakoAASprite::TZakoAASprite(TSprite* Parent, double X, double Y) : TZakoASprite(Parent) { PlaceCraft(this, X, Y); }
TZakoABSprite::TZakoABSprite(TSprite* Parent, double X, double Y) : TZakoASprite(Parent) { PlaceCraft(this, X, Y); }
TZakoACSprite::TZakoACSprite(TSprite* Parent, double X, double Y) : TZakoASprite(Parent) { PlaceCraft(this, X, Y); }

void TZakoAASprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    Hover(this, &TForm1::ZakoAACount);
}
void TZakoABSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    Hover(this, &TForm1::ZakoABCount);
}
void TZakoACSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    Hover(this, &TForm1::ZakoACCount);
}

TZakoAShadowSprite::TZakoAShadowSprite(TSprite* Parent, double X, double Y) : TZakoASprite(Parent) {
    PlaceCraft(this, X, Y);
}

void TZakoAShadowSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    Y -= 6;
    if (!(Y >= -25)) Kill();
}

TZakoAShotASprite::TZakoAShotASprite(TSprite* Parent, double X, double Y, int32_t Direction) : TTamaSprite(Parent) {
    SetupImage(this, "Bullet3");
    this->X = X;
    this->Y = Y;
    Angle = Direction;
}

void TZakoAShotASprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    if (Angle == 224) {
        X -= 2.4;
        Y += 4.8;
    }
    if (Angle == 0) Y += 6.6;
    if (Angle == 32) {
        X += 2.4;
        Y += 4.8;
    }
    if (Y > 480) Kill();
}

}  // namespace kv
