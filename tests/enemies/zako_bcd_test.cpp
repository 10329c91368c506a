// Zako B, C and D: carriers turning at their column's point, the shared spirals, and the row
// that the player's shots apply to the whole family.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <typeinfo>

#include "enemies/Hits.h"
#include "enemies/ZakoB.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

struct TPlayingWorld : TWorld {
    TPlayingWorld() { F().Playing = true; }
};

struct TTurn {
    double X, Y;
    const std::type_info& Class;
    int Steps;
};

}  // namespace

TEST(ZakoD, EachColumnTurnsIntoItsCraftAtItsRowOnItsStep) {
    const TTurn turns[] = {
        {0, 190, typeid(TZakoCASprite), 44},   {30, 160, typeid(TZakoCBSprite), 38},
        {60, 130, typeid(TZakoCCSprite), 32},  {90, 100, typeid(TZakoCDSprite), 26},
        {200, 100, typeid(TZakoBASprite), 26}, {230, 130, typeid(TZakoBBSprite), 32},
        {260, 160, typeid(TZakoBCSprite), 38}, {290, 190, typeid(TZakoBDSprite), 44},
    };
    for (const TTurn& t : turns) {
        TPlayingWorld w;
        auto* carrier = new TZakoDSprite(w.E(), t.X);
        EXPECT_DOUBLE_EQ(carrier->Y, -30);
        EXPECT_EQ(carrier->Image, w.F().Picture("Enemy1-2"));
        w.Frame(t.Steps - 1);
        EXPECT_FALSE(carrier->Killed) << t.X;
        EXPECT_EQ(w.E()->Children().size(), 2u) << "title and carrier only";
        w.Frame();
        EXPECT_TRUE(carrier->Killed) << t.X;
        TSprite* craft = w.E()->Children().back();
        ASSERT_EQ(typeid(*craft), t.Class) << t.X;
        EXPECT_DOUBLE_EQ(craft->X, t.X);
        EXPECT_DOUBLE_EQ(craft->Y, t.Y);
        auto& v = w.F().Vars<TZakoBCVars>();
        const int index = t.X < 150 ? zsCA + static_cast<int>(t.X / 30) : zsBA + static_cast<int>((t.X - 200) / 30);
        EXPECT_DOUBLE_EQ(v.OriginX[index], t.X);
        EXPECT_DOUBLE_EQ(v.OriginY[index], t.Y);
        EXPECT_EQ(w.F().ZakoBCCounts[index], 0) << "the craft has not stepped yet";
    }
}

TEST(ZakoD, OffTheTableOrOffTheGridItFallsForEver) {
    TPlayingWorld w;
    auto* between = new TZakoDSprite(w.E(), 100);
    auto* offGrid = new TZakoDSprite(w.E(), 0);
    offGrid->Y = -31;  // passes 189 and 194, never 190
    w.Frame(200);
    EXPECT_FALSE(between->Killed);
    EXPECT_FALSE(offGrid->Killed);
    EXPECT_DOUBLE_EQ(between->Y, 970);
    EXPECT_EQ(w.E()->Children().size(), 3u);
    w.F().Playing = false;
    w.Frame();
    EXPECT_TRUE(between->Killed);
    EXPECT_TRUE(offGrid->Killed);
}

TEST(ZakoSpiral, BWindsClockwiseFromItsCentreAndLeavesPastTheRightEdge) {
    TPlayingWorld w;
    auto* b = new TZakoBASprite(w.E(), 200, 100);
    w.Frame();
    EXPECT_EQ(w.F().ZakoBCCounts[zsBA], 1);
    EXPECT_NEAR(b->X, 200 + std::cos(std::numbers::pi / 100), 1e-12);
    EXPECT_NEAR(b->Y, 100 + std::sin(std::numbers::pi / 100), 1e-12);
    EXPECT_EQ(b->Angle, 1);
    w.Frame(49);  // n = 50: a quarter turn, radius 50, straight below the centre
    EXPECT_NEAR(b->X, 200, 1e-9);
    EXPECT_NEAR(b->Y, 150, 1e-9);
    EXPECT_EQ(b->Angle, 50);
    int n = 50;
    while (!b->Killed && n < 400) {
        w.Frame();
        ++n;
        if (!b->Killed) EXPECT_LE(b->X, 320) << n;
    }
    EXPECT_GT(b->X, 320);
    EXPECT_GE(n, 157);
    EXPECT_LE(n, 175);
    EXPECT_LT(b->Y, 240) << "B craft leave through the upper part of the right edge";
}

TEST(ZakoSpiral, CIsTheBSpiralTurnedHalfATurnAndLeavesPastMinus30) {
    TPlayingWorld w;
    auto* c = new TZakoCASprite(w.E(), 0, 190);
    w.Frame(50);
    EXPECT_NEAR(c->X, 0, 1e-9);
    EXPECT_NEAR(c->Y, 140, 1e-9);
    EXPECT_EQ(c->Angle, -50);
    w.Frame(50);  // n = 100: half a turn, to the right of the centre
    EXPECT_NEAR(c->X, 100, 1e-9);
    EXPECT_NEAR(c->Y, 190, 1e-9);
    while (!c->Killed && w.F().ZakoBCCounts[zsCA] < 400) {
        EXPECT_GE(c->X, -30);
        w.Frame();
    }
    EXPECT_LT(c->X, -30);
    EXPECT_GT(c->Y, 240) << "C craft leave through the lower part of the left edge";
    const int32_t n = w.F().ZakoBCCounts[zsCA];
    EXPECT_GE(n, 157);
    EXPECT_LE(n, 175);
}

TEST(ZakoSpiral, InstancesOfOneClassShareTheCountAndTheLatestCentre) {
    TPlayingWorld w;
    auto* first = new TZakoBBSprite(w.E(), 230, 130);
    w.Frame(10);
    EXPECT_EQ(w.F().ZakoBCCounts[zsBB], 10);
    auto* second = new TZakoBBSprite(w.E(), 100, 300);
    auto* other = new TZakoCBSprite(w.E(), 30, 160);
    w.Frame();
    // Both craft step: the count moves by two, and both sit on the new centre's spiral.
    EXPECT_EQ(w.F().ZakoBCCounts[zsBB], 12);
    EXPECT_EQ(w.F().ZakoBCCounts[zsCB], 1) << "each class has its own count";
    EXPECT_NEAR(first->X, 100 + 11 * std::cos(11 * std::numbers::pi / 100), 1e-9);
    EXPECT_NEAR(second->X, 100 + 12 * std::cos(12 * std::numbers::pi / 100), 1e-9);
    EXPECT_NEAR(second->Y, 300 + 12 * std::sin(12 * std::numbers::pi / 100), 1e-9);
    (void)other;

    // A dead craft leaves its count behind; only the reset clears it.
    first->Kill();
    second->Kill();
    w.Frame();
    auto* third = new TZakoBBSprite(w.E(), 230, 130);
    w.Frame();
    EXPECT_EQ(w.F().ZakoBCCounts[zsBB], 13);
    EXPECT_NEAR(third->Y, 130 + 13 * std::sin(13 * std::numbers::pi / 100), 1e-9);
    w.F().Shokika();
    EXPECT_EQ(w.F().ZakoBCCounts[zsBB], 0);
    EXPECT_EQ(w.F().ZakoBCCounts[zsCB], 0);
}

TEST(ZakoBRow, EveryCraftOfTheFamilyDiesOnItsEleventhHitFor25Points) {
    TPlayingWorld w;
    TEnemySprite* craft[] = {new TZakoDSprite(w.E(), 0), new TZakoBCSprite(w.E(), 260, 160),
                             new TZakoCDSprite(w.E(), 90, 100)};
    int32_t score = 0;
    for (TEnemySprite* c : craft) {
        kvtest::HitWithShots(w, c, 10);
        EXPECT_EQ(c->Life, -10);
        EXPECT_FALSE(c->Killed);
        EXPECT_EQ(w.F().Score, score);
        kvtest::HitWithShots(w, c, 1);
        EXPECT_TRUE(c->Killed);
        score += 25;
        EXPECT_EQ(w.F().Score, score);
    }
    // A second shot on the dying craft in the same frame pays again.
    kvtest::HitWithShots(w, craft[0], 1);
    EXPECT_EQ(w.F().Score, score + 25);
}
