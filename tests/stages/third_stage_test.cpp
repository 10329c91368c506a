// Stage 3: how it begins after Marco, its timeline of Signs, and the hand-over to Velus.
#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

#include "bosses/BossTest.h"
#include "bosses/Marco.h"
#include "bosses/Velus.h"
#include "enemies/Sign.h"
#include "player/Items.h"
#include "stages/ThirdStage.h"

using namespace kv;
using namespace kvtest;

namespace {

using TSignAt = std::tuple<double, double, int32_t>;  // X, Y, mode

// Runs the script to its end and returns the Signs each step created.
std::map<int32_t, std::vector<TSignAt>> RunStage(TWorld& w) {
    std::map<int32_t, std::vector<TSignAt>> out;
    TFrameBudget budget;
    while (w.LiveCountOf<TThirdStageSprite>() > 0) {
        budget.Spend();
        auto made = OfClass<TSignASprite>(FrameCreated(w));
        for (auto* s : made) out[w.F().StageCount].push_back({s->X, s->Y, s->Mode});
    }
    return out;
}

}  // namespace

TEST(ThirdStage, OutlastingMarcoDropsTwoHPItemsPaysTheBonusAndStartsStageThree) {
    TWorld w;
    PlayingAt(w);
    w.F().HP = 5;
    w.F().Score = 100;
    w.F().BossName = "防御兵マルコ";
    auto* c = new TMarcoCSprite(w.E());  // no phase 2: at (130, 0)
    w.F().MarcoCSprite = c;
    w.F().TaikyuuCount = 1;
    w.Tick();
    EXPECT_TRUE(c->Killed);
    auto hp = w.All<THPItemSprite>();
    ASSERT_EQ(hp.size(), 2u);
    for (auto* h : hp) {
        EXPECT_DOUBLE_EQ(h->X, 140);
        EXPECT_DOUBLE_EQ(h->Y, 15);
    }
    EXPECT_EQ(w.F().Score, 100 + 3000 + 200 * 5);
    ASSERT_EQ(w.CountOf<TThirdStageSprite>(), 1);
    EXPECT_EQ(w.F().StageNo, 3);
    EXPECT_EQ(w.F().StageCount, 0);
    EXPECT_EQ(w.F().BossName, "");
    EXPECT_EQ(w.F().AttackName, "");
    EXPECT_NE(w.F().MediaFileName.find("musics/3-0.mp3"), std::string::npos);
    ASSERT_EQ(EventsOf(w, "stage").size(), 1u);
    EXPECT_NE(EventsOf(w, "stage")[0].find("\"stage\":3"), std::string::npos);
}

TEST(ThirdStage, PlacesItsSignsOnTheirFramesAndBringsVelusOnStep1800) {
    TWorld w;
    PlayingAt(w);
    new TThirdStageSprite(w.E());
    auto signs = RunStage(w);
    EXPECT_EQ(w.F().StageCount, 1800);  // it stays at the boss step

    // 25 steps with Signs, 61 Signs in all, the first on step 200.
    EXPECT_EQ(signs.size(), 25u);
    size_t total = 0;
    for (auto& [n, s] : signs) total += s.size();
    EXPECT_EQ(total, 61u);
    EXPECT_EQ(signs.begin()->first, 200);

    EXPECT_EQ(signs[370], (std::vector<TSignAt>{{0, 0, 0}, {0, 430, 0}, {270, 0, 0}, {270, 430, 0}, {0, 215, 0},
                                                 {270, 215, 0}}));
    // A ring walks the top edge to the right, then the bottom edge back.
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(signs[540 + 17 * i], (std::vector<TSignAt>{{54.0 * i, 0, 1}})) << i;
        EXPECT_EQ(signs[710 + 17 * i], (std::vector<TSignAt>{{270 - 54.0 * i, 430, 1}})) << i;
    }
    EXPECT_EQ(signs[1152], (std::vector<TSignAt>{{0, 0, 2}, {135, 0, 2}, {270, 0, 2}}));
    EXPECT_EQ(signs[1322], (std::vector<TSignAt>{{135, 0, 3}}));
    EXPECT_EQ(signs[1577], (std::vector<TSignAt>{{135, 430, 3}}));
    EXPECT_EQ(signs.rbegin()->first, 1577);

    auto* v = dynamic_cast<TVelusASprite*>(w.F().VelusASprite.Get());
    ASSERT_NE(v, nullptr);
    EXPECT_NE(w.F().MediaFileName.find("musics/3-1.mp3"), std::string::npos);
    EXPECT_EQ(w.F().AttackName, "地砲「爆散砲」");
}

TEST(ThirdStage, StopsCountingOnceTheGameIsOver) {
    TWorld w;
    PlayingAt(w);
    auto* s = new TThirdStageSprite(w.E());
    w.Frame(199);
    w.F().Playing = false;
    w.Frame();
    EXPECT_TRUE(s->Killed);
    EXPECT_EQ(w.F().StageCount, 199);
    EXPECT_EQ(w.CountOf<TSignASprite>(), 0);
}
