#include "bosses/DagarShots.h"

#include <cmath>
#include <string>

#include "shell/GameSprite.h"

namespace kv {

namespace {

// "高彩小弾1" … for classes A, B, C and E; "高彩弾1" … for class D.
std::string SmallPicture(int32_t Number) { return "高彩小弾" + std::to_string(Number); }
std::string LargePicture(int32_t Number) { return "高彩弾" + std::to_string(Number); }

bool OutAB(double X, double Y) { return X < -30 || X > 320 || Y < -30 || Y > 480; }
bool OutCDE(double X, double Y) { return X < -20 || Y < -20 || X > 320 || Y > 480; }

}  // namespace

// ---- A: out, halt, back ----

TDagarShotASprite::TDagarShotASprite(TSprite* Parent, double AX, double AY, double ADirection, double ASpeed,
                                     int32_t Number)
    : TTamaSprite(Parent) {
    SetupImage(this, SmallPicture(Number));
    X = AX;
    Y = AY;
    Direction = ADirection;
    Speed = ASpeed;
    Age = 0;
    VX = Speed * std::cos(Direction);
    VY = Speed * std::sin(Direction);
}

void TDagarShotASprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    Age = Age + 1;
    // (4.1 − Speed) × 15 and (4.2 − Speed) × 30, taken in tenths so that the products come out
    // as their exact decimal values (81, not 81.000…01, for Speed 1.5).
    const double outUntil = (41.0 - 10.0 * Speed) * 1.5;
    const double backFrom = (42.0 - 10.0 * Speed) * 3.0;
    if (Age < outUntil) {
        X = X + VX;
        Y = Y + VY;
    }
    if (Age >= backFrom) {
        X = X - VX;
        Y = Y - VY;
    }
    if (OutAB(X, Y)) Kill();
}

// ---- B: sweep, rebound, home ----

TDagarShotBSprite::TDagarShotBSprite(TSprite* Parent, double AX, double AY, double ADX, double ADY, double AAimX,
                                     double AAimY, double ASpeed, int32_t Number)
    : TTamaSprite(Parent) {
    SetupImage(this, SmallPicture(Number));
    X = AX;
    Y = AY;
    DX = ADX;
    DY = ADY;
    AimX = AAimX;
    AimY = AAimY;
    Speed = ASpeed;
    Bounced = false;
}

void TDagarShotBSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    if (!Bounced) {
        X = X + DX * Speed;
        Y = Y + DY * Speed;
        if (X < 0 || X > 310) {
            if (X < 0) X = 0;
            if (X > 310) X = 310;
            Bounced = true;
            TForm1& F = FormOf(this);
            const double a = std::atan2(F.HanteiY() + AimY - Y, F.HanteiX() + AimX - X);
            AimX = std::cos(a) * Speed;
            AimY = std::sin(a) * Speed;
        }
    }
    if (Bounced) {  // also on the step of the rebound
        X = X + AimX * Speed;
        Y = Y + AimY * Speed;
    }
    if (OutAB(X, Y)) Kill();
}

// ---- C: straight ----

TDagarShotCSprite::TDagarShotCSprite(TSprite* Parent, double AX, double AY, double ADirection, double Speed,
                                     int32_t Number)
    : TStraightTamaSprite(Parent, SmallPicture(Number), Speed, AX, AY, ADirection) {}

// ---- D: out, halt, re-aim ----

TDagarShotDSprite::TDagarShotDSprite(TSprite* Parent, double AX, double AY, double ADirection, double ASpeed,
                                     int32_t Number)
    : TTamaSprite(Parent) {
    SetupImage(this, LargePicture(Number));
    X = AX;
    Y = AY;
    Direction = ADirection;
    Speed = ASpeed;
    VX = Speed * std::cos(Direction);
    VY = Speed * std::sin(Direction);
}

void TDagarShotDSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    Age = Age + 1;
    if (Age <= 60 || Age >= 150) {
        if (Age == 150) {
            // Aim 5 pixels up and left of the hit box, without moving on this step.
            TForm1& F = FormOf(this);
            const double b = std::atan2(F.HanteiY() - 5 - Y, F.HanteiX() - 5 - X);
            VX = std::cos(b) * Speed;
            VY = std::sin(b) * Speed;
        } else {
            X = X + VX;
            Y = Y + VY;
        }
    }
    if (OutCDE(X, Y)) Kill();
}

// ---- E: wait on the circle, then converge ----

TDagarShotESprite::TDagarShotESprite(TSprite* Parent, double CX, double CY, double ARadius, double ADirection,
                                     double ASpeed, int32_t Number)
    : TTamaSprite(Parent) {
    SetupImage(this, SmallPicture(Number));
    Direction = ADirection;
    Radius = ARadius;
    Speed = ASpeed;
    X = std::cos(Direction) * Radius + CX;
    Y = std::sin(Direction) * Radius + CY;
    VX = -Speed * std::cos(Direction);
    VY = -Speed * std::sin(Direction);
}

void TDagarShotESprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    Age = Age + 1;
    if (Age > 80) {
        X = X + VX;
        Y = Y + VY;
    }
    if (OutCDE(X, Y)) Kill();
}

}  // namespace kv
