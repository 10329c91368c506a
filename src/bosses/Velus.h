#pragma once
// Velus, the Stage 3 boss: three shootable phases that grow denser with damage, and a
// translucent endurance phase whose streams change every five seconds.
#include <cstdint>

#include "bullets/Bases.h"

namespace kv {

extern const char* const VelusBossName;     // "直属兵ヴェルス"
extern const char* const VelusAAttackName;
extern const char* const VelusBAttackName;
extern const char* const VelusCAttackName;
extern const char* const VelusDAttackName;  // the endurance phase's attack

// Groups the shootable phases.
class TVelusSprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    using TBossSprite::TBossSprite;
};

// Sinks into view; scattered bursts from random points of the top band, aimed big bullets.
class TVelusASprite : public TVelusSprite {
public:
    KV_SPRITE_COPY
    explicit TVelusASprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// One rotating stream from Y 70.
class TVelusBSprite : public TVelusSprite {
public:
    KV_SPRITE_COPY
    explicit TVelusBSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Two counter-rotating streams.
class TVelusCSprite : public TVelusSprite {
public:
    KV_SPRITE_COPY
    explicit TVelusCSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// The endurance attack: not an enemy, cannot be shot, outlives the end of a game (the shell
// removes it).
class TVelusDSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TVelusDSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// A straight bullet along Direction in radians.
class TVelusShotSprite : public TStraightTamaSprite {
public:
    KV_SPRITE_COPY
    using TStraightTamaSprite::TStraightTamaSprite;
};

class TVelusShotASprite : public TVelusShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 4;
    TVelusShotASprite(TSprite* Parent, double AX, double AY, double ADirection);
};
class TVelusShotBSprite : public TVelusShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 5;
    TVelusShotBSprite(TSprite* Parent, double AX, double AY, double ADirection);
};
class TVelusShotCSprite : public TVelusShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr double Speed = 6;
    TVelusShotCSprite(TSprite* Parent, double AX, double AY, double ADirection);
};

}  // namespace kv
