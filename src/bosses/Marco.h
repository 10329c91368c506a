#pragma once
// Marco, the Stage 2 boss: two shootable phases and an endurance phase, and their bullets.
// The aimed big bullets the Signs and Velus fire too are in bullets/MarcoShots.h.
#include <cstdint>

#include "bullets/Bases.h"
#include "bullets/MarcoShots.h"

namespace kv {

extern const char* const MarcoBossName;
extern const char* const MarcoAAttackName;
extern const char* const MarcoBAttackName;
extern const char* const MarcoCAttackName;  // the endurance phase's attack

// ---- the phases ----

// Phase 1: sinks into view, fires bursting stars, then hops along the top edge.
class TMarcoASprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TMarcoASprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Phase 2: stands at (130, 0) and closes layered walls in from the four corners.
class TMarcoBSprite : public TBossSprite {
public:
    KV_SPRITE_COPY
    explicit TMarcoBSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Phase 3, the endurance attack: translucent, cannot be shot, outlives the end of a game
// (the shell removes it).
class TMarcoCSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TMarcoCSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// ---- phase 1's star and the five-speed ring bullets ----

// The star: flies by its Angle (0, 64 or 128) and bursts into 48 ring bullets.
class TMarcoAShotASprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TMarcoAShotASprite(TSprite* Parent, double AX, double AY, int32_t Direction);
    void Step(int32_t MoveCount) override;
};

// Per-frame steps of a ring bullet: straight S, the 22.5° ones (p, q), the diagonal d.
struct TRingSpeeds {
    double S, p, q, d;
};

// A ring bullet moves by the step its Angle (a multiple of 16) selects; up is 0, left 64.
class TMarcoRingShotSprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TMarcoRingShotSprite(TSprite* Parent, const char* Picture, const TRingSpeeds& Speeds, double AX,
                         double AY, int32_t Direction);
    void Step(int32_t MoveCount) override;

    // The step for a direction; (0, 0) for an Angle outside the table.
    static void StepFor(const TRingSpeeds& Speeds, int32_t Angle, double& DX, double& DY);

private:
    const TRingSpeeds& Speeds_;
};

class TMarcoAShotBSprite : public TMarcoRingShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr TRingSpeeds Speeds{5, 2, 4.2, 3.2};
    TMarcoAShotBSprite(TSprite* Parent, double AX, double AY, int32_t Direction);
};
class TMarcoAShotCSprite : public TMarcoRingShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr TRingSpeeds Speeds{4, 1.6, 3.36, 2.52};
    TMarcoAShotCSprite(TSprite* Parent, double AX, double AY, int32_t Direction);
};
class TMarcoAShotDSprite : public TMarcoRingShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr TRingSpeeds Speeds{3, 1.2, 2.52, 1.92};
    TMarcoAShotDSprite(TSprite* Parent, double AX, double AY, int32_t Direction);
};
class TMarcoAShotESprite : public TMarcoRingShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr TRingSpeeds Speeds{2, 0.8, 1.68, 1.26};
    TMarcoAShotESprite(TSprite* Parent, double AX, double AY, int32_t Direction);
};
class TMarcoAShotFSprite : public TMarcoRingShotSprite {
public:
    KV_SPRITE_COPY
    static constexpr TRingSpeeds Speeds{1, 0.4, 0.84, 0.63};
    TMarcoAShotFSprite(TSprite* Parent, double AX, double AY, int32_t Direction);
};

// ---- straight bullets only Marco fires ----

// What a side bullet turns into: aimed at 200 pixels above (E) or below (F) the hit box.
class TMarcoCShotESprite : public TMarcoStraightShotSprite {
public:
    KV_SPRITE_COPY
    TMarcoCShotESprite(TSprite* Parent, double AX, double AY);
};
class TMarcoCShotFSprite : public TMarcoStraightShotSprite {
public:
    KV_SPRITE_COPY
    TMarcoCShotFSprite(TSprite* Parent, double AX, double AY);
};

// A ring bullet of phase 3, its Direction in whole radians.
class TMarcoCShotGSprite : public TMarcoStraightShotSprite {
public:
    KV_SPRITE_COPY
    TMarcoCShotGSprite(TSprite* Parent, int32_t ADirection);
};

// ---- phase 3's side bullet ----

// Runs sideways from the phase (Angle 48, 80, 176 or 208) and, near the edge, turns into an
// aimed bullet.
class TMarcoCShotDSprite : public TTamaSprite {
public:
    KV_SPRITE_COPY
    TMarcoCShotDSprite(TSprite* Parent, int32_t Direction);
    void Step(int32_t MoveCount) override;

private:
    double TurnX_ = 0, TurnY_ = 0;  // where the aimed bullet starts
};

}  // namespace kv
