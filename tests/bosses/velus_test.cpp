// Velus: phase A's bursts and volleys, the damage thresholds of A to C, phase D's table by the
// seconds left, the bullets, and the rows that chain and remove the phases.
#include <gtest/gtest.h>

#include <cmath>

#include "bosses/BossTest.h"
#include "bosses/Marco.h"
#include "bosses/Velus.h"
#include "enemies/Hits.h"
#include "player/HitReactions.h"
#include "player/Items.h"

using namespace kv;
using namespace kvtest;

namespace {

template <class T>
void ExpectShot(TSprite* S, double X, double Y, double Direction, const char* What) {
    auto* t = dynamic_cast<T*>(S);
    ASSERT_NE(t, nullptr) << What;
    EXPECT_DOUBLE_EQ(t->X, X) << What;
    EXPECT_DOUBLE_EQ(t->Y, Y) << What;
    EXPECT_DOUBLE_EQ(t->Direction, Direction) << What;
    EXPECT_DOUBLE_EQ(t->VX, std::cos(Direction) * T::Speed) << What;
    EXPECT_DOUBLE_EQ(t->VY, std::sin(Direction) * T::Speed) << What;
}

// The classes of the sprites, as letters: 'a' for TVelusShotA … , 'M', 'N', 'O' for Marco's
// aimed A, B, C.
std::string Kinds(const std::vector<TSprite*>& S) {
    std::string out;
    for (TSprite* s : S) {
        if (IsA<TVelusShotASprite>(s)) out += 'a';
        else if (IsA<TVelusShotBSprite>(s)) out += 'b';
        else if (IsA<TVelusShotCSprite>(s)) out += 'c';
        else if (IsA<TMarcoCShotASprite>(s)) out += 'M';
        else if (IsA<TMarcoCShotBSprite>(s)) out += 'N';
        else if (IsA<TMarcoCShotCSprite>(s)) out += 'O';
        else out += '?';
    }
    return out;
}

}  // namespace

// ---- phase A ----

TEST(VelusA, SinksIntoViewAndBurstsFromRandomPointsOfTheTopBand) {
    TWorld w;
    PlayingAt(w);
    w.F().VelusASprite = new TVelusASprite(w.E());
    auto* a = w.All<TVelusASprite>().front();
    EXPECT_DOUBLE_EQ(a->X, 130);
    EXPECT_DOUBLE_EQ(a->Y, -60);
    EXPECT_EQ(w.F().BossName, "直属兵ヴェルス");
    EXPECT_EQ(w.F().AttackName, "地砲「爆散砲」");
    ASSERT_EQ(EventsOf(w, "phase").size(), 1u);
    EXPECT_NE(EventsOf(w, "phase")[0].find("TVelusASprite"), std::string::npos);

    TRandom r = w.F().RandomGen;
    for (int burst = 0; burst < 3; ++burst) {
        // Bursts on the first step and on counts 30 and 60; each has its own origin.
        if (burst > 0) w.Frame(29);
        const double bx = r.Random(310), by = r.Random(90);
        auto made = FrameCreated(w);
        ASSERT_EQ(made.size(), 23u) << burst;
        for (int i = 0; i < 23; ++i) ExpectShot<TVelusShotASprite>(made[i], bx, by, 2.0 * i, "burst");
    }
    EXPECT_DOUBLE_EQ(a->Y, 0);  // 61 steps: it stopped at the top edge after 60
    EXPECT_DOUBLE_EQ(a->X, 130);
}

TEST(VelusA, AimsOnTheNinetiethStepAndBurstsAgainOnTheNext) {
    TWorld w;
    PlayingAt(w, 200, 400);
    w.F().VelusASprite = new TVelusASprite(w.E());
    auto* a = w.All<TVelusASprite>().front();
    w.Frame(89);
    auto volley = FrameCreated(w);  // the 90th step: count 89
    EXPECT_EQ(Kinds(volley), "M");
    EXPECT_DOUBLE_EQ(volley[0]->X, a->X + 15);
    EXPECT_DOUBLE_EQ(volley[0]->Y, a->Y + 15);
    EXPECT_EQ(w.F().BossCounters[bcVelusA], 0);
    EXPECT_EQ(FrameCreated(w).size(), 23u);  // the next cycle begins with a burst
}

TEST(VelusA, AddsAimedBulletsBelowMinusOneHundredAndMinusTwoHundred) {
    for (auto [life, want] : {std::pair{-100, "M"}, {-101, "MN"}, {-200, "MN"}, {-201, "MNO"}}) {
        TWorld w;
        PlayingAt(w);
        w.F().VelusASprite = new TVelusASprite(w.E());
        w.All<TVelusASprite>().front()->Life = life;
        w.Frame(89);
        EXPECT_EQ(Kinds(FrameCreated(w)), want) << life;
    }
}

// ---- phase B ----

TEST(VelusB, MovesDownToSeventyAndFiresOneTurningStream) {
    TWorld w;
    PlayingAt(w);
    auto* a = new TVelusASprite(w.E());
    a->X = 90;
    a->Y = 0;
    w.F().VelusASprite = a;
    a->Kill();
    w.F().VelusBSprite = new TVelusBSprite(w.E());
    auto* b = w.All<TVelusBSprite>().front();
    EXPECT_DOUBLE_EQ(b->X, 90);
    EXPECT_DOUBLE_EQ(b->Y, 0);
    EXPECT_EQ(w.F().AttackName, "天砲「裂空砲」");
    EXPECT_EQ(w.F().BossName, "直属兵ヴェルス");  // B keeps the name A set
    for (int32_t n = 1; n <= 12; ++n) {
        auto made = FrameCreated(w);
        ASSERT_EQ(made.size(), 1u);
        // The move comes before the shot, so the bullet leaves from the new place.
        ExpectShot<TVelusShotASprite>(made[0], 110, b->Y + 20, n, "stream");
        EXPECT_DOUBLE_EQ(b->Y, std::min(7.0 * n, 70.0));
    }
}

TEST(VelusB, AddsFasterBulletsBelowMinusOneHundredAndMinusTwoHundred) {
    for (auto [life, want] : {std::pair{-100, "a"}, {-101, "ab"}, {-200, "ab"}, {-201, "abc"}}) {
        TWorld w;
        PlayingAt(w);
        w.F().VelusBSprite = new TVelusBSprite(w.E());
        w.All<TVelusBSprite>().front()->Life = life;
        auto made = FrameCreated(w);
        EXPECT_EQ(Kinds(made), want) << life;
        for (TSprite* s : made) EXPECT_DOUBLE_EQ(dynamic_cast<TVelusShotSprite*>(s)->Direction, 1);
    }
}

// ---- phase C ----

TEST(VelusC, SwitchesToTheFasterStreamsOnTheHundredthHitAndStopsOnTheTwoHundredth) {
    for (auto [life, want] : {std::pair{0, "aa"}, {-99, "aa"}, {-100, "bb"}, {-199, "bb"}, {-200, ""}}) {
        TWorld w;
        PlayingAt(w);
        w.F().VelusCSprite = new TVelusCSprite(w.E());
        auto* c = w.All<TVelusCSprite>().front();
        c->Life = life;
        w.Frame(4);
        auto made = FrameCreated(w);  // n = 5
        ASSERT_EQ(Kinds(made), want) << life;
        if (made.size() == 2) {
            EXPECT_DOUBLE_EQ(dynamic_cast<TVelusShotSprite*>(made[0])->Direction, 15);
            EXPECT_DOUBLE_EQ(dynamic_cast<TVelusShotSprite*>(made[1])->Direction, -15);
            EXPECT_DOUBLE_EQ(made[0]->X, c->X + 20);
        }
        EXPECT_DOUBLE_EQ(c->Y, 70);  // C does not move
    }
}

// ---- phase D ----

TEST(VelusD, TakesPhaseCsPlaceAsATranslucentEnduranceAttack) {
    TWorld w;
    PlayingAt(w);
    auto* c = new TVelusCSprite(w.E());
    c->X = 40;
    c->Y = 70;
    w.F().VelusCSprite = c;
    auto* d = new TVelusDSprite(w.E());
    EXPECT_DOUBLE_EQ(d->X, 40);
    EXPECT_DOUBLE_EQ(d->Y, 70);
    EXPECT_EQ(d->Alpha, 96);
    EXPECT_TRUE(w.F().TaikyuuMode);
    EXPECT_EQ(w.F().TaikyuuCount, 50);
    EXPECT_EQ(w.F().AttackName, "魂弾「天地爆閃弾γ」");
    EXPECT_FALSE(IsShootable(d));
    EXPECT_FALSE(IsA<TBossSprite>(d));  // touching it does nothing
}

TEST(VelusD, FiresByTheSecondsLeftAndKeepsTheLastRowAtZeroAndBelow) {
    TWorld w;
    PlayingAt(w);
    w.F().VelusDSprite = new TVelusDSprite(w.E());  // no phase C: at (130, 70)
    struct TRow {
        int32_t Seconds;
        double Turn;  // 0: nothing
    };
    const TRow rows[] = {{50, 0},   {45, 0},  {44, 6},   {40, 6},  {39, -6}, {35, -6}, {34, 19},
                         {30, 19},  {29, -19}, {25, -19}, {24, 6},  {20, 6},  {19, -6}, {15, -6},
                         {14, 19},  {10, 19},  {9, -19},  {5, -19}};
    for (const TRow& r : rows) {
        w.F().TaikyuuCount = r.Seconds;
        auto made = FrameCreated(w);
        const double n = w.F().BossCounters[bcVelusD];
        if (r.Turn == 0) {
            EXPECT_TRUE(made.empty()) << r.Seconds;
            continue;
        }
        ASSERT_EQ(Kinds(made), "abc") << r.Seconds;
        ExpectShot<TVelusShotASprite>(made[0], 150, 90, r.Turn * n, "A");
        ExpectShot<TVelusShotBSprite>(made[1], 150, 90, r.Turn * n, "B");
        ExpectShot<TVelusShotCSprite>(made[2], 150, 90, r.Turn * n, "C");
    }
    for (int32_t seconds : {4, 1, 0, -3}) {
        w.F().TaikyuuCount = seconds;
        auto made = FrameCreated(w);
        const double n = w.F().BossCounters[bcVelusD];
        ASSERT_EQ(Kinds(made), "abcabc") << seconds;
        const double dirs[] = {n, 2 * n, 4 * n, -n, -2 * n, -4 * n};
        for (int i = 0; i < 6; ++i)
            EXPECT_DOUBLE_EQ(dynamic_cast<TVelusShotSprite*>(made[i])->Direction, dirs[i]) << seconds;
    }
}

TEST(VelusD, CountsFromOneAndOutlivesTheEndOfTheGame) {
    TWorld w;
    PlayingAt(w);
    w.F().VelusDSprite = new TVelusDSprite(w.E());
    w.F().TaikyuuCount = 44;
    auto first = FrameCreated(w);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_DOUBLE_EQ(dynamic_cast<TVelusShotSprite*>(first[0])->Direction, 6);
    w.F().Playing = false;
    for (int i = 0; i < 3; ++i) {
        auto made = FrameCreated(w);
        EXPECT_FALSE(w.All<TVelusDSprite>().front()->Killed);
        // It goes on firing; its bullets leave on their first step.
        EXPECT_EQ(made.size(), 3u);
        EXPECT_EQ(w.LiveCountOf<TVelusShotSprite>(), 3);
    }
}

// ---- bullets ----

TEST(VelusShots, SpeedsAndRemovalJustPastTheEdges) {
    TWorld w;
    PlayingAt(w);
    auto* down = new TVelusShotCSprite(w.E(), 100, 474, M_PI / 2);
    auto* left = new TVelusShotASprite(w.E(), -16, 100, M_PI);  // to -20 exactly: stays
    auto* up = new TVelusShotBSprite(w.E(), 100, -15.5, -M_PI / 2);  // to -20.5: leaves
    w.Frame();
    EXPECT_DOUBLE_EQ(down->Y, 480);
    EXPECT_FALSE(down->Killed);
    EXPECT_NEAR(left->X, -20, 1e-12);
    EXPECT_TRUE(up->Killed);
    w.Frame();
    EXPECT_TRUE(down->Killed);  // 486 > 480
    EXPECT_TRUE(left->Killed);
}

// ---- rows ----

TEST(VelusRows, EachTwoHundredthHitEndsAPhaseWithItsItemsBonusAndSuccessor) {
    TWorld w;
    PlayingAt(w);
    w.F().HP = 7;
    w.F().VelusASprite = new TVelusASprite(w.E());
    w.Frame(70);  // Velus has reached Y 0
    auto* a = w.All<TVelusASprite>().front();
    HitWithShots(w, a, 199);
    EXPECT_FALSE(a->Killed);
    const int32_t score = w.F().Score;
    HitWithShots(w, a, 1);
    EXPECT_TRUE(a->Killed);
    EXPECT_EQ(w.F().Score, score + 200 * 7 + 2000);
    auto hp = w.All<THPItemSprite>();
    ASSERT_EQ(hp.size(), 2u);
    EXPECT_DOUBLE_EQ(hp[0]->X, 140);
    EXPECT_DOUBLE_EQ(hp[1]->X, 160);
    EXPECT_DOUBLE_EQ(hp[1]->Y, 15);
    auto* b = dynamic_cast<TVelusBSprite*>(w.F().VelusBSprite.Get());
    ASSERT_NE(b, nullptr);
    EXPECT_DOUBLE_EQ(b->Y, 0);
    HitWithShots(w, a, 1);  // a second shot on the dying phase changes nothing
    EXPECT_EQ(w.CountOf<TVelusBSprite>(), 1);

    w.Frame(10);
    HitWithShots(w, b, 200);
    auto* c = dynamic_cast<TVelusCSprite*>(w.F().VelusCSprite.Get());
    ASSERT_NE(c, nullptr);
    EXPECT_DOUBLE_EQ(c->Y, 70);
    EXPECT_EQ(w.All<TBombItemSprite>().size(), 1u);
    HitWithShots(w, c, 200);
    ASSERT_NE(dynamic_cast<TVelusDSprite*>(w.F().VelusDSprite.Get()), nullptr);
    EXPECT_EQ(w.All<TBombItemSprite>().size(), 2u);
    EXPECT_EQ(w.F().BossName, "直属兵ヴェルス");  // one name for all phases

    const auto phases = EventsOf(w, "phase");
    ASSERT_EQ(phases.size(), 4u);
    const char* order[] = {"TVelusASprite", "TVelusBSprite", "TVelusCSprite", "TVelusDSprite"};
    for (int i = 0; i < 4; ++i) EXPECT_NE(phases[i].find(order[i]), std::string::npos) << i;
    EXPECT_EQ(EventsOf(w, "phase_end").size(), 3u);
}

TEST(VelusRows, GameOverRemovesThePhaseWhoseAttackIsShown) {
    TWorld w;
    PlayingAt(w);
    w.F().VelusDSprite = new TVelusDSprite(w.E());
    w.F().BossNameCheck();
    EXPECT_TRUE(w.F().VelusDSprite->Killed);
    w.F().VelusASprite = new TVelusASprite(w.E());
    w.F().BossNameCheck();
    EXPECT_TRUE(w.F().VelusASprite->Killed);
}
