#include "bullets/Bases.h"

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

TStraightTamaSprite::TStraightTamaSprite(TSprite* Parent, const std::string& Picture, double Limit)
    : TTamaSprite(Parent), Limit_(Limit) {
    SetupImage(this, Picture);
}

TStraightTamaSprite::TStraightTamaSprite(TSprite* Parent, const std::string& Picture, double Speed, double AX,
                                         double AY, double ADirection, double Limit)
    : TStraightTamaSprite(Parent, Picture, Limit) {
    X = AX;
    Y = AY;
    SetCourse(ADirection, Speed);
}

void TStraightTamaSprite::SetCourse(double ADirection, double Speed) {
    Direction = ADirection;
    VX = std::cos(Direction) * Speed;
    VY = std::sin(Direction) * Speed;
}

void TStraightTamaSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    X = X + VX;
    Y = Y + VY;
    if (X < Limit_ || Y < Limit_ || X > 320 || Y > 480) Kill();
}

void TakePlace(TSprite* Self, const TSpriteRef<TSprite>& Before, double FallbackX, double FallbackY) {
    if (const TSprite* b = Before.Get()) {
        Self->X = b->X;
        Self->Y = b->Y;
    } else {
        Self->X = FallbackX;
        Self->Y = FallbackY;
    }
}

}  // namespace kv
