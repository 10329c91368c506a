#pragma once
// Lasers: long beams that sweep across the playfield. They are neither enemies nor bullets:
// shots pass through them, and touching one costs the player an HP without removing the beam.
#include <cstdint>
#include <string>

#include "engine/ImageSprite.h"

namespace kv {

// The type the player's hit box tests for.
class TlazerSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TlazerSprite(TSprite* Parent) : TImageSpriteEx(Parent) {}
    void Step(int32_t MoveCount) override;  // removes itself once no game is running
};

// Colour "赤" shows the red horizontal beam "lazer2", "青" the blue vertical beam "lazer1".
// Course: "縦" falls, "左右" slides right, "右左" slides left, "斜右左" / "斜左右" fall diagonally;
// any other word stands still.
class TlazerASprite : public TlazerSprite {
public:
    KV_SPRITE_COPY
    TlazerASprite(TSprite* Parent, double AX, double AY, const std::string& Colour, const std::string& ACourse);
    void Step(int32_t MoveCount) override;

    std::string Course;
    double VX = 0, VY = 0;
};

}  // namespace kv
