#pragma once
// Marco's straight bullets: a velocity fixed at creation. The aimed big bullets are fired by
// Marco, the Sign emitters and Velus; each aims once, at creation, 10 pixels left of and above
// the player's hit box.
#include "bullets/Bases.h"

namespace kv {

// A straight bullet that places and aims itself; removed beyond Limit at the top or left.
class TMarcoStraightShotSprite : public TStraightTamaSprite {
public:
    KV_SPRITE_COPY
    TMarcoStraightShotSprite(TSprite* Parent, const char* Picture, double Limit)
        : TStraightTamaSprite(Parent, Picture, Limit) {}

protected:
    // Sets VX, VY from the current position towards the hit box offset by (DX, DY).
    void AimAtHitBox(double DX, double DY, double Speed);
};

// Aimed big bullets (speeds 5, 4, 3).
class TMarcoCShotASprite : public TMarcoStraightShotSprite {
public:
    KV_SPRITE_COPY
    TMarcoCShotASprite(TSprite* Parent, double AX, double AY);
};
class TMarcoCShotBSprite : public TMarcoStraightShotSprite {
public:
    KV_SPRITE_COPY
    TMarcoCShotBSprite(TSprite* Parent, double AX, double AY);
};
class TMarcoCShotCSprite : public TMarcoStraightShotSprite {
public:
    KV_SPRITE_COPY
    TMarcoCShotCSprite(TSprite* Parent, double AX, double AY);
};

}  // namespace kv
