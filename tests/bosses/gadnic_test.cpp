// Gadnic: the cross-fade and the music switch, the laser grid of phases A and C, the speed
// bands of phase B, the two-part chase of phase D, phase E's Signs, and the rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "bosses/BossTest.h"
#include "bosses/Gadnic.h"
#include "bullets/GadnicShots.h"
#include "bullets/Laser.h"
#include "enemies/Hits.h"
#include "enemies/Sign.h"
#include "player/HitReactions.h"
#include "player/Items.h"
#include "shell/EndScreens.h"

using namespace kv;
using namespace kvtest;

namespace {

struct TBeam {
    double X, Y;
    std::string Picture, Course;
    bool operator==(const TBeam&) const = default;
};
std::vector<TBeam> Beams(const std::vector<TSprite*>& Made) {
    std::vector<TBeam> out;
    for (auto* l : OfClass<TlazerASprite>(Made)) out.push_back({l->X, l->Y, l->Image ? l->Image->Name : "", l->Course});
    return out;
}
std::vector<TBeam> Pair(double Column, double Row) {
    return {{Column, -480, "lazer1", "縦"}, {-480, Row, "lazer2", "左右"}};
}

struct TSignAt {
    double X, Y;
    int32_t Mode;
    bool operator==(const TSignAt&) const = default;
};
std::vector<TSignAt> Signs(const std::vector<TSprite*>& Made) {
    std::vector<TSignAt> out;
    for (auto* s : OfClass<TSignASprite>(Made)) out.push_back({s->X, s->Y, s->Mode});
    return out;
}

// Runs the frames of one 220-step grid cycle and hands each step that made lasers, with what
// it made, to Check (at once: the sprites are freed later). Returns those steps.
template <class FCheck>
std::vector<int32_t> GridCycle(TWorld& w, FCheck&& Check) {
    std::vector<int32_t> steps;
    for (int32_t n = 1; n <= 220; ++n) {
        auto made = FrameCreated(w);
        if (OfClass<TlazerASprite>(made).empty()) continue;
        steps.push_back(n);
        Check(n, made);
    }
    return steps;
}

const std::vector<std::tuple<int32_t, double, double>> kGrid = {
    {1, 0, 0},     {21, 62, 94},   {41, 124, 188},  {61, 186, 282},  {81, 248, 376},  {101, 310, 470},
    {121, 31, 47}, {141, 93, 141}, {161, 155, 235}, {181, 217, 329}, {201, 279, 423},
};
std::vector<int32_t> GridSteps() {
    std::vector<int32_t> out;
    for (const auto& g : kGrid) out.push_back(std::get<0>(g));
    return out;
}

}  // namespace

// ---- the cross-fade ----

TEST(GadnicFade, TheGuardFadesInInEightyFiveStepsAndBecomesPhaseA) {
    TWorld w;
    PlayingAt(w);
    auto* fade = new TGadnicFadeSprite(w.E(), 1);
    w.F().GadnicFadeSprite = fade;
    EXPECT_EQ(fade->Alpha, 0);
    EXPECT_DOUBLE_EQ(fade->X, 135);
    EXPECT_DOUBLE_EQ(fade->Y, 60);
    EXPECT_FALSE(IsShootable(fade));
    w.Frame(84);
    EXPECT_EQ(fade->Alpha, 252);
    EXPECT_EQ(w.CountOf<TGadnicASprite>(), 0);
    w.Frame();
    EXPECT_TRUE(fade->Killed);
    auto* a = dynamic_cast<TGadnicASprite*>(w.F().GadnicASprite.Get());
    ASSERT_NE(a, nullptr);
    EXPECT_DOUBLE_EQ(a->X, 135);
    EXPECT_EQ(w.F().BossName, "ガドニック");
    EXPECT_EQ(w.F().AttackName, "転生「龍王再誕」");
}

TEST(GadnicFade, TheFadeOutBringsTheKingWhoSwitchesTheMusicAndBecomesPhaseB) {
    TWorld w;
    PlayingAt(w);
    auto* out = new TGadnicFadeSprite(w.E(), 0);
    EXPECT_EQ(out->Alpha, 255);
    w.Frame(84);
    EXPECT_EQ(out->Alpha, 3);
    EXPECT_EQ(w.CountOf<TGEFadeSprite>(), 0);
    w.Frame();
    EXPECT_TRUE(out->Killed);
    auto* king = dynamic_cast<TGEFadeSprite*>(w.F().GEFadeSprite.Get());
    ASSERT_NE(king, nullptr);
    EXPECT_EQ(king->Alpha, 0);
    EXPECT_DOUBLE_EQ(king->X, 120);
    const std::string music = w.F().MediaFileName;
    w.Frame(254);
    EXPECT_EQ(king->Alpha, 254);
    EXPECT_EQ(w.F().MediaFileName, music);
    EXPECT_EQ(w.CountOf<TGadnicBSprite>(), 0);
    w.Frame();
    EXPECT_TRUE(king->Killed);
    EXPECT_NE(w.F().MediaFileName.find("musics/4-1.mp3"), std::string::npos) << w.F().MediaFileName;
    auto* b = dynamic_cast<TGadnicBSprite*>(w.F().GadnicBSprite.Get());
    ASSERT_NE(b, nullptr);
    EXPECT_DOUBLE_EQ(b->X, 120);
    EXPECT_DOUBLE_EQ(b->Y, 60);
    EXPECT_EQ(w.F().BossName, "ガドニック王");
    EXPECT_EQ(w.F().AttackName, "炎牙「劫火災厄」");
}

TEST(GadnicFade, AFadeRunningWhenTheGameEndsStillBringsItsPhaseWhichThenLeaves) {
    TWorld w;
    auto* fade = new TGadnicFadeSprite(w.E(), 1);
    w.F().Playing = false;
    w.Frame(85);
    EXPECT_TRUE(fade->Killed);
    auto* a = w.F().GadnicASprite.Get();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(w.F().AttackName, "転生「龍王再誕」");  // its constructor has run
    w.Frame();
    EXPECT_TRUE(a->Killed);  // its first step still makes the first beams; they leave on theirs
    w.Frame();
    EXPECT_EQ(w.LiveCountOf<TlazerASprite>(), 0);
}

// ---- phases A and C: the laser grid ----

TEST(GadnicA, SweepsTheGridEveryTwoHundredTwentyStepsWithTheRingOnTheSixthPair) {
    TWorld w;
    PlayingAt(w);
    auto* a = new TGadnicASprite(w.E());
    w.F().GadnicASprite = a;
    for (int cycle = 0; cycle < 2; ++cycle) {
        auto steps = GridCycle(w, [&](int32_t n, const std::vector<TSprite*>& made) {
            const auto& [step, column, row] = *std::find_if(kGrid.begin(), kGrid.end(),
                                                            [&](auto& g) { return std::get<0>(g) == n; });
            // The beams come first, then the ring.
            ASSERT_GE(made.size(), 2u);
            EXPECT_EQ(Beams({made[0], made[1]}), Pair(column, row)) << n;
            const size_t ring = n == 101 ? 135 : 0;
            ASSERT_EQ(made.size(), 2 + ring) << n;
            for (size_t k = 0; k < ring; ++k) {
                TSprite* s = made[2 + k];
                const double d = k % 45;
                EXPECT_DOUBLE_EQ(s->X, a->X + 15);
                EXPECT_DOUBLE_EQ(s->Y, a->Y + 15);
                if (k < 45) EXPECT_DOUBLE_EQ(dynamic_cast<TGadnicShotASprite&>(*s).Direction, d);
                else if (k < 90) EXPECT_DOUBLE_EQ(dynamic_cast<TGadnicShotBSprite&>(*s).Direction, d);
                else EXPECT_DOUBLE_EQ(dynamic_cast<TGadnicShotCSprite&>(*s).Direction, d);
            }
        });
        EXPECT_EQ(steps, GridSteps()) << cycle;
        EXPECT_EQ(w.F().BossCounters[bcGadnicA], 0);
    }
    EXPECT_DOUBLE_EQ(a->X, 135);  // the guard does not move
    EXPECT_DOUBLE_EQ(a->Y, 60);
}

TEST(GadnicC, SweepsTheSameGridAndPlacesARingSignOnTheShipWithTheSeventhPair) {
    TWorld w;
    PlayingAt(w, 200, 380);
    auto* b = new TGadnicBSprite(w.E());
    b->X = 100;
    w.F().GadnicBSprite = b;
    b->Kill();
    auto* c = new TGadnicCSprite(w.E());
    w.F().GadnicCSprite = c;
    EXPECT_DOUBLE_EQ(c->X, 100);
    EXPECT_DOUBLE_EQ(c->Y, 60);
    EXPECT_EQ(w.F().AttackName, "氷牙「絶対零度」");
    auto steps = GridCycle(w, [&](int32_t n, const std::vector<TSprite*>& made) {
        const auto& [step, column, row] = *std::find_if(kGrid.begin(), kGrid.end(),
                                                        [&](auto& g) { return std::get<0>(g) == n; });
        ASSERT_EQ(made.size(), n == 121 ? 3u : 2u) << n;
        EXPECT_EQ(Beams({made[0], made[1]}), Pair(column, row)) << n;
        if (n == 121) EXPECT_EQ(Signs({made[2]}), (std::vector<TSignAt>{{210, 390, 1}}));
    });
    EXPECT_EQ(steps, GridSteps());
    EXPECT_EQ(w.F().BossCounters[bcGadnicC], 0);
    // The next cycle starts again with the beams at 0.
    EXPECT_EQ(Beams(FrameCreated(w)), Pair(0, 0));
}

// ---- phase B ----

TEST(GadnicB, TwinSpiralsGetFasterAtTheHundredthAndTwoHundredthHit) {
    struct TBand {
        int32_t Life;
        int Class;  // 0: none, 4/5/6: the speed of both bullets
    };
    for (const TBand& band : {TBand{0, 4}, {-99, 4}, {-100, 5}, {-199, 5}, {-200, 6}, {-299, 6}, {-300, 0}}) {
        TWorld w;
        PlayingAt(w);
        auto* b = new TGadnicBSprite(w.E());
        b->Life = band.Life;
        w.Frame(2);
        auto made = FrameCreated(w);  // n = 3
        if (band.Class == 0) {
            EXPECT_TRUE(made.empty()) << band.Life;
            continue;
        }
        ASSERT_EQ(made.size(), 2u) << band.Life;
        auto check = [&](TSprite* s, double d) {
            EXPECT_DOUBLE_EQ(s->X, 150);
            EXPECT_DOUBLE_EQ(s->Y, 90);
            double dir = 0, vx = 0, vy = 0;
            if (auto* a = dynamic_cast<TGadnicShotASprite*>(s); a && band.Class == 6) std::tie(dir, vx, vy) = std::tuple{a->Direction, a->VX, a->VY};
            else if (auto* bb = dynamic_cast<TGadnicShotBSprite*>(s); bb && band.Class == 5) std::tie(dir, vx, vy) = std::tuple{bb->Direction, bb->VX, bb->VY};
            else if (auto* c = dynamic_cast<TGadnicShotCSprite*>(s); c && band.Class == 4) std::tie(dir, vx, vy) = std::tuple{c->Direction, c->VX, c->VY};
            else ADD_FAILURE() << "wrong class at Life " << band.Life;
            EXPECT_DOUBLE_EQ(dir, d);
            EXPECT_NEAR(std::hypot(vx, vy), band.Class, 1e-12);
        };
        check(made[0], 93);
        check(made[1], -93);
    }
}

// ---- phase D ----

TEST(GadnicD, ChasesThePointLeftOfAndAboveTheHitBoxOneAxisAtATime) {
    TWorld w;
    PlayingAt(w, 30, 400);  // hit box at (51, 400): target (16, 365)
    auto* c = new TGadnicCSprite(w.E());
    w.F().GadnicCSprite = c;
    auto* d = new TGadnicDSprite(w.E());
    EXPECT_EQ(w.F().AttackName, "雷牙「轟音雷神」");
    double x = 120, y = 60;
    for (int i = 0; i < 20; ++i) {
        x += 2 * std::cos(std::atan2(365 - y, 16 - x));
        y += 2 * std::sin(std::atan2(365 - y, 16 - x));
        w.Frame();
        EXPECT_DOUBLE_EQ(d->X, x) << i;
        EXPECT_DOUBLE_EQ(d->Y, y) << i;
    }
    // Not 2 pixels in total: the second half aims from the new X.
    w.Frame();
    EXPECT_GT(std::hypot(d->X - x, d->Y - y), 2.0 + 1e-6);
}

TEST(GadnicD, PlacesThreeSignsOnTheThirtyFirstStepOfEachSixtyStepCycle) {
    TWorld w;
    PlayingAt(w, 105, 25);  // target (91, -10): the king settles near it
    auto* d = new TGadnicDSprite(w.E());
    for (int cycle = 0; cycle < 2; ++cycle) {
        w.Frame(30);
        EXPECT_EQ(w.CountOf<TSignASprite>(), cycle == 0 ? 0 : 3);
        auto made = FrameCreated(w);
        ASSERT_EQ(made.size(), 3u);
        EXPECT_EQ(Signs(made), (std::vector<TSignAt>{{d->X + 15, d->Y + 15, 0}, {d->X - 35, d->Y + 15, 0},
                                                      {d->X + 65, d->Y + 15, 0}}));
        w.Frame(29);
        EXPECT_EQ(w.F().BossCounters[bcGadnicD], 0);
    }
}

// ---- phase E ----

TEST(GadnicE, PlacesRowsCrossesAndRingsAroundTheShipThroughTheCycle) {
    TWorld w;
    PlayingAt(w, 135, 400);
    auto* ship = new TImageSpriteEx(w.E());  // only its place matters
    ship->X = 140;
    ship->Y = 390;
    w.F().ZikiSprite = ship;
    w.F().LastHanteiX = 0;  // the hit box is elsewhere: the Signs follow the ship
    w.F().LastHanteiY = 0;
    auto* e = new TGadnicESprite(w.E());
    EXPECT_DOUBLE_EQ(e->X, 120);
    EXPECT_EQ(e->Alpha, 64);
    EXPECT_TRUE(w.F().TaikyuuMode);
    EXPECT_EQ(w.F().TaikyuuCount, 80);
    EXPECT_EQ(w.F().AttackName, "魂弾「天地爆閃弾・極」");
    EXPECT_FALSE(IsShootable(e));

    const std::vector<TSignAt> row = {{90, 390, 0}, {140, 390, 0}, {190, 390, 0}, {40, 390, 0}, {240, 390, 0}};
    std::vector<TSignAt> cross = row;
    for (double dy : {-100, -50, 50, 100}) cross.push_back({140, 390 + dy, 0});
    std::vector<std::pair<int32_t, std::vector<TSignAt>>> seen;
    for (int32_t n = 1; n <= 530; ++n) {
        if (n == 300) ship->X = 60;  // read at the step of placement
        auto s = Signs(FrameCreated(w));
        if (!s.empty()) seen.push_back({n, s});
    }
    std::vector<std::pair<int32_t, std::vector<TSignAt>>> want;
    for (int32_t n : {21, 61, 101, 141, 181}) want.push_back({n, row});
    want.push_back({251, cross});
    auto moved = cross;
    for (auto& s : moved) s.X -= 80;
    for (int32_t n : {301, 341, 371, 391}) want.push_back({n, moved});
    for (int32_t n = 401; n <= 491; n += 10) want.push_back({n, {{60, 390, 1}}});
    ASSERT_EQ(seen.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(seen[i].first, want[i].first);
        EXPECT_EQ(seen[i].second, want[i].second) << want[i].first;
    }
    EXPECT_EQ(w.F().BossCounters[bcGadnicE], 0);  // 530 restarts the cycle, here without a Sign
}

TEST(GadnicE, TheFiveRingSignComesOnlyBelowFortySecondsLeft) {
    for (auto [seconds, signs] : {std::pair{40, 0u}, {41, 0u}, {39, 1u}, {1, 1u}}) {
        TWorld w;
        PlayingAt(w, 100, 300);
        new TGadnicESprite(w.E());
        w.Frame(529);
        w.F().TaikyuuCount = seconds;
        auto s = Signs(FrameCreated(w));
        ASSERT_EQ(s.size(), signs) << seconds;
        if (signs) EXPECT_EQ(s[0], (TSignAt{100, 300, 3}));
        EXPECT_EQ(w.F().BossCounters[bcGadnicE], 0) << seconds;
        EXPECT_EQ(Signs(FrameCreated(w)).size(), 0u);  // n = 1
    }
}

// ---- rows ----

TEST(GadnicRows, TheGuardsDefeatClearsTheNamesAndFadesItOut) {
    TWorld w;
    PlayingAt(w);
    w.F().HP = 4;
    auto* a = new TGadnicASprite(w.E());
    w.F().GadnicASprite = a;
    HitWithShots(w, a, 349);
    EXPECT_FALSE(a->Killed);
    const int32_t score = w.F().Score;
    HitWithShots(w, a, 1);
    EXPECT_TRUE(a->Killed);
    EXPECT_EQ(w.F().Score, score + 200 * 4 + 2500);
    auto hp = w.All<THPItemSprite>();
    ASSERT_EQ(hp.size(), 2u);
    EXPECT_DOUBLE_EQ(hp[0]->X, 140);
    EXPECT_DOUBLE_EQ(hp[1]->X, 160);
    EXPECT_DOUBLE_EQ(hp[0]->Y, 75);
    auto* fade = dynamic_cast<TGadnicFadeSprite*>(w.F().GadnicFadeSprite.Get());
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->FadeIn, 0);
    EXPECT_EQ(w.F().BossName, "");
    EXPECT_EQ(w.F().AttackName, "");
    ASSERT_EQ(EventsOf(w, "phase_end").size(), 1u);
}

TEST(GadnicRows, TheKingsPhasesPayTheirBonusBeforeTheNextPhaseBegins) {
    TWorld w;
    PlayingAt(w);
    w.F().HP = 10;
    w.F().GadnicBSprite = new TGadnicBSprite(w.E());
    const size_t start = w.F().Log.Lines().size();
    HitWithShots(w, w.F().GadnicBSprite.Get(), 300);
    ASSERT_NE(dynamic_cast<TGadnicCSprite*>(w.F().GadnicCSprite.Get()), nullptr);
    HitWithShots(w, w.F().GadnicCSprite.Get(), 180);
    ASSERT_NE(dynamic_cast<TGadnicDSprite*>(w.F().GadnicDSprite.Get()), nullptr);
    HitWithShots(w, w.F().GadnicDSprite.Get(), 200);
    ASSERT_NE(dynamic_cast<TGadnicESprite*>(w.F().GadnicESprite.Get()), nullptr);

    std::vector<std::string> order;
    const auto& lines = w.F().Log.Lines();
    for (size_t i = start; i < lines.size(); ++i) {
        for (const char* cls : {"TGadnicBSprite", "TGadnicCSprite", "TGadnicDSprite", "TGadnicESprite"})
            if (lines[i].find(cls) != std::string::npos)
                order.push_back((lines[i].find("phase_end") != std::string::npos ? "end " : "start ") + std::string(cls));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"end TGadnicBSprite", "start TGadnicCSprite", "end TGadnicCSprite",
                                               "start TGadnicDSprite", "end TGadnicDSprite",
                                               "start TGadnicESprite"}));
    EXPECT_EQ(w.F().Score, 3 * (200 * 10 + 2500));
    EXPECT_EQ(w.All<THPItemSprite>().size(), 3u);
    auto bombs = w.All<TBombItemSprite>();
    ASSERT_EQ(bombs.size(), 3u);
    EXPECT_DOUBLE_EQ(bombs[0]->X, 165);
    EXPECT_DOUBLE_EQ(bombs[0]->Y, 75);
    // C and D stood where the phase before them stood.
    EXPECT_DOUBLE_EQ(w.F().GadnicESprite->X, 120);
}

TEST(GadnicRows, OutlastingTheKingClearsTheGame) {
    TWorld w;
    PlayingAt(w);
    w.F().HP = 6;
    w.F().Score = 1000;
    w.F().GadnicESprite = new TGadnicESprite(w.E());
    for (int i = 0; i < 79; ++i) w.Tick();
    EXPECT_EQ(w.CountOf<TGameClearSprite>(), 0);
    w.Tick();
    EXPECT_TRUE(w.F().GadnicESprite->Killed);
    EXPECT_EQ(w.CountOf<TGameClearSprite>(), 1);
    EXPECT_EQ(w.F().Score, 1000 + 5000 + 500 * 6);
    EXPECT_FALSE(w.F().Playing);
    EXPECT_EQ(w.CountOf<TItemsSprite>(), 0);
    EXPECT_EQ(w.F().AttackName, "魂弾「天地爆閃弾・極」");  // shown until the menu returns
    EXPECT_EQ(EventsOf(w, "endurance_end").size(), 1u);
}

TEST(GadnicRows, GameOverRemovesThePhaseWhoseAttackIsShown) {
    TWorld w;
    PlayingAt(w);
    w.F().GadnicESprite = new TGadnicESprite(w.E());
    w.F().BossNameCheck();
    EXPECT_TRUE(w.F().GadnicESprite->Killed);
    w.F().GadnicCSprite = new TGadnicCSprite(w.E());
    w.F().BossNameCheck();
    EXPECT_TRUE(w.F().GadnicCSprite->Killed);
}
