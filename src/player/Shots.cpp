#include "player/Shots.h"

#include "player/HitReactions.h"
#include "shell/GameSprite.h"

namespace kv {

namespace {

constexpr TShotMove kShotA[] = {
    {116, -3, -8.75}, {122, -1.5, -10}, {127, -0.5, -12.5},
    {129, 0.5, -12.5}, {134, 1.5, -10}, {140, 3, -8.75},
};
constexpr TShotMove kShotB[] = {
    {123, -1.4, -13}, {124, -1.2, -14}, {125, -1.0, -15}, {127, -0.4, -17}, {128, 0, -20},
    {129, 0.4, -17},  {131, 1.0, -15},  {132, 1.2, -14},  {133, 1.4, -13},
};

// Shots start at the ship's nose.
void PlaceShot(TImageSpriteEx* S, const char* Picture, int32_t Angle) {
    SetupImage(S, Picture);
    const TForm1& F = FormOf(S);
    S->X = F.ZikiX() + 20;
    S->Y = F.ZikiY() - 15;
    S->Angle = Angle;
}

}  // namespace

void TShotsSprite::OnHit(TSprite* Other, bool&) {
    if (!IsA<TEnemySprite>(Other)) return;
    auto* enemy = static_cast<TEnemySprite*>(Other);
    TForm1& F = FormOf(this);
    for (const TSmallEnemyRow& row : SmallEnemyRows()) {
        if (!row.Is(enemy)) continue;
        Kill();
        enemy->Life -= 1;
        // Strict: a sprite already past its limit (killed earlier this frame) dies again.
        if (enemy->Life < -row.N) row.OnDeath(F, enemy);
        return;
    }
    for (const TBossPhaseRow& row : BossPhaseRows()) {
        if (!row.Is(enemy)) continue;
        Kill();
        enemy->Life -= 1;
        if (enemy->Life == -row.K) row.OnEnd(F, enemy);
        return;
    }
}

TShotsSprite::TShotsSprite(TSprite* Parent) : TImageSpriteEx(Parent), Game_(FormOf(this).GameNo) {}

void TShotsSprite::StepWith(int32_t MoveCount, std::span<const TShotMove> Table) {
    TImageSpriteEx::Step(MoveCount);
    // The ship fires on through a game's ending, and its last volley may still fly when the
    // next game begins at once: it hits nothing there.
    if (FormOf(this).GameNo != Game_) {
        Kill();
        return;
    }
    Collide();
    for (const TShotMove& m : Table) {
        if (m.Angle != Angle) continue;
        X += m.DX;
        Y += m.DY;
        break;
    }
    if (!(Y >= -35)) Kill();
}

TShotASprite::TShotASprite(TSprite* Parent, int32_t SpreadIndex) : TShotsSprite(Parent) {
    PlaceShot(this, "Fire1", 116 + SpreadIndex);
}

void TShotASprite::Step(int32_t MoveCount) { StepWith(MoveCount, kShotA); }

TShotBSprite::TShotBSprite(TSprite* Parent, int32_t SpreadIndex) : TShotsSprite(Parent) {
    PlaceShot(this, "Fire2", 123 + SpreadIndex);
}

void TShotBSprite::Step(int32_t MoveCount) { StepWith(MoveCount, kShotB); }

}  // namespace kv
