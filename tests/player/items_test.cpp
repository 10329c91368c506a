// Items: homing, collection by the hit box, removal with the game, the factory bosses use.
#include <gtest/gtest.h>

#include <cmath>

#include "player/Items.h"
#include "player/Play.h"
#include "shell/Rows.h"

using namespace kv;
using kvtest::TWorld;

namespace {

// A stand-in for the hit box that collects nothing, so only the homing is seen.
TImageSpriteEx* Target(TWorld& w, double X, double Y) {
    auto* t = new TImageSpriteEx(w.E());
    t->X = X;
    t->Y = Y;
    w.F().ZikiHanteiSprite = t;
    return t;
}

}  // namespace

TEST(Items, HomeInAtSevenPixelsAStep) {
    TWorld w;
    w.F().Playing = true;
    Target(w, 150, 445);  // aim point (150, 440)
    auto* item = new TBombItemSprite(w.E(), 150, 20);
    for (int step = 1; step <= 60; ++step) {
        const double x = item->X, y = item->Y;
        w.Frame();
        ASSERT_NEAR(std::hypot(item->X - x, item->Y - y), 7.0, 1e-9) << step;
        ASSERT_NEAR(item->Y, 20 + 7.0 * step, 1e-9);
    }
    EXPECT_NEAR(item->X, 150, 1e-9);
    EXPECT_NEAR(item->VY, 7, 1e-9);
    // Then it hovers around the point.
    w.Frame(5);
    EXPECT_LT(std::hypot(item->X - 150, item->Y - 440), 7.0 + 1e-9);
    EXPECT_FALSE(item->Killed);
}

TEST(Items, DiagonalHomingAndTheFactoryBossesUse) {
    TWorld w;
    w.F().Playing = true;
    Target(w, 100, 105);
    CreateItem(w.F(), TItemKind::HP, 0, 0);
    CreateItem(w.F(), TItemKind::Bomb, 30, 40);
    auto hp = w.All<THPItemSprite>();
    auto bomb = w.All<TBombItemSprite>();
    ASSERT_EQ(hp.size(), 1u);
    ASSERT_EQ(bomb.size(), 1u);
    EXPECT_EQ(hp[0]->Image, w.F().Picture("HPItem"));
    EXPECT_EQ(bomb[0]->Image, w.F().Picture("BombItem"));
    EXPECT_DOUBLE_EQ(bomb[0]->X, 30);
    EXPECT_DOUBLE_EQ(bomb[0]->Y, 40);
    w.Frame();
    EXPECT_NEAR(hp[0]->X, 7 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(hp[0]->Y, 7 / std::sqrt(2.0), 1e-9);
}

TEST(Items, LeaveWithoutMovingWhenTheGameEnds) {
    TWorld w;
    w.F().Playing = true;
    Target(w, 150, 445);
    auto* item = new THPItemSprite(w.E(), 10, 10);
    w.F().Playing = false;
    w.F().ZikiHanteiSprite = nullptr;
    w.Frame();
    EXPECT_TRUE(item->Killed);
    EXPECT_DOUBLE_EQ(item->X, 10);
    EXPECT_DOUBLE_EQ(item->Y, 10);
}

TEST(Items, NotCollectedWhileInvincibleAndCollectedOnTheFrameInvincibilityEnds) {
    TWorld w;
    kvtest::StartPlaying(w);
    w.F().MutekiModein();
    auto* item = new THPItemSprite(w.E(), w.F().HanteiX(), w.F().HanteiY() - 5);
    auto* bomb = new TBombItemSprite(w.E(), w.F().HanteiX(), w.F().HanteiY() - 5);
    w.Frame(39);
    EXPECT_FALSE(item->Killed);
    EXPECT_EQ(w.F().HP, 10);
    // The ship's 40th step ends invincibility; its hit box steps after it in the same frame.
    w.Frame();
    EXPECT_TRUE(item->Killed);
    EXPECT_TRUE(bomb->Killed);
    EXPECT_EQ(w.F().HP, 11);  // no cap
    EXPECT_EQ(w.F().Bomb, 4);
}

TEST(Items, TheInvincibilityAidStillCollectsItems) {
    TWorld w;
    kvtest::StartPlaying(w);
    w.F().Invincible = true;
    new THPItemSprite(w.E(), w.F().HanteiX(), w.F().HanteiY() - 5);
    w.Frame();
    EXPECT_EQ(w.F().HP, 11);
    EXPECT_FALSE(w.F().MutekiMode);
}
