// The state fingerprint of replays: equal for equal games, different for any visible change.
#include <gtest/gtest.h>

#include "player/Play.h"
#include "player/Ship.h"
#include "shell/StateChecksum.h"

using namespace kv;
using kvtest::TWorld;

TEST(StateChecksum, TwoRunsOfTheSameGameAgreeAndAnyDifferenceShows) {
    TWorld a, b;
    for (TWorld* w : {&a, &b}) {
        kvtest::StartPlaying(*w);
        w->Press(isButton1);
        w->Frame(120);
    }
    ASSERT_EQ(StateChecksum(a.F()), StateChecksum(b.F()));

    const uint64_t same = StateChecksum(b.F());
    b.All<TZikiSprite>().front()->X += 0.5;
    EXPECT_NE(StateChecksum(b.F()), same) << "a sprite's position";
    b.All<TZikiSprite>().front()->X -= 0.5;
    EXPECT_EQ(StateChecksum(b.F()), same);

    b.F().Score += 1;
    EXPECT_NE(StateChecksum(b.F()), same) << "a global";
    b.F().Score -= 1;
    b.F().Random(10);
    EXPECT_NE(StateChecksum(b.F()), same) << "a draw of the random generator";
}

TEST(StateChecksum, ASpriteKilledOrOfAnotherClassShows) {
    TWorld a, b;
    kvtest::StartPlaying(a);
    kvtest::StartPlaying(b);
    a.Frame(10);
    b.Frame(10);
    const uint64_t same = StateChecksum(a.F());
    ASSERT_EQ(StateChecksum(b.F()), same);
    b.All<TZikiSprite>().front()->Kill();
    EXPECT_NE(StateChecksum(b.F()), same);
    kvtest::StandingBullet(a, 100, 100);
    EXPECT_NE(StateChecksum(a.F()), same);
}
