// Sign emitters: the fade-in, the four burst patterns and the shape of their rings, and a Sign's
// life past the end of a game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "bosses/Marco.h"
#include "enemies/Sign.h"
#include "player/HitReactions.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

void Playing(TWorld& w) {
    w.F().Playing = true;
    w.F().LastHanteiX = 156;
    w.F().LastHanteiY = 430;
}

// Runs a Sign at (X, Y) to its burst and returns what the burst created, in creation order.
std::vector<TSprite*> Burst(TWorld& w, double X, double Y, int32_t Mode) {
    auto* sign = new TSignASprite(w.E(), X, Y, Mode);
    w.Frame(84);
    EXPECT_FALSE(sign->Killed);
    w.E()->Purge();
    const size_t before = w.E()->Children().size();
    w.Frame();
    EXPECT_TRUE(sign->Killed);
    const auto& c = w.E()->Children();
    return {c.begin() + static_cast<std::ptrdiff_t>(before), c.end()};
}

// Checks Count bullets of class T from Shots[First…], at (X, Y), with the given directions.
template <class T>
void ExpectRing(const std::vector<TSprite*>& Shots, size_t First, double X, double Y,
                const std::vector<int32_t>& Directions) {
    ASSERT_GE(Shots.size(), First + Directions.size());
    for (size_t i = 0; i < Directions.size(); ++i) {
        auto* s = dynamic_cast<T*>(Shots[First + i]);
        ASSERT_NE(s, nullptr) << "bullet " << First + i;
        EXPECT_DOUBLE_EQ(s->X, X);
        EXPECT_DOUBLE_EQ(s->Y, Y);
        EXPECT_EQ(s->Direction, Directions[i]);
        EXPECT_NEAR(std::hypot(s->VX, s->VY), T::Speed, 1e-12);
    }
}

std::vector<int32_t> Steps(int32_t First, int32_t Step, int32_t Last) {
    std::vector<int32_t> d;
    for (int32_t v = First; v <= Last; v += Step) d.push_back(v);
    return d;
}

// The gaps, in degrees, between neighbouring flight directions of a ring, all the way round.
std::vector<double> Gaps(const std::vector<TSprite*>& Ring) {
    std::vector<double> a;
    for (TSprite* s : Ring) {
        auto* shot = static_cast<TSignShotSprite*>(s);
        double t = std::atan2(shot->VY, shot->VX);
        if (t < 0) t += 2 * std::numbers::pi;
        a.push_back(t);
    }
    std::sort(a.begin(), a.end());
    std::vector<double> g;
    for (size_t i = 0; i + 1 < a.size(); ++i) g.push_back((a[i + 1] - a[i]) * 180 / std::numbers::pi);
    g.push_back((a.front() + 2 * std::numbers::pi - a.back()) * 180 / std::numbers::pi);
    return g;
}

}  // namespace

TEST(Sign, FadesInSpinningAndBurstsOnItsEightyFifthStep) {
    TWorld w;
    Playing(w);
    auto* sign = new TSignASprite(w.E(), 40, 50, 1);
    EXPECT_EQ(sign->Alpha, 0);
    EXPECT_EQ(sign->Angle, 0);
    w.Frame(84);
    EXPECT_EQ(sign->Alpha, 252);
    EXPECT_EQ(w.CountOf<TSignShotASprite>(), 0);
    w.Frame();
    EXPECT_TRUE(sign->Killed);
    EXPECT_EQ(sign->Alpha, 255);
    EXPECT_EQ(sign->Angle, 595);
    EXPECT_DOUBLE_EQ(sign->BurstX, 40);
    EXPECT_DOUBLE_EQ(sign->BurstY, 50);
    EXPECT_DOUBLE_EQ(sign->X, 40);  // it never moves
    EXPECT_FALSE(IsShootable(sign));
}

TEST(Sign, ModeZeroFiresTheThreeAimedBigBullets) {
    TWorld w;
    Playing(w);
    auto shots = Burst(w, 100, 60, 0);
    ASSERT_EQ(shots.size(), 3u);
    auto* a = dynamic_cast<TMarcoCShotASprite*>(shots[0]);
    auto* b = dynamic_cast<TMarcoCShotBSprite*>(shots[1]);
    auto* c = dynamic_cast<TMarcoCShotCSprite*>(shots[2]);
    ASSERT_TRUE(a && b && c);
    const double want = std::atan2(420 - 70.0, 146 - 110.0);
    for (auto [s, v] : {std::pair<TMarcoStraightShotSprite*, double>{a, 5}, {b, 4}, {c, 3}}) {
        EXPECT_DOUBLE_EQ(s->X, 110);
        EXPECT_DOUBLE_EQ(s->Y, 70);
        EXPECT_NEAR(std::hypot(s->VX, s->VY), v, 1e-12);
        EXPECT_NEAR(std::atan2(s->VY, s->VX), want, 1e-12);
    }
}

TEST(Sign, ModeOneIsOneRingOfTwentyTwoCoveringTheCircle) {
    TWorld w;
    Playing(w);
    auto shots = Burst(w, 100, 60, 1);
    ASSERT_EQ(shots.size(), 22u);
    ExpectRing<TSignShotASprite>(shots, 0, 115, 75, Steps(0, 6, 126));
    auto g = Gaps(shots);
    // 16.2° apart, with one wider gap of 19.3° where the turn closes.
    EXPECT_EQ(std::count_if(g.begin(), g.end(), [](double d) { return std::abs(d - 16.225) < 0.01; }), 21);
    EXPECT_NEAR(*std::max_element(g.begin(), g.end()), 19.27, 0.01);
}

TEST(Sign, ModeTwoIsThreeConcentricRingsSeparatedBySpeed) {
    TWorld w;
    Playing(w);
    auto shots = Burst(w, 0, 430, 2);
    ASSERT_EQ(shots.size(), 66u);
    const auto d = Steps(0, 6, 126);
    ExpectRing<TSignShotASprite>(shots, 0, 15, 445, d);
    ExpectRing<TSignShotBSprite>(shots, 22, 15, 445, d);
    ExpectRing<TSignShotCSprite>(shots, 44, 15, 445, d);
    for (size_t i = 0; i < 22; ++i) {  // one direction per bullet of each ring
        auto* a = static_cast<TSignShotSprite*>(shots[i]);
        auto* c = static_cast<TSignShotSprite*>(shots[44 + i]);
        EXPECT_NEAR(a->VX * 2, c->VX * 4, 1e-12);
        EXPECT_NEAR(a->VY * 2, c->VY * 4, 1e-12);
    }
}

TEST(Sign, ModeThreeIsFiveRingsOfFortyFiveUnevenlySpread) {
    TWorld w;
    Playing(w);
    auto shots = Burst(w, 150, 200, 3);
    ASSERT_EQ(shots.size(), 225u);
    const auto d = Steps(0, 1, 44);
    ExpectRing<TSignShotASprite>(shots, 0, 165, 215, d);
    ExpectRing<TSignShotBSprite>(shots, 45, 165, 215, d);
    ExpectRing<TSignShotCSprite>(shots, 90, 165, 215, d);
    ExpectRing<TSignShotDSprite>(shots, 135, 165, 215, d);
    ExpectRing<TSignShotESprite>(shots, 180, 165, 215, d);
    auto g = Gaps({shots.begin(), shots.begin() + 45});
    EXPECT_NEAR(*std::min_element(g.begin(), g.end()), 1.01, 0.01);
    EXPECT_NEAR(*std::max_element(g.begin(), g.end()), 8.62, 0.01);
}

TEST(Sign, AnUnknownModeFadesInAndVanishesWithoutFiring) {
    for (int32_t mode : {4, -1}) {
        TWorld w;
        Playing(w);
        EXPECT_TRUE(Burst(w, 100, 100, mode).empty()) << mode;
    }
}

TEST(Sign, OutlivesTheEndOfTheGameAndItsLateBulletsLeaveAtOnce) {
    TWorld w;
    Playing(w);
    auto* sign = new TSignASprite(w.E(), 100, 100, 1);
    w.Frame(10);
    w.F().Playing = false;
    w.Frame(74);
    EXPECT_FALSE(sign->Killed);
    w.Frame();
    EXPECT_TRUE(sign->Killed);
    ASSERT_EQ(w.CountOf<TSignShotASprite>(), 22);
    w.Frame();
    EXPECT_EQ(w.LiveCountOf<TSignShotASprite>(), 0);
}

TEST(SignShots, FlyAlongWholeRadiansAndLeaveTwentyPixelsBeyondTopAndLeft) {
    TWorld w;
    Playing(w);
    auto* right = new TSignShotASprite(w.E(), 100, 100, 0);
    auto* six = new TSignShotBSprite(w.E(), 100, 100, 6);
    w.Frame();
    EXPECT_DOUBLE_EQ(right->X, 104);
    EXPECT_DOUBLE_EQ(right->Y, 100);
    EXPECT_GT(six->X, 100);
    EXPECT_LT(six->Y, 100);  // sin 6 < 0: slightly upward
    EXPECT_DOUBLE_EQ(six->X, 100 + std::cos(6.0) * 3);

    auto* left = new TSignShotCSprite(w.E(), -18.5, 100, 3);  // cos 3 ≈ -0.99: 2 px left a frame
    auto* up = new TSignShotCSprite(w.E(), 100, -18, 5);      // sin 5 ≈ -0.96: to -19.9, then -21.8
    auto* beyond = new TSignShotDSprite(w.E(), 330, 490, 0);  // made outside: gone on its first step
    w.Frame();
    EXPECT_TRUE(left->Killed);
    EXPECT_FALSE(up->Killed);
    EXPECT_TRUE(beyond->Killed);
    w.Frame();
    EXPECT_TRUE(up->Killed);
}
