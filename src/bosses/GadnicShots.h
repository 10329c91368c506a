#pragma once
// Straight-flying bullets of three speeds; the Stage 4 boss fires all three, the Zako I and J
// sprayers the fastest.
#include "enemies/Bases.h"

namespace kv {


class TGadnicShotASprite : public TTamaSprite {
public:
    TGadnicShotASprite(TSprite* Parent, double X, double Y, double Direction);
    void Step(int32_t MoveCount) override;
    double Direction = 0;  // radians
    double VX = 0, VY = 0;  // pixels per step
};

class TGadnicShotBSprite : public TTamaSprite {
public:
    TGadnicShotBSprite(TSprite* Parent, double X, double Y, double Direction);
    void Step(int32_t MoveCount) override;
    double Direction = 0;
    double VX = 0, VY = 0;
};

class TGadnicShotCSprite : public TTamaSprite {
public:
    TGadnicShotCSprite(TSprite* Parent, double X, double Y, double Direction);
    void Step(int32_t MoveCount) override;
    double Direction = 0;
    double VX = 0, VY = 0;
};

}  // namespace kv
