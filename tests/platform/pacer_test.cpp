// The fixed-rate schedule of the frame loop, on a made-up counter.
#include <gtest/gtest.h>

#include "platform/sdl/FramePacer.h"

namespace kv {
namespace {

TEST(FramePacer, WaitsForTheNextSlot) {
    TFramePacer p(600);  // 10 ticks a frame
    EXPECT_EQ(p.Period(), 10u);
    EXPECT_EQ(p.Advance(1000), 10u);  // the first frame is one period after the start
    EXPECT_EQ(p.Advance(1005), 15u);  // slot 2 at 1020: a short frame does not shift the schedule
    EXPECT_EQ(p.Advance(1029), 1u);
    EXPECT_EQ(p.Advance(1030), 10u);
}

TEST(FramePacer, LateFramesRunAtOnceAndCatchUp) {
    TFramePacer p(600, 60, 3);
    p.Advance(1000);                 // slot 1 at 1010
    EXPECT_EQ(p.Advance(1035), 0u);  // slot 2 (1020) is late by 15
    EXPECT_EQ(p.Advance(1036), 0u);  // slot 3 (1030) too
    EXPECT_EQ(p.Advance(1037), 3u);  // slot 4 at 1040: back on the schedule
    EXPECT_EQ(p.Restarts(), 0);
}

TEST(FramePacer, FramesBehindAreRunBeforeTheNextWait) {
    TFramePacer p(600, 60, 3);
    EXPECT_EQ(p.Behind(1000), 0);  // not started
    p.Advance(1000);               // slot 1 at 1010
    EXPECT_EQ(p.Behind(1019), 0);
    EXPECT_EQ(p.Behind(1035), 2);  // slots 2 and 3 have begun
    EXPECT_EQ(p.Behind(1500), 3);  // never more than the catch-up limit
    p.Skip(p.Behind(1035));        // their frames run now
    EXPECT_EQ(p.Advance(1036), 4u);  // slot 4 at 1040: on the schedule again
    EXPECT_EQ(p.Restarts(), 0);
}

TEST(FramePacer, ALongStallRestartsTheSchedule) {
    TFramePacer p(600, 60, 3);
    p.Advance(1000);
    EXPECT_EQ(p.Advance(1040), 0u);  // slot 2 late by 20: within three frames
    EXPECT_EQ(p.Restarts(), 0);
    EXPECT_EQ(p.Advance(1200), 0u);  // slot 3 (1030) late by 170: forgotten
    EXPECT_EQ(p.Restarts(), 1);
    EXPECT_EQ(p.Advance(1201), 9u);  // the new schedule runs from 1200
    EXPECT_EQ(p.Advance(1212), 8u);
}

TEST(FramePacer, NoDriftWhenThePeriodIsNotWhole) {
    const uint64_t f = 1000000007;  // a counter rate that 60 does not divide
    TFramePacer p(f);
    p.Reset(5);
    EXPECT_EQ(p.Slot(60), 5 + f);
    EXPECT_EQ(p.Slot(6000), 5 + 100 * f);
    EXPECT_EQ(p.Slot(216000000), 5 + 3600000 * f);  // an hour of frames does not overflow
    // Waiting out every slot exactly lands a second later after 60 frames.
    uint64_t now = 5;
    for (int i = 0; i < 60; ++i) now += p.Advance(now);
    EXPECT_EQ(now, 5 + f);
}

TEST(FramePacer, ClockGoingBackwardsRestarts) {
    TFramePacer p(600);
    p.Advance(1000);
    EXPECT_EQ(p.Advance(500), 10u);
}

}  // namespace
}  // namespace kv
