#pragma once
// The Sign: a warning mark that spins and fades in, then bursts into a bullet pattern.
// It is not an enemy: it cannot be shot, does not hurt, and outlives the end of a game.
#include <cstdint>

#include "bullets/Bases.h"

namespace kv {

class TSignASprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    // Mode 0: three aimed big bullets; 1: one ring of 22; 2: three rings of 22; 3: five of 45.
    TSignASprite(TSprite* Parent, double AX, double AY, int32_t AMode);
    void Step(int32_t MoveCount) override;

    double BurstX = 0;
    double BurstY = 0;
    int32_t Mode = 0;

private:
    void Burst();
};

// A Sign's ring bullet: a straight flight along Direction, taken as whole radians.
class TSignShotSprite : public TStraightTamaSprite {
public:
    KV_SPRITE_COPY
    TSignShotSprite(TSprite* Parent, const char* Picture, double Speed, double AX, double AY, int32_t ADirection)
        : TStraightTamaSprite(Parent, Picture, Speed, AX, AY, ADirection) {}
};

class TSignShotASprite : public TSignShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 4;
    TSignShotASprite(TSprite* Parent, double AX, double AY, int32_t ADirection);
};
class TSignShotBSprite : public TSignShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 3;
    TSignShotBSprite(TSprite* Parent, double AX, double AY, int32_t ADirection);
};
class TSignShotCSprite : public TSignShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 2;
    TSignShotCSprite(TSprite* Parent, double AX, double AY, int32_t ADirection);
};
class TSignShotDSprite : public TSignShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 3.5;
    TSignShotDSprite(TSprite* Parent, double AX, double AY, int32_t ADirection);
};
class TSignShotESprite : public TSignShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 2.5;
    TSignShotESprite(TSprite* Parent, double AX, double AY, int32_t ADirection);
};

}  // namespace kv
