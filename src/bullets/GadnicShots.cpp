#include "bullets/GadnicShots.h"

namespace kv {

TGadnicShotASprite::TGadnicShotASprite(TSprite* Parent, double X, double Y, double Direction)
    : TStraightTamaSprite(Parent, "Bullet1", Speed, X, Y, Direction) {}

TGadnicShotBSprite::TGadnicShotBSprite(TSprite* Parent, double X, double Y, double Direction)
    : TStraightTamaSprite(Parent, "Bullet2", Speed, X, Y, Direction) {}

TGadnicShotCSprite::TGadnicShotCSprite(TSprite* Parent, double X, double Y, double Direction)
    : TStraightTamaSprite(Parent, "Bullet3", Speed, X, Y, Direction) {}

}  // namespace kv
