#include "player/Items.h"

#include <cmath>

#include "shell/GameSprite.h"
#include "shell/Rows.h"

namespace kv {

namespace {

void MakeItem(TForm1& Form, TItemKind Kind, double X, double Y) {
    if (Kind == TItemKind::HP)
        new THPItemSprite(Form.SpriteEngine(), X, Y);
    else
        new TBombItemSprite(Form.SpriteEngine(), X, Y);
}

// Bosses and the endurance countdown drop items through CreateItem.
const bool itemFactorySet = (ItemFactory() = MakeItem, true);

}  // namespace

TItemsSprite::TItemsSprite(TSprite* Parent, const char* Picture, double X, double Y) : TImageSpriteEx(Parent) {
    SetupImage(this, Picture);
    this->X = X;
    this->Y = Y;
}

void TItemsSprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    if (!FormOf(this).Playing) Kill();
}

void TItemsSprite::HomeIn() {
    const TForm1& F = FormOf(this);
    const double a = std::atan2(F.HanteiY() - 5 - Y, F.HanteiX() - X);
    VX = std::cos(a) * 7;
    VY = std::sin(a) * 7;
    Y += VY;
    X += VX;
    if (Y > 480) Kill();
}

THPItemSprite::THPItemSprite(TSprite* Parent, double X, double Y) : TItemsSprite(Parent, "HPItem", X, Y) {}

void THPItemSprite::Step(int32_t MoveCount) {
    TItemsSprite::Step(MoveCount);
    if (!FormOf(this).Playing) return;  // the hit box it would aim at may be gone
    HomeIn();
}

TBombItemSprite::TBombItemSprite(TSprite* Parent, double X, double Y) : TItemsSprite(Parent, "BombItem", X, Y) {}

void TBombItemSprite::Step(int32_t MoveCount) {
    TItemsSprite::Step(MoveCount);
    if (!FormOf(this).Playing) return;
    HomeIn();
}

}  // namespace kv
