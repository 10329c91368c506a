#pragma once
// The bomb barrier: two rings over the hit box that erase enemy bullets while the bomb lasts.
#include <cstdint>

#include "engine/ImageSprite.h"

namespace kv {

class TKekkaiSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    using TImageSpriteEx::TImageSpriteEx;
    void Step(int32_t MoveCount) override;
    void OnHit(TSprite* Other, bool& Done) override;

protected:
    void FollowHitBox();
    // Set by the red barrier on the step that ends its bomb: it must not outlive that bomb,
    // even when the next bomb raises BombActive again before its next step.
    bool BombOver = false;
};

// Turns one way and counts the bomb's 150 frames in KekkaiCount.
class TRedKekkaiSprite : public TKekkaiSprite {
public:
    KV_SPRITE_COPY
    explicit TRedKekkaiSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Turns the other way.
class TBlueKekkaiSprite : public TKekkaiSprite {
public:
    KV_SPRITE_COPY
    explicit TBlueKekkaiSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

}  // namespace kv
