// The Extra Stage: its start from the menu button and its timeline up to Dagar and beyond.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "bosses/BossTest.h"
#include "bosses/Dagar.h"
#include "enemies/Sign.h"
#include "enemies/ZakoA.h"
#include "enemies/ZakoIJ.h"
#include "player/HitBox.h"
#include "player/Ship.h"
#include "stages/ExtraStage.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

// A record with the Extra Stage unlocked.
kvtest::TWorldOptions Unlocked() {
    kvtest::TWorldOptions o;
    o.ScoreFile = "\r\n0\r\n\r\n1\r\n";
    return o;
}

TEST(ExtraStage, TheButtonStartsAGameWithTheExtraMusicAndScript) {
    TWorld w(Unlocked());
    TForm1& F = w.F();
    ASSERT_TRUE(F.Button6.Visible);
    ASSERT_TRUE(F.Button6.OnClick);
    TSprite* title = F.TitleSprite.Get();
    F.Score = 0;
    F.Button6.OnClick();
    EXPECT_EQ(w.Audio.Names(), std::vector<std::string>{"Pingpong"});
    EXPECT_TRUE(F.Playing);
    EXPECT_TRUE(F.HudOn);
    EXPECT_FALSE(F.ResetDone);
    EXPECT_EQ(F.StageNo, 5);
    EXPECT_EQ(F.StageCount, 0);
    EXPECT_EQ(F.HP, 10);
    EXPECT_EQ(F.Bomb, 3);
    EXPECT_TRUE(title->Killed);
    for (TButton* b : {&F.Button1, &F.Button2, &F.Button3, &F.Button4, &F.Button6}) EXPECT_FALSE(b->Visible);
    EXPECT_NE(F.MediaFileName.find("musics/1-0-1.mp3"), std::string::npos);
    // Ship, then hit box, then the script.
    auto made = w.E()->Children();
    ASSERT_GE(made.size(), 3u);
    EXPECT_TRUE(IsA<TZikiSprite>(made[made.size() - 3]));
    EXPECT_TRUE(IsA<TZikiHanteiSprite>(made[made.size() - 2]));
    EXPECT_TRUE(IsA<TExtraStageSprite>(made.back()));
    EXPECT_TRUE(F.ZikiSprite == made[made.size() - 3]);
    EXPECT_TRUE(F.ZikiHanteiSprite == made[made.size() - 2]);
    auto starts = kvtest::EventsOf(w, "start");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].find("\"mode\":\"extra\""), std::string::npos);
    auto stages = kvtest::EventsOf(w, "stage");
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_NE(stages[0].find("\"stage\":5"), std::string::npos);
}

// What the script created on a step: a short class tag and the place.
struct TMade {
    int32_t Count;
    std::string Kind;
    double X, Y;
    bool operator==(const TMade&) const = default;
};

std::string KindOf(TSprite* S) {
    if (auto* s = dynamic_cast<TSignASprite*>(S)) return "Sign" + std::to_string(s->Mode);
    if (IsA<TZakoAASprite>(S)) return "AA";
    if (IsA<TZakoABSprite>(S)) return "AB";
    if (IsA<TZakoACSprite>(S)) return "AC";
    if (IsA<TZakoISprite>(S)) return "I";
    if (IsA<TZakoJSprite>(S)) return "J";
    if (IsA<TDagarASprite>(S)) return "Dagar";
    return "";
}

// Plays the stage from its start (the hit box takes no damage) up to the given step.
std::vector<TMade> PlayTo(TWorld& w, int32_t Last) {
    w.F().Invincible = true;
    w.F().Button6.OnClick();
    std::vector<TMade> made;
    kvtest::TFrameBudget budget;
    while (w.F().StageCount < Last) {
        budget.Spend();
        w.E()->Purge();
        const size_t before = w.E()->Children().size();
        w.Frame();
        if (!w.F().Playing) break;
        const auto& k = w.E()->Children();
        for (size_t i = before; i < k.size(); ++i)
            if (std::string kind = KindOf(k[i]); !kind.empty()) made.push_back({w.F().StageCount, kind, k[i]->X, k[i]->Y});
    }
    return made;
}

std::vector<TMade> On(const std::vector<TMade>& All, int32_t From, int32_t To) {
    std::vector<TMade> out;
    for (const TMade& m : All)
        if (m.Count >= From && m.Count <= To) out.push_back(m);
    return out;
}

TEST(ExtraStage, TheTimelineRunsToDagarAndTheScriptKeepsCounting) {
    TWorld w(Unlocked());
    const std::vector<TMade> all = PlayTo(w, 2100);
    ASSERT_TRUE(w.F().Playing);

    // A wall of twelve emitters in two rows of six.
    const auto wall = On(all, 1, 41);
    ASSERT_EQ(wall.size(), 12u);
    for (size_t i = 0; i < 12; ++i)
        EXPECT_EQ(wall[i], (TMade{41, "Sign0", 54.0 * (i % 6), i < 6 ? 0.0 : 50.0}));

    // Ten sprayers, then emitter pairs walking down the side edges every 30 frames.
    const auto rows = On(all, 42, 449);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0], (TMade{51, "I", 35, -25}));
    EXPECT_EQ(rows[9], (TMade{331, "I", 235, -25}));
    const auto sides = On(all, 450, 700);
    ASSERT_EQ(sides.size(), 18u);
    for (size_t i = 0; i < 18; ++i)
        EXPECT_EQ(sides[i], (TMade{451 + 30 * static_cast<int32_t>(i / 2), "Sign0", i % 2 ? 270.0 : 0.0, 53.75 * (i / 2)}));

    // The sweep of Zako A craft, in the order B, C, A, to the right and back.
    const auto sweep = On(all, 701, 1199);
    ASSERT_EQ(sweep.size(), 17u);
    EXPECT_EQ(sweep[0], (TMade{870, "AB", 27, -25}));
    EXPECT_EQ(sweep[8], (TMade{990, "AA", 243, -25}));
    EXPECT_EQ(sweep[16], (TMade{1110, "AC", 27, -25}));

    EXPECT_EQ(On(all, 1200, 1499), (std::vector<TMade>{{1200, "Sign2", 0, 430}, {1200, "Sign2", 270, 430},
                                                       {1285, "Sign2", 0, 0}, {1285, "Sign2", 270, 0}}));
    EXPECT_EQ(On(all, 1500, 1799), (std::vector<TMade>{{1500, "J", 135, -25}, {1580, "J", 0, -25},
                                                       {1580, "J", 270, -25}, {1660, "J", 135, -200},
                                                       {1660, "I", 0, -50}, {1660, "I", 270, -350}}));

    // One emitter every 5 frames around the border, back to (0, 0): 39 in all.
    const auto ring = On(all, 1800, 2099);
    ASSERT_EQ(ring.size(), 39u);
    for (size_t i = 0; i < ring.size(); ++i) {
        EXPECT_EQ(ring[i].Count, 1800 + 5 * static_cast<int32_t>(i));
        EXPECT_EQ(ring[i].Kind, "Sign0");
        const bool onBorder = ring[i].X == 0 || ring[i].X == 270 || ring[i].Y == 0 || ring[i].Y == 430;
        EXPECT_TRUE(onBorder) << i;
    }
    EXPECT_EQ(ring[9], (TMade{1845, "Sign0", 270, 0}));
    EXPECT_EQ(ring[19], (TMade{1895, "Sign0", 270, 430}));
    EXPECT_EQ(ring[29], (TMade{1945, "Sign0", 0, 387}));
    EXPECT_EQ(ring[38], (TMade{1990, "Sign0", 0, 0}));

    EXPECT_EQ(On(all, 2100, 2100), (std::vector<TMade>{{2100, "Dagar", 120, 80}}));
    EXPECT_TRUE(w.F().DagarASprite);
    EXPECT_NE(w.F().MediaFileName.find("musics/5-1.mp3"), std::string::npos);
    EXPECT_EQ(w.F().AttackName, "怨弾「天地爆閃・其の壱」");

    // The script stays and counts on without further entries.
    w.E()->Purge();
    const size_t before = w.E()->Children().size();
    w.Frame(2);
    EXPECT_EQ(w.F().StageCount, 2102);
    EXPECT_EQ(w.LiveCountOf<TExtraStageSprite>(), 1);
    const auto& k = w.E()->Children();
    for (size_t i = before; i < k.size(); ++i) EXPECT_EQ(KindOf(k[i]), "") << i;

    // Once the game is over it stops counting and goes.
    w.F().Playing = false;
    w.Frame();
    EXPECT_EQ(w.F().StageCount, 2102);
    EXPECT_EQ(w.LiveCountOf<TExtraStageSprite>(), 0);
}

}  // namespace
