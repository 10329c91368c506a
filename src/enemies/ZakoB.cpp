#include "enemies/ZakoB.h"

#include <cmath>
#include <numbers>

#include "player/HitReactions.h"
#include "player/Score.h"
#include "shell/GameSprite.h"

namespace kv {

namespace {

// Where a carrier of each column turns, and into what. Tested in this order.
struct TTurningPoint {
    double X, Y;
    TSprite* (*Create)(TSprite* Parent, double X, double Y);
};
template <class T>
TSprite* Make(TSprite* Parent, double X, double Y) {
    return new T(Parent, X, Y);
}
const TTurningPoint kTurningPoints[] = {
    {0, 190, Make<TZakoCASprite>},   {30, 160, Make<TZakoCBSprite>},  {60, 130, Make<TZakoCCSprite>},
    {90, 100, Make<TZakoCDSprite>},  {200, 100, Make<TZakoBASprite>}, {230, 130, Make<TZakoBBSprite>},
    {260, 160, Make<TZakoBCSprite>}, {290, 190, Make<TZakoBDSprite>},
};

void StartSpiral(TZakoBSprite* S, TZakoSpiralClass Class, double X, double Y) {
    SetupImage(S, "Enemy1-2");
    S->X = X;
    S->Y = Y;
    TZakoBCVars& v = FormOf(S).Vars<TZakoBCVars>();
    v.OriginX[Class] = X;
    v.OriginY[Class] = Y;
}

// The position comes from the shared centre and count each frame; Sign −1 is the C mirror.
void SpiralStep(TZakoBSprite* S, TZakoSpiralClass Class, int32_t MoveCount) {
    S->TEnemySprite::Step(MoveCount);
    TForm1& f = FormOf(S);
    const int32_t n = ++f.ZakoBCCounts[Class];
    const TZakoBCVars& v = f.Vars<TZakoBCVars>();
    const double theta = n * std::numbers::pi / 100;
    const bool right = Class < zsCA;
    const double sign = right ? 1.0 : -1.0;
    S->X = v.OriginX[Class] + sign * n * std::cos(theta);
    S->Y = v.OriginY[Class] + sign * n * std::sin(theta);
    if (right ? S->X > 320 : S->X < -30) S->Kill();
    S->Angle += right ? 1 : -1;
}

// Every craft of the formation, carriers included, takes 10 hits and dies on the 11th.
const TSmallEnemyRowRegistrar kZakoBRow{IsA<TZakoBSprite>, 10, [](TForm1& F, TEnemySprite* O) {
                                            O->Kill();
                                            AddScore(F, 25);
                                        }};

}  // namespace

TZakoDSprite::TZakoDSprite(TSprite* Parent, double X) : TZakoBSprite(Parent) {
    SetupImage(this, "Enemy1-2");
    this->X = X;
    Y = -30;
}

void TZakoDSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    Y += 5;
    for (const TTurningPoint& p : kTurningPoints)
        if (X == p.X && Y == p.Y) {
            p.Create(Engine, X, Y);
            Kill();
            break;
        }
}

#define KV_ZAKO_SPIRAL_CODE(Name, Class)                                                      \
    Name::Name(TSprite* Parent, double X, double Y) : TZakoBSprite(Parent) { StartSpiral(this, Class, X, Y); } \
    void Name::Step(int32_t MoveCount) { SpiralStep(this, Class, MoveCount); }
KV_ZAKO_SPIRAL_CODE(TZakoBASprite, zsBA)
KV_ZAKO_SPIRAL_CODE(TZakoBBSprite, zsBB)
KV_ZAKO_SPIRAL_CODE(TZakoBCSprite, zsBC)
KV_ZAKO_SPIRAL_CODE(TZakoBDSprite, zsBD)
KV_ZAKO_SPIRAL_CODE(TZakoCASprite, zsCA)
KV_ZAKO_SPIRAL_CODE(TZakoCBSprite, zsCB)
KV_ZAKO_SPIRAL_CODE(TZakoCCSprite, zsCC)
KV_ZAKO_SPIRAL_CODE(TZakoCDSprite, zsCD)
#undef KV_ZAKO_SPIRAL_CODE

}  // namespace kv
