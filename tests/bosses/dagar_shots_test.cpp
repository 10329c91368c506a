// Dagar's five bullet kinds: the step numbers of their motions, their rebound and re-aim, and
// their removal frames.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "bosses/DagarShots.h"
#include "bosses/BossTest.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

// Steps a sprite on its own, as the move pass would.
void StepOf(TSprite* S, int N = 1) {
    for (int i = 0; i < N; ++i) S->Step(1);
}

// ---- class A: out, halt, back ----

struct TOutHaltBack {
    double Speed;
    int OutLast;     // last step that flies out
    double Distance; // how far it gets
    int BackFrom;    // first step that flies back
};

TEST(DagarShotA, FliesOutHaltsAndFliesBackOnTheStepsOfItsSpeed) {
    const TOutHaltBack table[] = {{1.5, 38, 57, 81}, {2, 31, 62, 66}, {2.5, 23, 57.5, 51},
                                  {3, 16, 48, 36},   {3.5, 8, 28, 21}, {4, 1, 4, 6}};
    for (const auto& row : table) {
        TWorld w;
        kvtest::PlayingAt(w);
        // Direction 0: the whole motion shows in X.
        auto* s = new TDagarShotASprite(w.E(), 150, 200, 0, row.Speed, 1);
        for (int a = 1; a <= row.BackFrom + 2; ++a) {
            const double before = s->X;
            StepOf(s);
            ASSERT_EQ(s->Age, a);
            const double moved = s->X - before;
            if (a <= row.OutLast)
                EXPECT_DOUBLE_EQ(moved, row.Speed) << "speed " << row.Speed << " step " << a;
            else if (a < row.BackFrom)
                EXPECT_DOUBLE_EQ(moved, 0) << "speed " << row.Speed << " step " << a;
            else
                EXPECT_DOUBLE_EQ(moved, -row.Speed) << "speed " << row.Speed << " step " << a;
            if (a == row.OutLast) EXPECT_DOUBLE_EQ(s->X, 150 + row.Distance) << "speed " << row.Speed;
            EXPECT_DOUBLE_EQ(s->Y, 200);
        }
    }
}

TEST(DagarShotA, TheFastestComesBackThroughItsStartAndLeavesOnTheFarSide) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* s = new TDagarShotASprite(w.E(), 150, 200, M_PI, 4, 2);  // flies left first
    EXPECT_EQ(s->Image->Name, "高彩小弾2");
    StepOf(s, 6);
    EXPECT_NEAR(s->X, 150, 1e-9);  // out 4, back 4 on step 6
    int steps = 6;
    while (!s->Killed && steps < 1000) {
        StepOf(s);
        ++steps;
    }
    EXPECT_GT(s->X, 320);  // went on to the right edge
    EXPECT_EQ(steps, 6 + 43);  // 150 + 4 × 43 = 322 is the first X past 320
}

// ---- class B: sweep, rebound, home ----

TEST(DagarShotB, ReboundsAtTheEdgesAndHomesInTheSameStep) {
    TWorld w;
    kvtest::PlayingAt(w, 135, 430);  // hit box at (156, 430)
    auto* right = new TDagarShotBSprite(w.E(), 300, 100, 5, 0, 0, -80, 3, 3);
    auto* left = new TDagarShotBSprite(w.E(), 10, 100, -5, 0, 60, 0, 3, 1);
    StepOf(right);
    StepOf(left);
    ASSERT_TRUE(right->Bounced);
    ASSERT_TRUE(left->Bounced);
    // Put back to 310 and 0, then one homing move of Speed × Speed towards the aim point.
    const double ar = std::atan2(430 - 80 - 100.0, 156 - 310.0);
    EXPECT_NEAR(right->X, 310 + std::cos(ar) * 9, 1e-9);
    EXPECT_NEAR(right->Y, 100 + std::sin(ar) * 9, 1e-9);
    EXPECT_NEAR(right->AimX, std::cos(ar) * 3, 1e-9);
    const double al = std::atan2(430 - 100.0, 156 + 60 - 0.0);
    EXPECT_NEAR(left->X, std::cos(al) * 9, 1e-9);
    EXPECT_NEAR(left->Y, 100 + std::sin(al) * 9, 1e-9);

    // It does not re-aim when the player moves away.
    kvtest::PlayingAt(w, 0, 0);
    const double x = left->X, y = left->Y;
    StepOf(left);
    EXPECT_NEAR(left->X - x, std::cos(al) * 9, 1e-9);
    EXPECT_NEAR(left->Y - y, std::sin(al) * 9, 1e-9);
}

TEST(DagarShotB, ABulletSweepingStraightDownNeverReboundsAndLeavesAtTheBottom) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* s = new TDagarShotBSprite(w.E(), 150, 400, 0, 1, 0, -80, 3, 2);
    int steps = 0;
    while (!s->Killed && steps < 100) {
        StepOf(s);
        ++steps;
        EXPECT_FALSE(s->Bounced);
    }
    EXPECT_EQ(steps, 27);  // 400 + 27 × 3 = 481
    EXPECT_DOUBLE_EQ(s->X, 150);
}

// ---- class C: straight ----

TEST(DagarShotC, FliesStraightAndKeepsNoSpeed) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* s = new TDagarShotCSprite(w.E(), 100, 100, M_PI / 2, 2.5, 3);
    EXPECT_EQ(s->Image->Name, "高彩小弾3");
    StepOf(s, 2);
    EXPECT_NEAR(s->X, 100, 1e-9);
    EXPECT_NEAR(s->Y, 105, 1e-9);
    auto* edge = new TDagarShotCSprite(w.E(), 0, 100, M_PI, 10, 1);
    StepOf(edge, 2);
    EXPECT_NEAR(edge->X, -20, 1e-9);
    EXPECT_FALSE(edge->Killed);  // X = -20 is still inside the band
    StepOf(edge);
    EXPECT_TRUE(edge->Killed);
}

// ---- class D: out, halt, re-aim ----

TEST(DagarShotD, HangsFromStep61AndReAimsOnStep150WithoutMoving) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* s = new TDagarShotDSprite(w.E(), 100, 100, 0, 2, 1);
    EXPECT_EQ(s->Image->Name, "高彩弾1");
    StepOf(s, 60);
    EXPECT_DOUBLE_EQ(s->X, 220);
    StepOf(s, 89);  // steps 61 to 149
    EXPECT_DOUBLE_EQ(s->X, 220);
    // The aim is taken on step 150, from where the player is then.
    kvtest::PlayingAt(w, 50, 300);  // hit box at (71, 300)
    StepOf(s);
    EXPECT_EQ(s->Age, 150);
    EXPECT_DOUBLE_EQ(s->X, 220);
    EXPECT_DOUBLE_EQ(s->Y, 100);
    const double b = std::atan2(300 - 5 - 100.0, 71 - 5 - 220.0);
    EXPECT_NEAR(s->VX, std::cos(b) * 2, 1e-12);
    EXPECT_NEAR(s->VY, std::sin(b) * 2, 1e-12);
    StepOf(s);
    EXPECT_NEAR(s->X, 220 + std::cos(b) * 2, 1e-12);
    EXPECT_NEAR(s->Y, 100 + std::sin(b) * 2, 1e-12);
}

TEST(DagarShotD, OneCreatedOffTheFieldGoesOnItsFirstStep) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* s = new TDagarShotDSprite(w.E(), 330, 100, M_PI, 2, 2);  // would fly back in
    StepOf(s);
    EXPECT_TRUE(s->Killed);
}

// ---- class E: wait on the circle, converge ----

TEST(DagarShotE, WaitsEightyStepsThenRunsThroughTheCentre) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* s = new TDagarShotESprite(w.E(), 155, 235, 40, 0, 3, 2);
    EXPECT_DOUBLE_EQ(s->X, 195);
    EXPECT_DOUBLE_EQ(s->Y, 235);
    StepOf(s, 80);
    EXPECT_DOUBLE_EQ(s->X, 195);
    StepOf(s);
    EXPECT_DOUBLE_EQ(s->X, 192);
    StepOf(s, 26);  // 40 pixels in and on past the centre
    EXPECT_LT(s->X, 155);
    EXPECT_FALSE(s->Killed);
}

TEST(DagarShotE, OnePlacedOutsideTheFieldGoesBeforeItEverMoves) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* s = new TDagarShotESprite(w.E(), 155, 235, 200, 0, 3, 1);  // X = 355
    StepOf(s);
    EXPECT_TRUE(s->Killed);
    EXPECT_DOUBLE_EQ(s->X, 355);
}

TEST(DagarShots, AllGoOnceNoGameIsRunning) {
    TWorld w;
    kvtest::PlayingAt(w);
    std::vector<TSprite*> shots = {
        new TDagarShotASprite(w.E(), 100, 100, 0, 2, 1), new TDagarShotBSprite(w.E(), 100, 100, 1, 0, 0, 0, 3, 1),
        new TDagarShotCSprite(w.E(), 100, 100, 0, 2, 1), new TDagarShotDSprite(w.E(), 100, 100, 0, 2, 1),
        new TDagarShotESprite(w.E(), 100, 100, 10, 0, 3, 1)};
    w.F().Playing = false;
    for (TSprite* s : shots) {
        StepOf(s);
        EXPECT_TRUE(s->Killed);
    }
}

}  // namespace
