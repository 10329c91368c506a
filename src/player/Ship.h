#pragma once
// The player's ship: steering, slow mode, volleys, the bomb and the invincibility display.
// It never tests for hits; its hit box (HitBox.h) does.
#include <cstdint>

#include "engine/ImageSprite.h"

namespace kv {

class TZikiSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TZikiSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

}  // namespace kv
