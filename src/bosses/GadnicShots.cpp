#include "bosses/GadnicShots.h"

#include <cmath>

#include "shell/GameSprite.h"

namespace kv {

namespace {

template <class T>
void Launch(T* Shot, const char* Picture, double X, double Y, double Direction, double Speed) {
    SetupImage(Shot, Picture);
    Shot->X = X;
    Shot->Y = Y;
    Shot->Direction = Direction;
    Shot->VX = std::cos(Direction) * Speed;
    Shot->VY = std::sin(Direction) * Speed;
}

// Moves, then leaves once past the playfield's margin (so a shot made outside moves once).
template <class T>
void Fly(T* Shot) {
    Shot->X += Shot->VX;
    Shot->Y += Shot->VY;
    if (Shot->X < -20 || Shot->Y < -20 || Shot->X > 320 || Shot->Y > 480) Shot->Kill();
}

}  // namespace

TGadnicShotASprite::TGadnicShotASprite(TSprite* Parent, double X, double Y, double Direction) : TTamaSprite(Parent) {
    Launch(this, "Bullet1", X, Y, Direction, 6);
}

void TGadnicShotASprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    Fly(this);
}

TGadnicShotBSprite::TGadnicShotBSprite(TSprite* Parent, double X, double Y, double Direction) : TTamaSprite(Parent) {
    Launch(this, "Bullet2", X, Y, Direction, 5);
}

void TGadnicShotBSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    Fly(this);
}

TGadnicShotCSprite::TGadnicShotCSprite(TSprite* Parent, double X, double Y, double Direction) : TTamaSprite(Parent) {
    Launch(this, "Bullet3", X, Y, Direction, 4);
}

void TGadnicShotCSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    Fly(this);
}

}  // namespace kv
