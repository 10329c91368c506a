#include "player/Ship.h"

#include "player/Barrier.h"
#include "player/Shots.h"
#include "shell/GameSprite.h"

namespace kv {

TZikiSprite::TZikiSprite(TSprite* Parent) : TImageSpriteEx(Parent) {
    SetupImage(this, "Ziki");
    X = 135.0;
    Y = 430.0;
    Angle = 128;  // the picture is drawn nose down
}

void TZikiSprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    TForm1& F = FormOf(this);
    TDXInput& input = F.DXInput1;
    const bool slow = input.Has(isButton3);

    // Only the picture changes with the mode; the size stays that of "Ziki".
    Image = F.Picture(slow ? "ShadowZiki" : "Ziki");
    const double speed = slow ? 2.0 : 5.0;

    if (F.MutekiMode) {
        F.MutekiCount -= 1;
        Alpha = 128;
        if (F.MutekiCount == 0) {
            F.MutekiMode = false;
            Alpha = 255;
        }
    }

    if (input.Has(isUp)) Y -= speed;
    if (input.Has(isDown)) Y += speed;
    if (input.Has(isLeft)) X -= speed;
    if (input.Has(isRight)) X += speed;

    // The cadence counter stands still while the key is up and is never reset otherwise.
    if (input.Has(isButton1)) {
        const int32_t c = F.ShotCount;
        F.ShotCount = c + 1;
        if (c == 0) {
            if (slow) {
                for (int32_t i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) new TShotBSprite(F.SpriteEngine(), i);
            } else {
                for (int32_t i : {0, 6, 11, 13, 18, 24}) new TShotASprite(F.SpriteEngine(), i);
            }
        } else if (c == 9) {
            F.ShotCount = 0;
        }
    }

    if (input.Has(isButton2) && !F.BombActive && F.Bomb > 0) {
        F.BombActive = true;
        F.Bomb -= 1;
        new TRedKekkaiSprite(F.SpriteEngine());
        new TBlueKekkaiSprite(F.SpriteEngine());
        // One bomb per press: the rest of this frame sees the key as released.
        input.StateSet.reset(isButton2);
    }

    if (X < 0) X = 0;
    if (Y < 0) Y = 0;
    const TImageSpriteEx* ship = F.ZikiSprite ? F.ZikiSprite.Get() : this;
    const double w = TForm1::ClientWidth - ship->Width;
    if (X > w) X = w;
    const double h = TForm1::ClientHeight - ship->Height;
    if (Y > h) Y = h;
}

}  // namespace kv
