#pragma once
// Sprayers: they drop in, stop, spray one fast bullet a frame from one point, then fade away.
// Zako I's stream jumps 3 radians a frame (two slowly turning arms), Zako J's turns a quarter
// radian a frame (one spiral).
#include "bullets/Bases.h"

namespace kv {

class TZakoISprite : public TEnemySprite {
public:
    KV_SPRITE_COPY
    TZakoISprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
    int32_t Count = 0;  // hovering frames so far
};

class TZakoJSprite : public TEnemySprite {
public:
    KV_SPRITE_COPY
    TZakoJSprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
    int32_t Count = 0;
};

}  // namespace kv
