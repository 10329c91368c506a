#include "enemies/Bases.h"

#include <cmath>

#include "shell/GameSprite.h"

namespace kv {

void TEnemySprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    if (!FormOf(this).Playing) Kill();
}

void TTamaSprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    if (!FormOf(this).Playing) Kill();
}

TStraightTamaSprite::TStraightTamaSprite(TSprite* Parent, const char* Picture, double Speed, double AX, double AY,
                                         double ADirection)
    : TTamaSprite(Parent) {
    SetupImage(this, Picture);
    X = AX;
    Y = AY;
    Direction = ADirection;
    VX = std::cos(Direction) * Speed;
    VY = std::sin(Direction) * Speed;
}

void TStraightTamaSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    X = X + VX;
    Y = Y + VY;
    if (X < -20 || Y < -20 || X > 320 || Y > 480) Kill();
}

}  // namespace kv
