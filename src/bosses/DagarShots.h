#pragma once
// Dagar's five bullet kinds. Most change their motion during their life: A flies out, halts
// and comes back; B sweeps sideways, rebounds from the side and homes; C flies straight;
// D halts and re-aims; E waits on a circle and then converges on its centre.
// Directions are plain radians; the picture is chosen by Number.
#include <cstdint>

#include "bullets/Bases.h"

namespace kv {

class TDagarShotASprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TDagarShotASprite(TSprite* Parent, double AX, double AY, double ADirection, double ASpeed, int32_t Number);
    void Step(int32_t MoveCount) override;

    double Direction = 0, VX = 0, VY = 0, Speed = 0;
    int32_t Age = 0;
};

// DX, DY: the sideways course (times Speed each step). AimX, AimY: the offset from the hit
// box of the point it homes on after the rebound; from then on they hold its velocity.
class TDagarShotBSprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TDagarShotBSprite(TSprite* Parent, double AX, double AY, double ADX, double ADY, double AAimX, double AAimY,
                      double ASpeed, int32_t Number);
    void Step(int32_t MoveCount) override;

    double DX = 0, DY = 0, AimX = 0, AimY = 0, Speed = 0;
    bool Bounced = false;
};

class TDagarShotCSprite : public TStraightTamaSprite {
public:
    KV_SPRITE_COPY
    TDagarShotCSprite(TSprite* Parent, double AX, double AY, double ADirection, double Speed, int32_t Number);
};

class TDagarShotDSprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TDagarShotDSprite(TSprite* Parent, double AX, double AY, double ADirection, double ASpeed, int32_t Number);
    void Step(int32_t MoveCount) override;

    double VX = 0, VY = 0, Direction = 0;
    int32_t Age = 0;
    double Speed = 0;
};

// Placed at Radius from (CX, CY) along Direction, pointing back at the centre.
class TDagarShotESprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TDagarShotESprite(TSprite* Parent, double CX, double CY, double ARadius, double ADirection, double ASpeed,
                      int32_t Number);
    void Step(int32_t MoveCount) override;

    double VX = 0, VY = 0, Radius = 0, Direction = 0;
    int32_t Age = 0;
    double Speed = 0;
};

}  // namespace kv
