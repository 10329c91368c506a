#include "enemies/ZakoGH.h"

#include <cmath>

#include "shell/GameSprite.h"

namespace kv {

TZakoHSprite::TZakoHSprite(TSprite* Parent, double AX) : TEnemySprite(Parent) {
    SetupImage(this, "32Star1");
    X = AX;
    Y = -32;
}

void TZakoHSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    Y = Y + 4;
    if (Y != 80) return;  // a craft off the 4-pixel grid never hands over
    TSprite* e = FormOf(this).SpriteEngine();
    if (X == TZakoGASprite::ColumnX) new TZakoGASprite(e);
    else if (X == TZakoGBSprite::ColumnX) new TZakoGBSprite(e);
    else if (X == TZakoGCSprite::ColumnX) new TZakoGCSprite(e);
    else if (X == TZakoGDSprite::ColumnX) new TZakoGDSprite(e);
    else if (X == TZakoGESprite::ColumnX) new TZakoGESprite(e);
    else if (X == TZakoGFSprite::ColumnX) new TZakoGFSprite(e);
    else if (X == TZakoGGSprite::ColumnX) new TZakoGGSprite(e);
    else if (X == TZakoGHSprite::ColumnX) new TZakoGHSprite(e);
    else if (X == TZakoGISprite::ColumnX) new TZakoGISprite(e);
    else if (X == TZakoGJSprite::ColumnX) new TZakoGJSprite(e);
    Kill();
}

TZakoGDiverSprite::TZakoGDiverSprite(TSprite* Parent, int32_t Column, TClassDive ClassDive)
    : TZakoGSprite(Parent), ClassDive_(ClassDive) {
    SetupImage(this, "32Star1");
    X = Column;
    Y = 80;
    const TForm1& F = FormOf(this);
    const double t = std::atan2(F.HanteiY() - 11 - Y, F.HanteiX() - 11 - X);
    Dive().DiveVX = std::cos(t) * 4;
    Dive().DiveVY = std::sin(t) * 4;
}

void TZakoGDiverSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    X = X + Dive().DiveVX;
    Y = Y + Dive().DiveVY;
    if (Y > 480) Kill();  // only the bottom: a diver aimed upward stays until the game ends
}

}  // namespace kv
