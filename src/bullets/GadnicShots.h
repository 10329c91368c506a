#pragma once
// Straight-flying bullets of three speeds; the Stage 4 boss fires all three, the Zako I and J
// sprayers the fastest.
#include "bullets/Bases.h"

namespace kv {

class TGadnicShotASprite : public TStraightTamaSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 6;
    TGadnicShotASprite(TSprite* Parent, double X, double Y, double Direction);
};

class TGadnicShotBSprite : public TStraightTamaSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 5;
    TGadnicShotBSprite(TSprite* Parent, double X, double Y, double Direction);
};

class TGadnicShotCSprite : public TStraightTamaSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 4;
    TGadnicShotCSprite(TSprite* Parent, double X, double Y, double Direction);
};

}  // namespace kv
