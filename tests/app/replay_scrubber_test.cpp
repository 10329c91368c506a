// Watching a replay: where jumps land, which snapshot a jump restores, the memory the snapshots
// may hold, and the speeds.
#include <gtest/gtest.h>

#include <memory>

#include "app/ReplayScrubber.h"
#include "player/Play.h"
#include "support/World.h"

using namespace kv;
using app::TReplayScrubber;

namespace {

// Snapshots of a game running on, one at each frame asked.
struct TGame {
    kvtest::TWorld W;
    TGame() {
        W.Surface.Record = false;
        kvtest::StartPlaying(W);
    }
    std::unique_ptr<TGameSnapshot> At(int64_t Frame) {
        W.Frame(static_cast<int>(Frame - W.F().Log.Frame));
        return std::make_unique<TGameSnapshot>(W.F());
    }
};

}  // namespace

TEST(ReplayScrubber, JumpsLandFiveSecondsAwayWithinTheReplayAndOnTheMarksReached) {
    TReplayScrubber s(10000);
    EXPECT_EQ(s.Target(1000, TReplayScrubber::Back5s), 700);
    EXPECT_EQ(s.Target(100, TReplayScrubber::Back5s), 0);
    EXPECT_EQ(s.Target(1000, TReplayScrubber::Forward5s), 1300);
    EXPECT_EQ(s.Target(9900, TReplayScrubber::Forward5s), 10000);
    s.Mark(0, true);
    s.Mark(3000, false);
    s.Mark(5000, true);
    s.Mark(3000, false);  // reached again after a jump back
    ASSERT_EQ(s.Marks().size(), 3u);
    EXPECT_EQ(s.Target(4000, TReplayScrubber::PreviousMark), 3000);
    // Just after a mark, the one before it: pressed again, the jump goes further back.
    EXPECT_EQ(s.Target(3030, TReplayScrubber::PreviousMark), 0);
    EXPECT_EQ(s.Target(4000, TReplayScrubber::NextMark), 5000);
    EXPECT_EQ(s.Target(5000, TReplayScrubber::NextMark), -1) << "not reached yet: played on to";
}

TEST(ReplayScrubber, AJumpRestoresTheLatestSnapshotBeforeItsTargetOrPlaysOnWhenThatIsSooner) {
    TGame g;
    TReplayScrubber s(10000, 100);
    for (int64_t f = 0; f <= 500; f += 100) {
        EXPECT_TRUE(s.Wants(f));
        s.Keep(g.At(f));
    }
    EXPECT_FALSE(s.Wants(150));
    EXPECT_FALSE(s.Wants(500)) << "kept already";
    ASSERT_NE(s.StartFor(450, 250), nullptr);
    EXPECT_EQ(s.StartFor(450, 250)->Frame, 200);
    EXPECT_EQ(s.StartFor(450, 0)->Frame, 0);
    EXPECT_EQ(s.StartFor(450, 480), nullptr) << "forward within reach of no later snapshot";
    EXPECT_EQ(s.StartFor(120, 480)->Frame, 400);
    EXPECT_EQ(s.StartFor(500, 800), nullptr);
}

TEST(ReplayScrubber, SnapshotsBeyondTheMemoryLimitAreThinnedEvenly) {
    TGame g;
    auto probe = g.At(0);
    const size_t each = probe->Bytes();
    // Room for about ten.
    TReplayScrubber s(100000, 10, each * 10 + each / 2);
    s.Keep(std::move(probe));
    for (int64_t f = 10; f <= 1000; f += 10)
        if (s.Wants(f)) s.Keep(g.At(f));
    EXPECT_LE(s.Bytes(), each * 10 + each / 2 + each);  // sizes vary a little with the game
    EXPECT_GT(s.Every(), 10);
    ASSERT_GE(s.Kept().size(), 4u);
    EXPECT_EQ(s.Kept().front().Frame, 0);
    for (size_t i = 1; i < s.Kept().size(); ++i)
        EXPECT_EQ(s.Kept()[i].Frame - s.Kept()[i - 1].Frame, s.Every()) << "at " << i;
    EXPECT_GE(s.Kept().back().Frame, 1000 - s.Every());
}

TEST(ReplayScrubber, SpeedsRunTheirShareOfFramesATurn) {
    TReplayScrubber s(1000);
    auto framesOf = [&](TReplayScrubber::ESpeed Speed, int Turns) {
        s.SetSpeed(Speed);
        int32_t n = 0;
        for (int i = 0; i < Turns; ++i) n += s.FramesThisTurn();
        return n;
    };
    EXPECT_EQ(framesOf(TReplayScrubber::Quarter, 8), 2);
    EXPECT_EQ(framesOf(TReplayScrubber::Half, 8), 4);
    EXPECT_EQ(framesOf(TReplayScrubber::Normal, 8), 8);
    EXPECT_EQ(framesOf(TReplayScrubber::Quadruple, 8), 32);
    s.SetSpeed(TReplayScrubber::Max);
    EXPECT_EQ(s.FramesThisTurn(), -1);
    s.Faster();
    EXPECT_EQ(s.Speed(), TReplayScrubber::Max);
    for (int i = 0; i < 8; ++i) s.Slower();
    EXPECT_EQ(s.Speed(), TReplayScrubber::Quarter);
}
