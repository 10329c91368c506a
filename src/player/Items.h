#pragma once
// Items dropped by bosses: they home in on the hit box, which collects them.
#include <cstdint>

#include "engine/ImageSprite.h"

namespace kv {

class TItemsSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    TItemsSprite(TSprite* Parent, const char* Picture, double X, double Y);
    void Step(int32_t MoveCount) override;  // removes the item once no game is running
    double VX = 0, VY = 0;                  // recomputed every frame

protected:
    // Fly at 7 pixels a frame toward the point 5 pixels above the hit box's corner.
    void HomeIn();
};

class THPItemSprite : public TItemsSprite {
public:
    KV_SPRITE_COPY
    THPItemSprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
};

class TBombItemSprite : public TItemsSprite {
public:
    KV_SPRITE_COPY
    TBombItemSprite(TSprite* Parent, double X, double Y);
    void Step(int32_t MoveCount) override;
};

}  // namespace kv
