// The windowed loop's clocks: the pause stops the frames and the one-second timer, and neither
// counts the paused time afterwards.
#include <gtest/gtest.h>

#include <vector>

#include "app/LoopClock.h"
#include "engine/Timer.h"

using kv::app::TLoopClock;

namespace {

// The loop of the windowed run, one pass a millisecond of wall time.
struct TLoop {
    TLoopClock Clock{0};
    kv::TDXTimer Frames;
    std::vector<int32_t> Lags;
    std::vector<uint64_t> Seconds;  // when the one-second timer ran
    uint64_t Now = 0;

    TLoop() {
        Frames.OnTimer = [this](int32_t Lag) { Lags.push_back(Lag); };
    }
    void RunUntil(uint64_t T) {
        for (; Now < T; Now += 1) {
            for (int32_t i = Clock.SecondsDue(Now); i > 0; --i) Seconds.push_back(Now);
            // Inactive ticks let the frame timer restart, as when the window is in the background.
            if (Now % 16 == 0) Frames.Tick(static_cast<int64_t>(Now), Clock.FramesRun(true));
        }
    }
};

}  // namespace

TEST(LoopClock, APauseFreezesTheFramesAndTheOneSecondTimer) {
    TLoop l;
    l.RunUntil(2500);
    EXPECT_EQ(l.Seconds, (std::vector<uint64_t>{1000, 2000}));
    const size_t framesBefore = l.Lags.size();
    EXPECT_GT(framesBefore, 100u);

    l.Clock.TogglePause(l.Now);
    EXPECT_TRUE(l.Clock.Paused());
    l.RunUntil(10000);
    EXPECT_EQ(l.Lags.size(), framesBefore) << "no frame runs while paused";
    EXPECT_EQ(l.Seconds.size(), 2u) << "no second passes while paused";

    l.Clock.TogglePause(l.Now);
    EXPECT_FALSE(l.Clock.Paused());
    l.RunUntil(12000);
    // Half a second had gone when the pause came; the other half follows the resume.
    EXPECT_EQ(l.Seconds, (std::vector<uint64_t>{1000, 2000, 10500, 11500}));
    ASSERT_GT(l.Lags.size(), framesBefore);
    EXPECT_LE(l.Lags[framesBefore], 16) << "the first frame after the pause does not count it";
}

TEST(LoopClock, SecondsMissedByASlowLoopAreAllDeliveredButOnlyOnce) {
    TLoopClock c(0);
    EXPECT_EQ(c.SecondsDue(999), 0);
    EXPECT_EQ(c.SecondsDue(3200), 3);
    EXPECT_EQ(c.SecondsDue(3999), 0);
    EXPECT_EQ(c.SecondsDue(4000), 1);
    // Pausing twice at once changes nothing.
    c.TogglePause(4100);
    c.TogglePause(4100);
    EXPECT_EQ(c.SecondsDue(5000), 1);
    EXPECT_FALSE(c.FramesRun(false)) << "an inactive window runs no frames, paused or not";
}
