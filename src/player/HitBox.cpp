#include "player/HitBox.h"

#include "enemies/Bases.h"
#include "enemies/ZakoA.h"
#include "player/Items.h"
#include "player/Score.h"
#include "shell/GameSprite.h"
#include "stages/EndScreens.h"

namespace kv {

std::vector<THitBoxRule>& HitBoxRules() {
    static std::vector<THitBoxRule> rules;
    return rules;
}

TZikiHanteiSprite::TZikiHanteiSprite(TSprite* Parent) : TImageSpriteEx(Parent) {
    SetupImage(this, "SmallBullet3");
    const TForm1& F = FormOf(this);
    X = F.ZikiX() + 21;
    Y = F.ZikiY();
    PixelExact = true;
}

void TZikiHanteiSprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    TForm1& F = FormOf(this);
    // Invincible or under a barrier: nothing hits, nothing is collected.
    if (!F.MutekiMode && !F.BombActive) Collide();
    // Following after the test: each test uses the ship's position of the frame before.
    X = F.ZikiX() + 21;
    Y = F.ZikiY();
}

// Several rules may apply to one sprite; each that applies runs in full.
void TZikiHanteiSprite::OnHit(TSprite* Other, bool&) {
    TForm1& F = FormOf(this);
    if (IsA<THPItemSprite>(Other)) {
        Other->Kill();
        F.HP += 1;
    }
    if (IsA<TBombItemSprite>(Other)) {
        Other->Kill();
        F.Bomb += 1;
    }
    if (F.Invincible) return;
    if (int32_t* count = ZakoACounterOf(F, Other)) {
        F.PlaySound("ZikiHit");
        Other->Kill();
        AddScore(F, 20);
        *count = 0;
        LoseHP();
    }
    if (IsA<TBossSprite>(Other)) BossContact(Other);
    for (THitBoxRule rule : HitBoxRules())
        if (rule(*this, Other)) return;
    if (IsA<TEnemySprite>(Other) || IsA<TTamaSprite>(Other)) {
        F.PlaySound("ZikiHit");
        Other->Kill();
        LoseHP();
    }
}

void TZikiHanteiSprite::LoseHP() {
    TForm1& F = FormOf(this);
    F.HP -= 1;
    F.MutekiModein();
    if (F.HP < 1) GameOver();
}

void TZikiHanteiSprite::GameOver() {
    TForm1& F = FormOf(this);
    if (!F.Playing) return;
    F.BossNameCheck();
    F.PlaySound("Dead");
    Kill();
    if (F.ZikiSprite) F.ZikiSprite->Kill();
    F.Playing = false;
    new TGameOverSprite(F.SpriteEngine());
    F.TaikyuuReset();
    F.BSReset();
}

// Touching a boss ends the game whatever the HP; the phase itself is not removed by name.
void TZikiHanteiSprite::BossContact(TSprite* Boss) {
    TForm1& F = FormOf(this);
    if (!F.Playing) return;
    F.PlaySound("Dead");
    Kill();
    Boss->Kill();
    if (F.ZikiSprite) F.ZikiSprite->Kill();
    F.Playing = false;
    new TGameOverSprite(F.SpriteEngine());
    F.TaikyuuReset();
    F.BSReset();
}

}  // namespace kv
