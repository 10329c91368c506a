#include "enemies/Bases.h"

namespace kv {

void TEnemySprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    if (!FormOf(this).Playing) Kill();
}

void TTamaSprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    if (!FormOf(this).Playing) Kill();
}

}  // namespace kv
