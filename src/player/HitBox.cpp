#include "player/HitBox.h"

#include "bullets/Bases.h"
#include "bullets/Laser.h"
#include "player/Items.h"
#include "player/Score.h"
#include "shell/EndScreens.h"
#include "shell/GameSprite.h"

namespace kv {

std::vector<THitBoxRule>& HitBoxRules() {
    static std::vector<THitBoxRule> rules;
    return rules;
}

std::vector<THitBoxTouch>& HitBoxTouches() {
    static std::vector<THitBoxTouch> touches;
    return touches;
}

namespace {
// A beam costs the player an HP but stays on the field and goes on sweeping; the invincibility
// that follows keeps it from costing more than one HP per period.
const THitBoxRuleRegistrar kLaserHit{[](TZikiHanteiSprite& Box, TSprite* Other) {
    if (!IsA<TlazerSprite>(Other)) return false;
    FormOf(&Box).PlaySound("ZikiHit");
    Box.LoseHP();
    return true;
}};
}  // namespace

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
    for (THitBoxTouch touch : HitBoxTouches()) touch(*this, Other);
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
