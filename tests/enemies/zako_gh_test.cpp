// The star craft: the fall to y = 80, the hand-over to the column's diver, and the dive
// velocity that all divers of one class share.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/ZakoGH.h"
#include "player/HitReactions.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

void Playing(TWorld& w, double HanteiX = 156, double HanteiY = 430) {
    w.F().Playing = true;
    w.F().LastHanteiX = HanteiX;
    w.F().LastHanteiY = HanteiY;
}

template <class T>
void ExpectHandOver(double Column) {
    TWorld w;
    Playing(w);
    auto* h = new TZakoHSprite(w.E(), Column);
    EXPECT_DOUBLE_EQ(h->Y, -32);
    w.Frame(27);
    EXPECT_DOUBLE_EQ(h->Y, 76);
    EXPECT_EQ(w.CountOf<TZakoGSprite>(), 0);
    w.Frame();
    EXPECT_TRUE(h->Killed);
    auto divers = w.All<TZakoGSprite>();
    ASSERT_EQ(divers.size(), 1u) << Column;
    EXPECT_NE(dynamic_cast<T*>(divers[0]), nullptr) << Column;
    EXPECT_DOUBLE_EQ(divers[0]->X, Column);
    EXPECT_DOUBLE_EQ(divers[0]->Y, 80);
}

}  // namespace

TEST(ZakoH, FallsTwentyEightStepsAndHandsOverToItsColumnsDiver) {
    ExpectHandOver<TZakoGASprite>(0);
    ExpectHandOver<TZakoGBSprite>(32);
    ExpectHandOver<TZakoGCSprite>(64);
    ExpectHandOver<TZakoGDSprite>(96);
    ExpectHandOver<TZakoGESprite>(128);
    ExpectHandOver<TZakoGFSprite>(160);
    ExpectHandOver<TZakoGGSprite>(192);
    ExpectHandOver<TZakoGHSprite>(224);
    ExpectHandOver<TZakoGISprite>(256);
    ExpectHandOver<TZakoGJSprite>(288);
}

TEST(ZakoH, OffAColumnItVanishesAtEightyAndOffTheGridItNeverStops) {
    TWorld w;
    Playing(w);
    auto* offColumn = new TZakoHSprite(w.E(), 100);
    auto* offGrid = new TZakoHSprite(w.E(), 96);
    offGrid->Y = -31;
    w.Frame(28);
    EXPECT_TRUE(offColumn->Killed);
    EXPECT_FALSE(offGrid->Killed);
    EXPECT_EQ(w.CountOf<TZakoGSprite>(), 0);
    w.Frame(200);
    EXPECT_FALSE(offGrid->Killed);
    EXPECT_DOUBLE_EQ(offGrid->Y, -31 + 4 * 228);
    EXPECT_FALSE(IsShootable(offGrid));
}

TEST(ZakoG, AimsElevenPixelsAboveAndLeftOfTheHitBoxAndDivesAtFour) {
    TWorld w;
    Playing(w, 200, 400);
    auto* g = new TZakoGCSprite(w.E());
    const double t = std::atan2(400 - 11 - 80.0, 200 - 11 - 64.0);
    EXPECT_DOUBLE_EQ(g->Dive().DiveVX, std::cos(t) * 4);
    EXPECT_DOUBLE_EQ(g->Dive().DiveVY, std::sin(t) * 4);
    w.Frame();
    EXPECT_DOUBLE_EQ(g->X, 64 + std::cos(t) * 4);
    EXPECT_DOUBLE_EQ(g->Y, 80 + std::sin(t) * 4);
    EXPECT_FALSE(IsShootable(g));
    for (int i = 0; i < 300 && !g->Killed; ++i) w.Frame();
    ASSERT_TRUE(g->Killed);
    EXPECT_GT(g->Y, 480);  // removed on the first step below 480
    EXPECT_LE(g->Y - g->Dive().DiveVY, 480);
}

TEST(ZakoG, TwoDiversOfOneClassShareOneDirectionOthersKeepTheirOwn) {
    TWorld w;
    Playing(w, 300, 300);
    auto* first = new TZakoGASprite(w.E());
    auto* other = new TZakoGBSprite(w.E());
    const double otherVX = other->Dive().DiveVX, otherVY = other->Dive().DiveVY;
    w.Frame(5);
    const double x5 = first->X, y5 = first->Y;
    w.F().LastHanteiX = 0;  // the player moves to the left edge; a new diver of class A aims there
    w.F().LastHanteiY = 480;
    auto* second = new TZakoGASprite(w.E());
    EXPECT_EQ(&first->Dive(), &second->Dive());
    EXPECT_EQ(&w.F().Vars<TZakoGDiveOf<TZakoGASprite>>(), &first->Dive());
    w.Frame();
    const double t = std::atan2(480 - 11 - 80.0, 0 - 11 - 0.0);
    EXPECT_DOUBLE_EQ(first->X, x5 + std::cos(t) * 4);
    EXPECT_DOUBLE_EQ(first->Y, y5 + std::sin(t) * 4);
    EXPECT_DOUBLE_EQ(second->X, std::cos(t) * 4);
    EXPECT_DOUBLE_EQ(other->Dive().DiveVX, otherVX);
    EXPECT_DOUBLE_EQ(other->Dive().DiveVY, otherVY);
}

TEST(ZakoG, ADiverAimedUpwardStaysUntilTheGameEnds) {
    TWorld w;
    Playing(w, 150, 20);  // the player above y = 91
    auto* g = new TZakoGJSprite(w.E());
    w.Frame(400);
    EXPECT_FALSE(g->Killed);
    EXPECT_LT(g->Y, -500);
    w.F().Playing = false;
    w.Frame();
    EXPECT_TRUE(g->Killed);
}
