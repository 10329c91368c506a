// The hit box: damage, invincibility after a hit, the game-over sequence and boss contact.
#include <gtest/gtest.h>

#include "player/Play.h"
#include "shell/EndScreens.h"
#include "shell/Rows.h"

using namespace kv;
using kvtest::TWorld;

namespace {

// A boss phase for these tests, and a removal row naming it by its attack.
class TTestBossSprite : public TBossSprite {
public:
    explicit TTestBossSprite(TSprite* Parent) : TBossSprite(Parent) { SetupImage(this, "マルコ"); }
};
const TRemovalRowRegistrar testRemoval{{"試験攻撃", &TForm1::VelusBSprite}};

// A beam that is neither enemy nor bullet, hurting through a registered damage rule.
class TTestBeamSprite : public TImageSpriteEx {
public:
    explicit TTestBeamSprite(TSprite* Parent) : TImageSpriteEx(Parent) { SetupImage(this, "lazer1"); }
};
const THitBoxRuleRegistrar testBeamRule{[](TZikiHanteiSprite& Box, TSprite* Other) {
    if (!IsA<TTestBeamSprite>(Other)) return false;
    FormOf(&Box).PlaySound("ZikiHit");
    Box.LoseHP();
    return true;
}};

// Something at the hit box's position.
template <class T>
T* AtHitBox(TWorld& w, T* S) {
    S->X = w.F().HanteiX() - 4;
    S->Y = w.F().HanteiY() - 4;
    return S;
}

TTestBossSprite* NamedBoss(TWorld& w) {
    auto* boss = new TTestBossSprite(w.E());
    boss->X = 10;
    boss->Y = 10;
    w.F().VelusBSprite = boss;
    w.F().BossName = "試験";
    w.F().AttackName = "試験攻撃";
    w.F().TaikyuuMode = true;
    w.F().TaikyuuCount = 30;
    return boss;
}

void ExpectGameOver(TWorld& w) {
    EXPECT_FALSE(w.F().Playing);
    EXPECT_TRUE(w.All<TZikiSprite>().front()->Killed);
    EXPECT_TRUE(w.All<TZikiHanteiSprite>().front()->Killed);
    EXPECT_EQ(w.CountOf<TGameOverSprite>(), 1);
    EXPECT_EQ(w.F().Log.CountOf("game_over"), 1);
    EXPECT_EQ(w.Audio.CountOf("Dead"), 1);
    EXPECT_TRUE(w.F().BossName.empty());
    EXPECT_TRUE(w.F().AttackName.empty());
    EXPECT_FALSE(w.F().TaikyuuMode);
    EXPECT_EQ(w.F().TaikyuuCount, 0);
}

}  // namespace

TEST(HitBox, ABulletCostsOneHPThenFortyFramesOfSafety) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* first = AtHitBox(w, kvtest::StandingBullet(w, 0, 0));
    w.Frame();
    EXPECT_TRUE(first->Killed);
    EXPECT_EQ(w.F().HP, 9);
    EXPECT_EQ(w.Audio.CountOf("ZikiHit"), 1);
    EXPECT_TRUE(w.F().MutekiMode);

    auto* second = AtHitBox(w, kvtest::StandingBullet(w, 0, 0));
    w.Frame(39);
    EXPECT_FALSE(second->Killed);
    EXPECT_EQ(w.F().HP, 9);
    w.Frame();  // the 40th frame after the hit: invincibility over, tested again
    EXPECT_TRUE(second->Killed);
    EXPECT_EQ(w.F().HP, 8);
}

TEST(HitBox, TheLastHPMakesExactlyOneGameOverScreen) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* boss = NamedBoss(w);
    w.F().HP = 1;
    AtHitBox(w, kvtest::StandingBullet(w, 0, 0));
    AtHitBox(w, kvtest::StandingBullet(w, 0, 0));  // same walk: HP lost, no second game over
    w.Frame();
    EXPECT_EQ(w.F().HP, -1);
    ExpectGameOver(w);
    EXPECT_TRUE(boss->Killed) << "the phase named by the attack is removed";
    EXPECT_NE(kvtest::Events(w, "game_over").at(0).find("\"score\":0"), std::string::npos);
}

TEST(HitBox, TouchingAZakoACostsTwoHP) {
    TWorld w;
    // Made before the ship, so it steps (and counts) before the hit box resets its counter.
    auto* zako = new TZakoAASprite(w.E(), 0, 0);
    kvtest::StartPlaying(w);
    AtHitBox(w, zako);
    w.F().ZakoAACount = 7;
    w.Frame();
    EXPECT_TRUE(zako->Killed);
    EXPECT_EQ(w.F().HP, 8);
    EXPECT_EQ(w.F().Score, 20);
    EXPECT_EQ(w.F().ZakoAACount, 0);
    EXPECT_EQ(w.Audio.CountOf("ZikiHit"), 2);
    EXPECT_TRUE(w.F().Playing);
}

TEST(HitBox, TwoHPAndAZakoABEndTheGameOnce) {
    TWorld w;
    auto* zako = new TZakoABSprite(w.E(), 0, 0);
    kvtest::StartPlaying(w);
    AtHitBox(w, zako);
    NamedBoss(w);
    w.F().HP = 2;
    w.F().ZakoABCount = 12;
    w.Frame();
    EXPECT_EQ(w.F().HP, 0);
    EXPECT_EQ(w.F().Score, 20);
    EXPECT_EQ(w.F().ZakoABCount, 0);
    ExpectGameOver(w);
}

TEST(HitBox, AShadowIsAnEnemyToo) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* shadow = AtHitBox(w, new TZakoAShadowSprite(w.E(), 0, 0));
    w.Frame();
    EXPECT_TRUE(shadow->Killed);
    EXPECT_EQ(w.F().HP, 9);
}

TEST(HitBox, TouchingABossEndsTheGameAtOnce) {
    TWorld w;
    // Not the one touched; made first, so it steps before the game ends in this frame.
    auto* named = NamedBoss(w);
    kvtest::StartPlaying(w);
    auto* boss = AtHitBox(w, new TTestBossSprite(w.E()));
    w.Frame();
    EXPECT_TRUE(boss->Killed);
    EXPECT_EQ(w.F().HP, 9);
    ExpectGameOver(w);
    EXPECT_FALSE(named->Killed) << "boss contact does not remove phases by name";
}

TEST(HitBox, AfterTheGameHasEndedHitsOnlyCostHP) {
    TWorld w;
    kvtest::StartPlaying(w);
    new TGameClearSprite(w.E());  // ends the game, the ship and hit box stay for a while
    w.F().HP = 1;
    AtHitBox(w, kvtest::StandingBullet(w, 0, 0));
    w.Frame();
    EXPECT_EQ(w.F().HP, 0);
    EXPECT_EQ(w.CountOf<TGameOverSprite>(), 0);
    EXPECT_FALSE(w.All<TZikiHanteiSprite>().front()->Killed);
}

TEST(HitBox, ExtraDamageRulesComeBeforeTheEnemyRuleAndLeaveTheirSprite) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* beam = AtHitBox(w, new TTestBeamSprite(w.E()));
    w.Frame();
    EXPECT_FALSE(beam->Killed);
    EXPECT_EQ(w.F().HP, 9);
    w.Frame(39);
    EXPECT_EQ(w.F().HP, 9);
    w.Frame();
    EXPECT_EQ(w.F().HP, 8) << "still overlapping when invincibility ends";
}

TEST(HitBox, TheInvincibilityAidTakesNoDamageOfAnyKind) {
    TWorld w;
    kvtest::StartPlaying(w);
    w.F().Invincible = true;
    w.F().HP = 1;
    auto* bullet = AtHitBox(w, kvtest::StandingBullet(w, 0, 0));
    auto* zako = AtHitBox(w, new TZakoACSprite(w.E(), 0, 0));
    auto* boss = AtHitBox(w, new TTestBossSprite(w.E()));
    AtHitBox(w, new TTestBeamSprite(w.E()));
    w.Frame(3);
    EXPECT_EQ(w.F().HP, 1);
    EXPECT_EQ(w.F().Score, 0);
    EXPECT_TRUE(w.F().Playing);
    EXPECT_FALSE(bullet->Killed);
    EXPECT_FALSE(zako->Killed);
    EXPECT_FALSE(boss->Killed);
    EXPECT_EQ(w.Audio.CountOf("ZikiHit"), 0);
}
