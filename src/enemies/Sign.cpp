#include "enemies/Sign.h"

#include <cmath>

#include "bullets/MarcoShots.h"
#include "shell/GameSprite.h"

namespace kv {

namespace {

// One bullet of class T for each direction First, First + Step, …, Last, all from (X, Y).
template <class T>
void Ring(TSprite* Engine, double X, double Y, int32_t First, int32_t Step, int32_t Last) {
    for (int32_t d = First; d <= Last; d += Step) new T(Engine, X, Y, d);
}

}  // namespace

TSignASprite::TSignASprite(TSprite* Parent, double AX, double AY, int32_t AMode) : TImageSpriteEx(Parent) {
    SetupImage(this, "Sign");
    X = AX;
    Y = AY;
    Mode = AMode;
    Alpha = 0;
}

void TSignASprite::Step(int32_t MoveCount) {
    TImageSprite::Step(MoveCount);  // not an enemy: no end-of-game test
    Alpha = Alpha + 3;
    Angle = Angle + 7;
    if (Alpha == 255) {
        BurstX = X;
        BurstY = Y;
        Burst();
        Kill();
    }
}

void TSignASprite::Burst() {
    TSprite* e = FormOf(this).SpriteEngine();
    const double rx = BurstX + 15, ry = BurstY + 15;
    switch (Mode) {
        case 0:
            new TMarcoCShotASprite(e, BurstX + 10, BurstY + 10);
            new TMarcoCShotBSprite(e, BurstX + 10, BurstY + 10);
            new TMarcoCShotCSprite(e, BurstX + 10, BurstY + 10);
            break;
        case 1: Ring<TSignShotASprite>(e, rx, ry, 0, 6, 126); break;
        case 2:
            Ring<TSignShotASprite>(e, rx, ry, 0, 6, 126);
            Ring<TSignShotBSprite>(e, rx, ry, 0, 6, 126);
            Ring<TSignShotCSprite>(e, rx, ry, 0, 6, 126);
            break;
        case 3:
            Ring<TSignShotASprite>(e, rx, ry, 0, 1, 44);
            Ring<TSignShotBSprite>(e, rx, ry, 0, 1, 44);
            Ring<TSignShotCSprite>(e, rx, ry, 0, 1, 44);
            Ring<TSignShotDSprite>(e, rx, ry, 0, 1, 44);
            Ring<TSignShotESprite>(e, rx, ry, 0, 1, 44);
            break;
        default: break;  // an unknown mode fires nothing
    }
}

TSignShotASprite::TSignShotASprite(TSprite* P, double AX, double AY, int32_t D)
    : TSignShotSprite(P, "Bullet1", Speed, AX, AY, D) {}
TSignShotBSprite::TSignShotBSprite(TSprite* P, double AX, double AY, int32_t D)
    : TSignShotSprite(P, "Bullet2", Speed, AX, AY, D) {}
TSignShotCSprite::TSignShotCSprite(TSprite* P, double AX, double AY, int32_t D)
    : TSignShotSprite(P, "Bullet3", Speed, AX, AY, D) {}
TSignShotDSprite::TSignShotDSprite(TSprite* P, double AX, double AY, int32_t D)
    : TSignShotSprite(P, "Bullet4", Speed, AX, AY, D) {}
TSignShotESprite::TSignShotESprite(TSprite* P, double AX, double AY, int32_t D)
    : TSignShotSprite(P, "Bullet5", Speed, AX, AY, D) {}

}  // namespace kv
