#pragma once
// Gadnic, the Stage 4 boss and the last of a normal game. The guard fades in and fights one
// phase; it fades out, the king fades in over it and fights three more, then an endurance
// attack of Signs around the ship whose end clears the game.
#include <cstdint>

#include "bullets/Bases.h"

namespace kv {

extern const char* const GadnicGuardName;  // "ガドニック", the guard's phase
extern const char* const GadnicKingName;   // "ガドニック王", from phase B on
extern const char* const GadnicAAttackName;
extern const char* const GadnicBAttackName;
extern const char* const GadnicCAttackName;
extern const char* const GadnicDAttackName;
extern const char* const GadnicEAttackName;  // the endurance phase's attack

// ---- the cross-fade; neither fade is an enemy: both run on through the end of a game, but
// not into the menu or the next game ----

// The guard at (135, 60): FadeIn 1 fades it in by 3 a step and then brings phase A; FadeIn 0
// fades it out by 3 a step and then brings the king's fade.
class TGadnicFadeSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    TGadnicFadeSprite(TSprite* Parent, uint8_t AFadeIn);
    void Step(int32_t MoveCount) override;
    uint8_t FadeIn = 0;
    int32_t Game = 0;  // the game it belongs to (GameNo)
};

// The king at (120, 60): fades in by 1 a step, then switches the music and brings phase B.
class TGEFadeSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    TGEFadeSprite(TSprite* Parent, uint8_t AFadeIn);
    void Step(int32_t MoveCount) override;
    uint8_t FadeIn = 0;
    int32_t Game = 0;  // the game it belongs to (GameNo)
};

// ---- the phases ----

// The guard: the laser grid and, once a cycle, a ring of 135 bullets.
class TGadnicASprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TGadnicASprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// The king: twin spiral streams that get faster at the 100th and 200th hit.
class TGadnicBSprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TGadnicBSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// The laser grid again, with a Sign placed on the ship once a cycle.
class TGadnicCSprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TGadnicCSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Chases the hit box and places three Signs once a cycle.
class TGadnicDSprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TGadnicDSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// The endurance attack: not an enemy; the shell removes it.
class TGadnicESprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TGadnicESprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// The laser grid that phases A and C share: on step N of their 220-step cycle, the column of
// the vertical beam and the row of the horizontal one; false on a step without lasers.
bool GadnicGridAt(int32_t N, double& Column, double& Row);

}  // namespace kv
