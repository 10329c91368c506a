// The replay folder: the last 30 unkept replays stay, a kept one survives any number of newer
// games, and the list reads back what each header says.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "userfiles/Replays.h"

namespace fs = std::filesystem;
using namespace kv::userfiles;

namespace {

class ReplayFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::path(::testing::TempDir()) / ("replays-" + std::to_string(::getpid()));
        fs::remove_all(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    fs::path Save(int64_t Time, int32_t Score) {
        TReplayInfo info;
        info.Time = Time;
        info.Mode = "practice";
        info.Start = "TVelusBSprite";
        info.Score = Score;
        info.Frames = 600 + Score;
        info.Result = "game over";
        return SaveReplay(Dir, info, "version 3\nseed 1\nstart practice TVelusBSprite\nend 600\n");
    }
    fs::path Dir;
};

TEST_F(ReplayFiles, TheLastThirtyStayAndAKeptOneSurvives) {
    const int64_t t0 = 1'700'000'000;
    const fs::path first = Save(t0, 0);
    const fs::path kept = SetReplayKept(first, true);
    EXPECT_NE(kept, first);
    EXPECT_FALSE(fs::exists(first));
    // More games than the limit, two of them in the same second.
    for (int32_t i = 1; i <= static_cast<int32_t>(ReplaysKept) + 5; ++i) Save(t0 + i / 2 * 2, i);

    const std::vector<TReplayInfo> list = ListReplays(Dir);
    ASSERT_EQ(list.size(), ReplaysKept + 1);
    size_t keptCount = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0) EXPECT_GE(list[i - 1].Time, list[i].Time) << "not newest first at " << i;
        keptCount += list[i].Kept;
    }
    EXPECT_EQ(keptCount, 1u);
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_EQ(list.back().Path, kept);
    // The newest unkept games are the ones left: scores 6 … 35.
    for (const TReplayInfo& r : list)
        if (!r.Kept) EXPECT_GT(r.Score, 5) << r.Path;

    // Unkept again, it is the oldest and goes with the next prune.
    const fs::path back = SetReplayKept(kept, false);
    EXPECT_EQ(back.parent_path(), Dir);
    EXPECT_EQ(PruneReplays(Dir), std::vector<fs::path>{back});
}

TEST_F(ReplayFiles, TheHeaderReadsBackAndOtherFilesAreLeftAlone) {
    const fs::path p = Save(1'700'000'000, 1234);
    // Not a replay: listed never, pruned never.
    std::ofstream(Dir / "notes.kvr") << "# my notes\n";
    EXPECT_TRUE(PruneReplays(Dir, 0).size() == 1 && fs::exists(Dir / "notes.kvr"));
    const fs::path q = Save(1'700'000'000, 99);
    const std::vector<TReplayInfo> list = ListReplays(Dir);
    ASSERT_EQ(list.size(), 1u);
    const TReplayInfo& r = list[0];
    EXPECT_EQ(r.Path, q);
    EXPECT_FALSE(fs::exists(p) && p != q) << "the pruned replay is still there";
    EXPECT_EQ(r.Mode, "practice");
    EXPECT_EQ(r.Start, "TVelusBSprite");
    EXPECT_EQ(r.Score, 99);
    EXPECT_EQ(r.Frames, 699);
    EXPECT_EQ(r.Result, "game over");
    EXPECT_EQ(r.Date.size(), 19u) << r.Date;
    EXPECT_FALSE(r.Kept);
}

}  // namespace
