// Practice starts: a game that begins at a stage or a boss phase, and leaves the record alone.
#include <gtest/gtest.h>

#include "bosses/Dagar.h"
#include "bosses/Gadnic.h"
#include "bosses/Marco.h"
#include "bosses/ROne.h"
#include "bosses/Velus.h"
#include "player/HitBox.h"
#include "player/Play.h"
#include "player/Ship.h"
#include "shell/EndScreens.h"
#include "shell/Title.h"
#include "stages/ExtraStage.h"
#include "stages/FirstStage.h"
#include "stages/ForthStage.h"
#include "stages/Practice.h"
#include "stages/SecondStage.h"
#include "stages/ThirdStage.h"

using namespace kv;
using kvtest::TWorld;
using kvtest::TWorldOptions;

namespace {

const char* const kRecord = "Taro\r\n500\r\nHello\r\n0\r\n";

TWorldOptions WithRecord() {
    TWorldOptions o;
    o.ScoreFile = kRecord;
    o.WriteScoreFile = true;
    return o;
}

// The ship as every game starts it, the menu gone.
void ExpectFreshShip(TWorld& w) {
    TForm1& f = w.F();
    EXPECT_TRUE(f.Playing);
    EXPECT_TRUE(f.HudOn);
    EXPECT_TRUE(f.Practice);
    EXPECT_FALSE(f.ResetDone);
    EXPECT_EQ(f.HP, 10);
    EXPECT_EQ(f.Bomb, 3);
    EXPECT_EQ(f.Score, 0);
    EXPECT_FALSE(f.Button1.Visible);
    EXPECT_EQ(w.CountOf<TZikiSprite>(), 1);
    EXPECT_EQ(w.CountOf<TZikiHanteiSprite>(), 1);
    EXPECT_TRUE(w.All<TTitleSprite>().empty() || w.All<TTitleSprite>().front()->Killed);
}

template <class TScript>
void ExpectStageStart(const char* What, int32_t Stage, bool Extra) {
    SCOPED_TRACE(What);
    TWorld w;
    StartPractice(w.F(), What);
    ExpectFreshShip(w);
    EXPECT_EQ(w.F().StageNo, Stage);
    EXPECT_EQ(w.F().StageCount, 0);
    ASSERT_EQ(w.CountOf<TScript>(), 1);
    const auto starts = kvtest::Events(w, "start");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].find(std::string("\"practice\":\"") + What + "\""), std::string::npos) << starts[0];
    EXPECT_NE(starts[0].find(Extra ? "\"mode\":\"extra\"" : "\"mode\":\"normal\""), std::string::npos);
    // R-One is behind the player from Stage 2 on; the Extra Stage is a game of its own.
    EXPECT_EQ(w.F().ROneDown, Stage >= 2 && !Extra);
    // The script runs from its first step.
    w.Frame();
    EXPECT_EQ(w.F().StageCount, 1);
}

template <class TPhase>
TPhase* ExpectPhaseStart(TWorld& w, const char* What, int32_t Stage, const char* Boss) {
    SCOPED_TRACE(What);
    StartPractice(w.F(), What);
    ExpectFreshShip(w);
    EXPECT_EQ(w.F().StageNo, Stage);
    EXPECT_EQ(w.F().BossName, Boss);
    EXPECT_FALSE(w.F().AttackName.empty());
    const auto phases = kvtest::Events(w, "phase");
    EXPECT_EQ(phases.size(), 1u);
    EXPECT_NE(phases.at(0).find(std::string("\"class\":\"") + What + "\""), std::string::npos) << phases.at(0);
    auto all = w.All<TPhase>();
    EXPECT_EQ(all.size(), 1u);
    return all.empty() ? nullptr : all.front();
}

}  // namespace

TEST(Practice, EachStageStartsWithItsScriptAndANewShip) {
    ExpectStageStart<TFirstStageSprite>("stage1", 1, false);
    ExpectStageStart<TSecondStageSprite>("stage2", 2, false);
    ExpectStageStart<TThirdStageSprite>("stage3", 3, false);
    ExpectStageStart<TForthStageSprite>("stage4", 4, false);
    ExpectStageStart<TExtraStageSprite>("extra", 5, true);
}

TEST(Practice, APhaseOfEachBossStartsAsTheEarlierPhasesWouldHaveLeftIt) {
    {
        TWorld w;
        auto* p = ExpectPhaseStart<TROneBSprite>(w, "TROneBSprite", 1, "迎撃兵R-1");
        EXPECT_TRUE(w.F().ROneBSprite == p);
        EXPECT_TRUE(w.F().ROneDown) << "R-One's first phase fell before its second";
        EXPECT_EQ(w.CountOf<TFirstStageSprite>(), 0) << "the script has left when the boss is in";
        EXPECT_EQ(w.F().StageCount, TFirstStageSprite::BossCount);
    }
    {
        TWorld w;
        auto* p = ExpectPhaseStart<TMarcoCSprite>(w, "TMarcoCSprite", 2, "防御兵マルコ");
        EXPECT_TRUE(w.F().MarcoCSprite == p);
    }
    {
        TWorld w;
        auto* p = ExpectPhaseStart<TVelusBSprite>(w, "TVelusBSprite", 3, "直属兵ヴェルス");
        EXPECT_TRUE(w.F().VelusBSprite == p);
        // With no first phase to take over from, the phase appears where that one would stand.
        EXPECT_DOUBLE_EQ(p->X, 130);
        EXPECT_DOUBLE_EQ(p->Y, 0);
        w.Frame(20);
        EXPECT_GT(w.F().BossCounters[bcVelusB], 0) << "the phase runs";
        EXPECT_TRUE(w.F().Playing);
    }
    {
        TWorld w;
        auto* p = ExpectPhaseStart<TGadnicBSprite>(w, "TGadnicBSprite", 4, "ガドニック王");
        EXPECT_TRUE(w.F().GadnicBSprite == p);
        EXPECT_EQ(w.F().StageCount, 0);
    }
    {
        TWorld w;
        auto* p = ExpectPhaseStart<TDagarESprite>(w, "TDagarESprite", 5, "モーリア・ダガー");
        EXPECT_TRUE(w.F().DagarESprite == p);
        EXPECT_FALSE(w.F().ROneDown);
        // The Extra Stage's script stays with Dagar, past its boss step, spawning nothing more.
        ASSERT_EQ(w.CountOf<TExtraStageSprite>(), 1);
        EXPECT_EQ(w.F().StageCount, TExtraStageSprite::BossCount);
        w.Frame();
        EXPECT_EQ(w.F().StageCount, TExtraStageSprite::BossCount + 1);
        EXPECT_EQ(w.F().Log.CountOf("phase"), 1);
    }
}

TEST(Practice, EveryTargetStartsAndUnknownOnesAreRefused) {
    for (const std::string& what : PracticeTargets()) {
        SCOPED_TRACE(what);
        TWorld w;
        ASSERT_TRUE(IsPracticeTarget(what));
        EXPECT_TRUE(w.F().Handle([&] { StartPractice(w.F(), what); }));
        w.Frame(5);
        EXPECT_TRUE(w.F().Playing);
        EXPECT_TRUE(w.Errors.empty()) << w.Errors.front();
        const bool stage = what.rfind("stage", 0) == 0 || what == "extra";
        EXPECT_EQ(w.F().Log.CountOf("phase"), stage ? 0 : 1);
    }
    EXPECT_EQ(PracticeTargets().size(), 5u + 2 + 3 + 4 + 5 + 6);
    EXPECT_FALSE(IsPracticeTarget("stage5"));
    EXPECT_FALSE(IsPracticeTarget("tvelusbsprite"));
    TWorld w;
    EXPECT_THROW(StartPractice(w.F(), "TGadnicFadeSprite"), std::invalid_argument);
    EXPECT_FALSE(w.F().Playing);
}

TEST(Practice, AGameOverWithAHigherScoreLeavesTheRecordAndGoesToTheMenu) {
    TWorld w(WithRecord());
    StartPractice(w.F(), "stage3");
    w.F().Playing = false;
    w.F().Score = 9000;
    new TGameOverSprite(w.E());
    w.Frame(190);
    EXPECT_FALSE(w.F().NameEntry);
    EXPECT_EQ(w.F().HighScore, 500);
    EXPECT_EQ(w.F().Log.CountOf("menu"), 1);
    EXPECT_EQ(w.ReadScoreFile(), kRecord);
}

TEST(Practice, AClearedPracticeUnlocksNothingAndWritesNothing) {
    TWorld w(WithRecord());
    StartPractice(w.F(), "TGadnicESprite");
    w.F().Score = 9000;
    new TGameClearSprite(w.E());
    w.Frame(190);
    EXPECT_EQ(w.F().ExtraOpen, 0);
    EXPECT_FALSE(w.F().Button6.Visible);
    EXPECT_FALSE(w.F().NameEntry);
    EXPECT_EQ(w.F().HighScore, 500);
    EXPECT_EQ(w.ReadScoreFile(), kRecord);
    EXPECT_EQ(w.F().Log.CountOf("menu"), 1);
    // The next game from the menu is a normal one again, and its record counts.
    w.F().Button1Click();
    EXPECT_FALSE(w.F().Practice);
}
