#pragma once
// Dagar, the Extra Stage boss: five shootable phases (fought in the order A, C, B, D, E) and
// the endurance phase F, in which the boss fades into a ghost covering the playfield.
#include <cstdint>

#include "bullets/Bases.h"

namespace kv {

class TDagarShotCSprite;

extern const char* const DagarBossName;   // "モーリア・ダガー", phases A to E
extern const char* const DagarGhostName;  // the endurance phase's boss name

// Fades in; rings of out-halt-back bullets, then a jump to a new column.
class TDagarASprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TDagarASprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Two counter-rotating streams in five tempos.
class TDagarCSprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TDagarCSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Rotating three-way streams and a rebounding salvo every third step.
class TDagarBSprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TDagarBSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;

    int32_t Turn = 0;    // steps of the phase; the direction of the three-way streams
    int32_t Volley = 0;  // which of the three kinds of three-way volley comes next
};

// A rotating stream and, every 120 steps, a 405-bullet burst that halts and re-aims.
class TDagarDSprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TDagarDSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Every 120 steps a burst of up to 2340 bullets and a grid of 27 lasers.
class TDagarESprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TDagarESprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// The endurance attack: not an enemy, cannot be shot, survives the end of the game until the
// shell removes it.
class TDagarFSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TDagarFSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;

    bool GhostMode = false;  // false while Dagar fades out, true once the ghost has taken over
};

// A straight bullet with a picture drawn at random (1 to 3) for it.
TDagarShotCSprite* DagarShotC(TSprite* Phase, double X, double Y, double Direction, double Speed);

}  // namespace kv
