#include "bullets/Laser.h"

#include "shell/Form1.h"
#include "shell/GameSprite.h"

namespace kv {

namespace {
const std::string kVertical = "縦";
const std::string kRight = "左右";
const std::string kLeft = "右左";
const std::string kDiagonalLeft = "斜右左";
const std::string kDiagonalRight = "斜左右";
}  // namespace

void TlazerSprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    if (!FormOf(this).Playing) Kill();
}

TlazerASprite::TlazerASprite(TSprite* Parent, double AX, double AY, const std::string& Colour,
                             const std::string& ACourse)
    : TlazerSprite(Parent) {
    // Another colour word shows nothing.
    if (Colour == "赤") SetupImage(this, "lazer2");
    if (Colour == "青") SetupImage(this, "lazer1");
    X = AX;
    Y = AY;
    Course = ACourse;
    if (Course == kVertical) {
        VX = 0;
        VY = 6;
    } else if (Course == kRight) {
        VX = 6;
        VY = 0;
    } else if (Course == kLeft) {
        VX = -6;
        VY = 0;
    } else if (Course == kDiagonalLeft) {
        VX = -3;
        VY = 6;
    } else if (Course == kDiagonalRight) {
        VX = 3;
        VY = 6;
    }
}

void TlazerASprite::Step(int32_t MoveCount) {
    TlazerSprite::Step(MoveCount);
    X = X + VX;
    Y = Y + VY;
    // The removal follows the stored word, not the velocity.
    if ((Course == kVertical || Course == kDiagonalRight || Course == kDiagonalLeft) && Y > 480) Kill();
    if (Course == kRight && X > 320) Kill();
    if (Course == kLeft && X < -480) Kill();
}

}  // namespace kv
