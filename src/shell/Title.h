#pragma once
#include "engine/ImageSprite.h"

namespace kv {

// The title picture behind the menu; it leaves once a game has turned the HUD on.
class TTitleSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TTitleSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

}  // namespace kv
