// The three straight-flying bullets.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "bullets/GadnicShots.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

TEST(GadnicShots, FlyStraightAtTheirSpeedAlongTheDirectionInRadians) {
    TWorld w;
    w.F().Playing = true;
    auto* right = new TGadnicShotASprite(w.E(), 100, 100, 0);
    auto* down = new TGadnicShotASprite(w.E(), 100, 100, std::numbers::pi / 2);
    auto* b = new TGadnicShotBSprite(w.E(), 100, 100, std::numbers::pi);
    auto* c = new TGadnicShotCSprite(w.E(), 100, 100, -std::numbers::pi / 2);
    EXPECT_EQ(right->Image, w.F().Picture("Bullet1"));
    EXPECT_EQ(b->Image, w.F().Picture("Bullet2"));
    EXPECT_EQ(c->Image, w.F().Picture("Bullet3"));
    EXPECT_EQ(right->Angle, 0);
    w.Frame(2);
    EXPECT_DOUBLE_EQ(right->X, 112);
    EXPECT_DOUBLE_EQ(right->Y, 100);
    EXPECT_NEAR(down->X, 100, 1e-12);
    EXPECT_DOUBLE_EQ(down->Y, 112);
    EXPECT_NEAR(b->X, 90, 1e-12);
    EXPECT_NEAR(c->Y, 92, 1e-12);
}

TEST(GadnicShots, LeaveOnlyAfterAMovePastTheMargins) {
    TWorld w;
    w.F().Playing = true;
    auto* edge = new TGadnicShotASprite(w.E(), 310, 100, 0);
    auto* outside = new TGadnicShotCSprite(w.E(), -100, 100, 0);  // made outside: moves once first
    auto* top = new TGadnicShotBSprite(w.E(), 100, -15, -std::numbers::pi / 2);
    w.Frame();
    EXPECT_DOUBLE_EQ(edge->X, 316);
    EXPECT_FALSE(edge->Killed);
    EXPECT_DOUBLE_EQ(outside->X, -96);
    EXPECT_TRUE(outside->Killed);
    EXPECT_NEAR(top->Y, -20, 1e-12);
    EXPECT_FALSE(top->Killed) << "-20 is still inside";
    w.Frame();
    EXPECT_TRUE(edge->Killed);
    EXPECT_TRUE(top->Killed);
}
