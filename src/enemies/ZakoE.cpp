#include "enemies/ZakoE.h"

#include <cmath>

#include "shell/GameSprite.h"

namespace kv {

namespace {

template <class T>
TSprite* Follow(TSprite* Parent, double X, double Y) {
    return new T(Parent, X, Y);
}

// The six columns: where the cross and the burst come from and who takes over at y = 180.
struct TRingColumn {
    double X;
    double CrossX, CrossY;
    double BurstX, BurstY;
    TSprite* (*Successor)(TSprite* Parent, double X, double Y);
};
const TRingColumn kColumns[] = {
    {0, 5, 5, 5, 185, Follow<TZakoEASprite>},
    {58, 63, 5, 63, 185, Follow<TZakoEReturnSprite>},
    {116, 121, 5, 121, 185, Follow<TZakoEReturnSprite>},
    {174, 179, 5, 179, 185, Follow<TZakoEReturnSprite>},
    {232, 237, 5, 237, 185, Follow<TZakoEReturnSprite>},
    {290, 295, 5, 295, 185, Follow<TZakoEFSprite>},
};

const TRingColumn* ColumnAt(double X) {
    for (const TRingColumn& c : kColumns)
        if (c.X == X) return &c;
    return nullptr;
}

template <class TVars>
void AimDive(TImageSpriteEx* Diver) {
    TForm1& f = FormOf(Diver);
    const double theta = std::atan2(f.HanteiY() - 10 - Diver->Y, f.HanteiX() - 10 - Diver->X);
    TVars& v = f.Vars<TVars>();
    v.DiveVX = std::cos(theta) * 4;
    v.DiveVY = std::sin(theta) * 4;
}

template <class TVars>
void DiveStep(TImageSpriteEx* Diver) {
    const TVars& v = FormOf(Diver).Vars<TVars>();
    Diver->X += v.DiveVX;
    Diver->Y += v.DiveVY;
    if (Diver->Y > 480) Diver->Kill();
}

void PlaceRing(TImageSpriteEx* S, double X, double Y) {
    SetupImage(S, "Ring1");
    S->X = X;
    S->Y = Y;
}

void PlaceShot(TImageSpriteEx* S, const char* Picture, double X, double Y, int32_t Direction) {
    SetupImage(S, Picture);
    S->X = X + 5;
    S->Y = Y + 5;
    S->Angle = Direction;
}

void KillOutside(TSprite* S) {
    if (S->X < -20 || S->X > 320 || S->Y < -20 || S->Y > 480) S->Kill();
}

}  // namespace

TZakoESprite::TZakoESprite(TSprite* Parent, double X) : TZakoEsSprite(Parent) { PlaceRing(this, X, -30); }

void TZakoESprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    Y += 6;
    if (Y == 0) {
        if (const TRingColumn* c = ColumnAt(X))
            for (int32_t d : {32, 96, 160, 224}) new TZakoEShotBSprite(Engine, c->CrossX, c->CrossY, d);
    }
    if (Y == 180) {
        if (const TRingColumn* c = ColumnAt(X)) {
            for (int32_t d = 0; d < 256; d += 32) {
                if (d % 64 == 0)
                    new TZakoEShotASprite(Engine, c->BurstX, c->BurstY, d);
                else
                    new TZakoEShotBSprite(Engine, c->BurstX, c->BurstY, d);
            }
            c->Successor(Engine, X, 180);
            Kill();
        }
    }
}

TZakoEReturnSprite::TZakoEReturnSprite(TSprite* Parent, double X, double Y) : TZakoEsSprite(Parent) {
    PlaceRing(this, X, Y);
}

void TZakoEReturnSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    Y -= 6;
    if (Y < -30) Kill();
}

TZakoEASprite::TZakoEASprite(TSprite* Parent, double X, double Y) : TZakoEsSprite(Parent) {
    PlaceRing(this, X, Y);
    AimDive<TZakoEAVars>(this);
}

void TZakoEASprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    DiveStep<TZakoEAVars>(this);
}

TZakoEFSprite::TZakoEFSprite(TSprite* Parent, double X, double Y) : TZakoEsSprite(Parent) {
    PlaceRing(this, X, Y);
    AimDive<TZakoEFVars>(this);
}

void TZakoEFSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    DiveStep<TZakoEFVars>(this);
}

TZakoEShotASprite::TZakoEShotASprite(TSprite* Parent, double X, double Y, int32_t Direction) : TTamaSprite(Parent) {
    PlaceShot(this, "Bullet2", X, Y, Direction);
}

void TZakoEShotASprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    switch (Angle) {
        case 0: Y -= 4; break;
        case 64: X += 4; break;
        case 128: Y += 4; break;
        case 192: X -= 4; break;
        default: break;
    }
    KillOutside(this);
}

TZakoEShotBSprite::TZakoEShotBSprite(TSprite* Parent, double X, double Y, int32_t Direction) : TTamaSprite(Parent) {
    PlaceShot(this, "Bullet1", X, Y, Direction);
}

void TZakoEShotBSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    switch (Angle) {
        case 32: X += 2; Y -= 2; break;
        case 96: X += 2; Y += 2; break;
        case 160: X -= 2; Y += 2; break;
        case 224: X -= 2; Y -= 2; break;
        default: break;
    }
    KillOutside(this);
}

}  // namespace kv
