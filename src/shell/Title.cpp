#include "shell/Title.h"

#include "shell/Form1.h"

namespace kv {

TTitleSprite::TTitleSprite(TSprite* Parent) : TImageSpriteEx(Parent) {
    SetImage(this, FormOf(this).Picture("Title"));
    X = 0;
    Y = 0;
}

// No animation: the title only waits for a game to begin.
void TTitleSprite::Step(int32_t) {
    if (FormOf(this).HudOn) Kill();
}

}  // namespace kv
