// The ship: volleys and their cadence, slow mode, movement limits, bomb and invincibility.
#include <gtest/gtest.h>

#include "player/Barrier.h"
#include "player/Play.h"
#include "player/Shots.h"

using namespace kv;
using kvtest::TWorld;

namespace {

std::vector<int32_t> Angles(const std::vector<TShotsSprite*>& Shots, size_t From) {
    std::vector<int32_t> out;
    for (size_t i = From; i < Shots.size(); ++i) out.push_back(Shots[i]->Angle);
    return out;
}

template <class T>
std::vector<TShotsSprite*> ShotsOf(TWorld& w) {
    std::vector<TShotsSprite*> out;
    for (T* s : w.All<T>()) out.push_back(s);
    return out;
}

}  // namespace

TEST(ShipFire, NormalVolleysComeOnFrames1_11_21WithTheSixSpreads) {
    TWorld w;
    kvtest::StartPlaying(w);
    w.Press(isButton1);
    std::vector<int> volleyFrames;
    size_t seen = 0;
    for (int frame = 1; frame <= 25; ++frame) {
        w.Frame();
        auto shots = ShotsOf<TShotASprite>(w);
        if (shots.size() != seen) {
            volleyFrames.push_back(frame);
            EXPECT_EQ(shots.size() - seen, 6u) << "frame " << frame;
            EXPECT_EQ(Angles(shots, seen), (std::vector<int32_t>{116, 122, 127, 129, 134, 140}));
            for (size_t i = seen; i < shots.size(); ++i) {
                EXPECT_DOUBLE_EQ(shots[i]->X, w.F().ZikiSprite->X + 20);
                EXPECT_DOUBLE_EQ(shots[i]->Y, w.F().ZikiSprite->Y - 15);
            }
            seen = shots.size();
        }
    }
    EXPECT_EQ(volleyFrames, (std::vector<int>{1, 11, 21}));
    EXPECT_EQ(w.CountOf<TShotBSprite>(), 0);
}

TEST(ShipFire, SlowVolleysAreNineShotBAndTheSlowPictureFollowsTheKeyOnTheSameFrame) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* ship = w.All<TZikiSprite>().front();
    w.Press(isButton3);
    w.Press(isButton1);
    w.Frame();
    EXPECT_EQ(ship->Image, w.F().Picture("ShadowZiki"));
    auto shots = ShotsOf<TShotBSprite>(w);
    EXPECT_EQ(Angles(shots, 0), (std::vector<int32_t>{123, 124, 125, 127, 128, 129, 131, 132, 133}));
    EXPECT_EQ(w.CountOf<TShotASprite>(), 0);

    // Letting go of slow between volleys: the next volley is a normal one, the picture is back at once.
    w.Frame(5);
    w.Release(isButton3);
    w.Frame();
    EXPECT_EQ(ship->Image, w.F().Picture("Ziki"));
    EXPECT_EQ(ship->Width, 50);
    EXPECT_EQ(ship->Height, 50);
    w.Frame(4);
    EXPECT_EQ(w.CountOf<TShotASprite>(), 6);
    EXPECT_EQ(w.CountOf<TShotBSprite>(), 9);
}

TEST(ShipFire, TheCadenceCounterStandsStillWhileTheKeyIsUpAndCarriesOn) {
    TWorld w;
    kvtest::StartPlaying(w);
    w.Press(isButton1);
    w.Frame(3);  // volley on the first, counter at 3
    w.Release(isButton1);
    w.Frame(5);
    EXPECT_EQ(w.F().ShotCount, 3);
    w.Press(isButton1);
    w.Frame(7);  // counter 3 … 9, back to 0
    EXPECT_EQ(w.CountOf<TShotASprite>(), 6);
    w.Frame();
    EXPECT_EQ(w.CountOf<TShotASprite>(), 12);

    // A new game does not reset it either.
    w.Frame(4);
    w.Release(isButton1);
    const int32_t left = w.F().ShotCount;
    w.F().Shokika();
    kvtest::StartPlaying(w);
    EXPECT_EQ(w.F().ShotCount, left);
}

TEST(ShipMove, FullSpeedOnBothAxesAndSlowSpeed) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* ship = w.All<TZikiSprite>().front();
    ship->Y = 200;
    w.Press(isRight);
    w.Press(isDown);
    w.Frame();
    EXPECT_DOUBLE_EQ(ship->X, 140);
    EXPECT_DOUBLE_EQ(ship->Y, 205);
    w.Press(isButton3);
    w.Frame();
    EXPECT_DOUBLE_EQ(ship->X, 142);
    EXPECT_DOUBLE_EQ(ship->Y, 207);
    w.Press(isLeft);  // opposite keys cancel
    w.Press(isUp);
    w.Frame();
    EXPECT_DOUBLE_EQ(ship->X, 142);
    EXPECT_DOUBLE_EQ(ship->Y, 207);
}

TEST(ShipMove, StaysInsideTheClientArea) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* ship = w.All<TZikiSprite>().front();
    w.Press(isLeft);
    w.Press(isDown);
    w.Frame(40);
    EXPECT_DOUBLE_EQ(ship->X, 0);
    EXPECT_DOUBLE_EQ(ship->Y, 481 - 50);
    w.Release(isLeft);
    w.Release(isDown);
    w.Press(isRight);
    w.Press(isUp);
    w.Frame(100);
    EXPECT_DOUBLE_EQ(ship->X, 321 - 50);
    EXPECT_DOUBLE_EQ(ship->Y, 0);
    // The hit box rides on it.
    w.Frame();
    EXPECT_DOUBLE_EQ(w.F().ZikiHanteiSprite->X, 321 - 50 + 21);
}

TEST(ShipBomb, UsesOneBombAndTakesTheKeyOutOfTheStateSet) {
    TWorld w;
    kvtest::StartPlaying(w);
    w.Press(isButton2);
    w.Frame();
    EXPECT_TRUE(w.F().BombActive);
    EXPECT_EQ(w.F().Bomb, 2);
    EXPECT_FALSE(w.F().DXInput1.Has(isButton2));
    auto barriers = w.All<TKekkaiSprite>();
    ASSERT_EQ(barriers.size(), 2u);
    EXPECT_TRUE(IsA<TRedKekkaiSprite>(barriers[0]));
    EXPECT_TRUE(IsA<TBlueKekkaiSprite>(barriers[1]));

    // A fresh press while the barrier is up does nothing.
    w.Release(isButton2);
    w.Frame();
    w.Press(isButton2);
    w.Frame();
    EXPECT_EQ(w.F().Bomb, 2);
    EXPECT_EQ(w.CountOf<TKekkaiSprite>(), 2);
}

TEST(ShipInvincibility, HalfTransparentForFortyStepsThenOpaque) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* ship = w.All<TZikiSprite>().front();
    w.F().MutekiModein();
    for (int i = 1; i < 40; ++i) {
        w.Frame();
        ASSERT_EQ(ship->Alpha, 128) << "step " << i;
        ASSERT_TRUE(w.F().MutekiMode);
    }
    w.Frame();
    EXPECT_EQ(ship->Alpha, 255);
    EXPECT_FALSE(w.F().MutekiMode);
    EXPECT_EQ(w.F().MutekiCount, 0);
}
