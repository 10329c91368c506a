#include "player/Barrier.h"

#include "bullets/Bases.h"
#include "player/Score.h"
#include "shell/GameSprite.h"

namespace kv {

void TKekkaiSprite::FollowHitBox() {
    const TForm1& F = FormOf(this);
    X = F.HanteiX() - 55;
    Y = F.HanteiY() - 55;
}

void TKekkaiSprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    Collide();
    TForm1& F = FormOf(this);
    if (!F.BombActive || BombOver) Kill();
    if (!F.Playing) {
        // The bomb ends with the game, so it never carries into the next one.
        F.BombActive = false;
        F.KekkaiCount = 0;
        Kill();
    }
    FollowHitBox();
}

void TKekkaiSprite::OnHit(TSprite* Other, bool&) {
    if (!IsA<TTamaSprite>(Other)) return;
    Other->Kill();
    AddScore(FormOf(this), 1);
}

TRedKekkaiSprite::TRedKekkaiSprite(TSprite* Parent) : TKekkaiSprite(Parent) {
    SetupImage(this, "Kekkai1");
    FollowHitBox();
}

void TRedKekkaiSprite::Step(int32_t MoveCount) {
    TKekkaiSprite::Step(MoveCount);
    // A barrier on its way out no longer counts: the next bomb starts from 0 and lasts 150 frames.
    if (Killed) return;
    Angle -= 2;
    TForm1& F = FormOf(this);
    F.KekkaiCount += 1;
    if (F.KekkaiCount == 150) {
        F.BombActive = false;
        F.KekkaiCount = 0;
        BombOver = true;
    }
}

TBlueKekkaiSprite::TBlueKekkaiSprite(TSprite* Parent) : TKekkaiSprite(Parent) {
    SetupImage(this, "Kekkai2");
    FollowHitBox();
}

void TBlueKekkaiSprite::Step(int32_t MoveCount) {
    TKekkaiSprite::Step(MoveCount);
    Angle += 2;
}

}  // namespace kv
