// The bomb barrier: its lifetime, the bullets it erases, and its end with the game.
#include <gtest/gtest.h>

#include "player/Barrier.h"
#include "player/Items.h"
#include "player/Play.h"

using namespace kv;
using kvtest::TWorld;

namespace {

// Bombs on the next frame; the barriers take their first step on the frame after.
void Bomb(TWorld& w) {
    w.Press(isButton2);
    w.Frame();
    w.Release(isButton2);
}

}  // namespace

TEST(Barrier, ABombLastsExactly150RedStepsEveryTime) {
    TWorld w;
    kvtest::StartPlaying(w);
    for (int bomb = 1; bomb <= 2; ++bomb) {
        Bomb(w);
        auto barriers = w.All<TKekkaiSprite>();
        ASSERT_EQ(barriers.size(), 2u);
        TKekkaiSprite* red = barriers[0];
        TKekkaiSprite* blue = barriers[1];
        for (int step = 1; step < 150; ++step) {
            w.Frame();
            ASSERT_TRUE(w.F().BombActive) << "bomb " << bomb << " step " << step;
            ASSERT_EQ(w.F().KekkaiCount, step);
        }
        EXPECT_EQ(red->Angle, -2 * 149);
        EXPECT_EQ(blue->Angle, 2 * 149);
        w.Frame();  // the 150th
        EXPECT_FALSE(w.F().BombActive);
        EXPECT_EQ(w.F().KekkaiCount, 0);
        EXPECT_FALSE(red->Killed);
        EXPECT_TRUE(blue->Killed);
        w.Frame();
        EXPECT_TRUE(red->Killed);
        EXPECT_EQ(w.F().KekkaiCount, 0) << "a barrier on its way out must not count";
        w.Frame();
        EXPECT_EQ(w.CountOf<TKekkaiSprite>(), 0);
    }
    EXPECT_EQ(w.F().Bomb, 1);
}

TEST(Barrier, ABombRightAfterTheLastOneEndsDoesNotKeepTheOldBarrier) {
    TWorld w;
    kvtest::StartPlaying(w);
    Bomb(w);
    auto first = w.All<TKekkaiSprite>();
    w.Frame(150);
    ASSERT_FALSE(w.F().BombActive);
    Bomb(w);  // the ship steps before the old red barrier
    EXPECT_TRUE(first[0]->Killed);
    for (int step = 1; step < 150; ++step) {
        w.Frame();
        ASSERT_TRUE(w.F().BombActive) << step;
        ASSERT_EQ(w.F().KekkaiCount, step);
        ASSERT_EQ(w.LiveCountOf<TKekkaiSprite>(), 2);
    }
    w.Frame();
    EXPECT_FALSE(w.F().BombActive);
}

TEST(Barrier, ErasesBulletsForAPointPerBarrierAndLetsEnemiesThrough) {
    TWorld w;
    kvtest::StartPlaying(w);
    Bomb(w);
    const double hx = w.F().HanteiX(), hy = w.F().HanteiY();
    auto* bullet = kvtest::StandingBullet(w, hx, hy);
    auto* enemy = new TZakoAASprite(w.E(), hx - 20, hy - 20);
    w.Frame();
    EXPECT_TRUE(bullet->Killed);
    EXPECT_EQ(w.F().Score, 2);
    EXPECT_FALSE(enemy->Killed);
    EXPECT_EQ(w.F().HP, 10);  // the hit box does not test while the barrier is up
}

TEST(Barrier, NothingHitsThePlayerAndNothingIsCollectedUnderTheBarrier) {
    TWorld w;
    kvtest::StartPlaying(w);
    Bomb(w);
    auto* zako = new TZakoAASprite(w.E(), w.F().HanteiX() - 20, w.F().HanteiY() - 20);
    auto* item = new THPItemSprite(w.E(), w.F().HanteiX(), w.F().HanteiY() - 5);
    w.Frame(20);
    EXPECT_EQ(w.F().HP, 10);
    EXPECT_FALSE(zako->Killed);
    EXPECT_FALSE(item->Killed);
}

TEST(Barrier, TheGameEndingDuringABombEndsTheBomb) {
    TWorld w;
    kvtest::StartPlaying(w);
    Bomb(w);
    w.Frame(30);
    w.F().Playing = false;
    w.Frame();
    for (TKekkaiSprite* k : w.All<TKekkaiSprite>()) EXPECT_TRUE(k->Killed);
    EXPECT_FALSE(w.F().BombActive);
    EXPECT_EQ(w.F().KekkaiCount, 0);
}
