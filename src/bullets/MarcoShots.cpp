#include "bullets/MarcoShots.h"

#include <cmath>

#include "shell/GameSprite.h"

namespace kv {

void TMarcoStraightShotSprite::AimAtHitBox(double DX, double DY, double Speed) {
    const TForm1& F = FormOf(this);
    const double t = std::atan2(F.HanteiY() + DY - Y, F.HanteiX() + DX - X);
    VX = std::cos(t) * Speed;
    VY = std::sin(t) * Speed;
}

TMarcoCShotASprite::TMarcoCShotASprite(TSprite* P, double AX, double AY) : TMarcoStraightShotSprite(P, "BigBullet1", -30) {
    X = AX;
    Y = AY;
    AimAtHitBox(-10, -10, 5);
}
TMarcoCShotBSprite::TMarcoCShotBSprite(TSprite* P, double AX, double AY) : TMarcoStraightShotSprite(P, "BigBullet2", -30) {
    X = AX;
    Y = AY;
    AimAtHitBox(-10, -10, 4);
}
TMarcoCShotCSprite::TMarcoCShotCSprite(TSprite* P, double AX, double AY) : TMarcoStraightShotSprite(P, "BigBullet3", -30) {
    X = AX;
    Y = AY;
    AimAtHitBox(-10, -10, 3);
}

}  // namespace kv
