// Stage 4: how it begins after Velus, its sprayers and Signs, and the hand-over to Gadnic.
#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

#include "bosses/BossTest.h"
#include "bosses/Gadnic.h"
#include "bosses/Velus.h"
#include "enemies/Sign.h"
#include "enemies/ZakoIJ.h"
#include "player/Items.h"
#include "stages/ForthStage.h"

using namespace kv;
using namespace kvtest;

namespace {

// X, Y and what: mode 0 to 3 for a Sign, -1 for a Zako I sprayer.
using TMade = std::tuple<double, double, int32_t>;

std::map<int32_t, std::vector<TMade>> RunStage(TWorld& w, int32_t& LastCount) {
    std::map<int32_t, std::vector<TMade>> out;
    int32_t step = 0;
    TFrameBudget budget;
    while (w.LiveCountOf<TForthStageSprite>() > 0) {
        budget.Spend();
        auto made = FrameCreated(w);
        ++step;
        for (TSprite* s : made) {
            if (auto* sign = dynamic_cast<TSignASprite*>(s)) out[step].push_back({sign->X, sign->Y, sign->Mode});
            if (auto* i = dynamic_cast<TZakoISprite*>(s)) out[step].push_back({i->X, i->Y, -1});
        }
    }
    LastCount = step;
    return out;
}

}  // namespace

TEST(ForthStage, OutlastingVelusDropsHPThenBombPaysTheBonusAndStartsStageFour) {
    TWorld w;
    PlayingAt(w);
    w.F().HP = 3;
    auto* d = new TVelusDSprite(w.E());  // no phase C: at (130, 70)
    w.F().VelusDSprite = d;
    const std::string before = w.F().MediaFileName;
    for (int i = 0; i < 50; ++i) w.Tick();
    EXPECT_TRUE(d->Killed);
    auto items = w.All<TItemsSprite>();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(IsA<THPItemSprite>(items[0]));
    EXPECT_TRUE(IsA<TBombItemSprite>(items[1]));
    for (auto* it : items) {
        EXPECT_DOUBLE_EQ(it->X, 140);
        EXPECT_DOUBLE_EQ(it->Y, 85);
    }
    EXPECT_EQ(w.F().Score, 4000 + 350 * 3);
    ASSERT_EQ(w.CountOf<TForthStageSprite>(), 1);
    EXPECT_EQ(w.F().StageNo, 4);
    EXPECT_EQ(w.F().AttackName, "");
    EXPECT_NE(w.F().MediaFileName.find("musics/4-0.mp3"), std::string::npos);
    ASSERT_EQ(EventsOf(w, "endurance_end").size(), 1u);
    EXPECT_NE(EventsOf(w, "endurance_end")[0].find("魂弾「天地爆閃弾γ」"), std::string::npos);
}

TEST(ForthStage, SprayersThenSignBurstsThenGadnicsFadeAndTheCounterBackToZero) {
    TWorld w;
    PlayingAt(w);
    new TForthStageSprite(w.E());
    const std::string music = w.F().MediaFileName;
    int32_t last = 0;
    auto made = RunStage(w, last);
    EXPECT_EQ(last, 1001);
    EXPECT_EQ(w.F().StageCount, 0);  // unlike the other stages
    EXPECT_EQ(w.F().MediaFileName, music);  // the boss track comes with the king, not here

    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(made[21 + 20 * i], (std::vector<TMade>{{35 + 50.0 * i, -25, -1}})) << i;
        EXPECT_EQ(made[221 + 20 * i], (std::vector<TMade>{{35 + 50.0 * i, -25, -1}})) << i;
    }
    const std::vector<TMade> six = {{0, 0, 0}, {0, 430, 0}, {270, 0, 0}, {270, 430, 0}, {0, 215, 0}, {270, 215, 0}};
    auto with = [&](std::vector<TMade> extra) {
        auto v = six;
        v.insert(v.end(), extra.begin(), extra.end());
        return v;
    };
    EXPECT_EQ(made[451], with({{135, -25, -1}}));
    EXPECT_EQ(made[651], with({{0, 0, 1}, {54, 0, 1}, {216, 0, 1}, {270, 0, 1}}));
    EXPECT_EQ(made[851], with({{0, 430, 1}, {54, 430, 1}, {216, 430, 1}, {270, 430, 1}}));
    EXPECT_EQ(made.size(), 13u);

    auto* fade = dynamic_cast<TGadnicFadeSprite*>(w.F().GadnicFadeSprite.Get());
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->FadeIn, 1);
    EXPECT_EQ(fade->Alpha, 0);
}
