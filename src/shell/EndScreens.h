#pragma once
// The pictures that end a game: they slide in, hold, then hand over to the name entry or the menu.
#include <cstdint>

#include "engine/ImageSprite.h"

namespace kv {

// The part both screens share: a screen still up when the menu returns, or when another game
// has begun, removes itself.
class TMessageSprite : public TImageSpriteEx {
public:
    KV_SPRITE_COPY
    explicit TMessageSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
    int32_t Game = 0;  // the game it ends (GameNo)

protected:
    bool LaterGameBegun() const;
};

class TGameOverSprite : public TMessageSprite {
public:
    KV_SPRITE_COPY
    explicit TGameOverSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

// Ends the game (Playing := false) and unlocks the Extra Stage when it acts.
class TGameClearSprite : public TMessageSprite {
public:
    KV_SPRITE_COPY
    explicit TGameClearSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;
};

}  // namespace kv
