#pragma once
// The player's shots. Angle both turns the picture and picks the row of the shot's table.
#include <cstdint>
#include <span>

#include "engine/ImageSprite.h"

namespace kv {

// One row of a shot table: the movement per frame of the shot whose Angle it is.
struct TShotMove {
    int32_t Angle;
    double DX, DY;
};

class TShotsSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TShotsSprite(TSprite* Parent);
    // The hit reaction of src/player/HitReactions.h.
    void OnHit(TSprite* Other, bool& Done) override;

protected:
    // Test against the scene, move by the row for Angle (none: stand still), leave above the top.
    void StepWith(int32_t MoveCount, std::span<const TShotMove> Table);

private:
    int32_t Game_;  // the game it was fired in (GameNo)
};

// Normal volley: SpreadIndex 0, 6, 11, 13, 18, 24 around Angle 116.
class TShotASprite : public TShotsSprite {
public:
    KV_SPRITE_COPY
    TShotASprite(TSprite* Parent, int32_t SpreadIndex);
    void Step(int32_t MoveCount) override;
};

// Slow volley: SpreadIndex 0, 1, 2, 4, 5, 6, 8, 9, 10 around Angle 123, narrower and faster.
class TShotBSprite : public TShotsSprite {
public:
    KV_SPRITE_COPY
    TShotBSprite(TSprite* Parent, int32_t SpreadIndex);
    void Step(int32_t MoveCount) override;
};

}  // namespace kv
