#include "enemies/ZakoIJ.h"

#include "bullets/GadnicShots.h"
#include "player/HitReactions.h"
#include "player/Score.h"
#include "shell/GameSprite.h"

namespace kv {

namespace {

// Descend to the stop line, then fire until FadeAt and fade out by 3 a frame from there.
void SprayStep(TEnemySprite* S, int32_t& Count, int32_t FadeAt, double Turn) {
    if (S->Y < 50) {
        S->Y += 5;
        return;
    }
    Count += 1;
    if (Count >= FadeAt)
        S->Alpha -= 3;
    else
        new TGadnicShotASprite(S->Engine, S->X + 15, S->Y + 5, static_cast<double>(Count) * Turn);
    if (S->Alpha == 0) S->Kill();
}

const TSmallEnemyRowRegistrar kZakoIRow{IsA<TZakoISprite>, 12, [](TForm1& F, TEnemySprite* O) {
                                            O->Kill();
                                            AddScore(F, 40);
                                        }};
const TSmallEnemyRowRegistrar kZakoJRow{IsA<TZakoJSprite>, 10, [](TForm1& F, TEnemySprite* O) {
                                            O->Kill();
                                            AddScore(F, 35);
                                        }};

}  // namespace

TZakoISprite::TZakoISprite(TSprite* Parent, double X, double Y) : TEnemySprite(Parent) {
    SetupImage(this, "Enemy2-2");
    this->X = X;
    this->Y = Y;
    Alpha = 255;
}

void TZakoISprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    SprayStep(this, Count, 100, 3);
}

TZakoJSprite::TZakoJSprite(TSprite* Parent, double X, double Y) : TEnemySprite(Parent) {
    SetupImage(this, "Enemy2-5");
    this->X = X;
    this->Y = Y;
}

void TZakoJSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    SprayStep(this, Count, 70, 0.25);
}

}  // namespace kv
