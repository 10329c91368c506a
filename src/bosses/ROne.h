#pragma once
// R-One, the Stage 1 boss: a shootable first phase and a translucent endurance phase that
// fire the same 130-frame cycle of turning triples and rings of eight.
#include "bullets/Bases.h"

namespace kv {

extern const char* const ROneBossName;     // "迎撃兵R-1"
extern const char* const ROneAAttackName;  // the first phase's attack
extern const char* const ROneBAttackName;  // the endurance phase's attack

class TROneSprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    using TBossSprite::TBossSprite;
};

class TROneASprite : public TROneSprite {
public:
    KV_SPRITE_COPY
    explicit TROneASprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Not an enemy: shots pass through it and touching it does nothing.
class TROneBSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TROneBSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Bullets start from the phase in play (the endurance phase once ROneDown is set). Angle holds
// the direction: 0 up, 64 left, 128 down, 192 right.
class TROneAShotASprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TROneAShotASprite(TSprite* Parent, int32_t Direction);
    void Step(int32_t MoveCount) override;
};
class TROneAShotBSprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TROneAShotBSprite(TSprite* Parent, int32_t Direction);
    void Step(int32_t MoveCount) override;
};
class TROneAShotCSprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TROneAShotCSprite(TSprite* Parent, int32_t Direction);
    void Step(int32_t MoveCount) override;
};
// The ring bullet (directions 16, 48, …, 240).
class TROneAShotDSprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TROneAShotDSprite(TSprite* Parent, int32_t Direction);
    void Step(int32_t MoveCount) override;
};

}  // namespace kv
