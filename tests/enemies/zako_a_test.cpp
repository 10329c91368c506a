// The Zako A family: descent, the shared hover counter, volleys, the shadow and the bullet.
#include <gtest/gtest.h>

#include "enemies/ZakoA.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

struct TPlayingWorld : TWorld {
    TPlayingWorld() { F().Playing = true; }
};

}  // namespace

TEST(ZakoA, DescendsOvershootsThenFourVolleysAndTheShadow) {
    TPlayingWorld w;
    auto* craft = new TZakoABSprite(w.E(), 100, -25);
    EXPECT_EQ(craft->Image, w.F().Picture("Enemy2-1"));
    EXPECT_EQ(craft->Life, 0);
    w.Frame(43);
    EXPECT_DOUBLE_EQ(craft->Y, 61);
    EXPECT_EQ(w.F().ZakoABCount, 0);

    std::vector<int> volleyFrames;
    size_t seen = 0;
    for (int hover = 1; hover <= 44; ++hover) {
        w.Frame();
        ASSERT_EQ(w.F().ZakoABCount, hover);
        auto bullets = w.All<TZakoAShotASprite>();
        if (bullets.size() == seen) continue;
        volleyFrames.push_back(hover);
        ASSERT_EQ(bullets.size() - seen, 3u);
        const int32_t order[] = {224, 0, 32};
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(bullets[seen + i]->Angle, order[i]);
            EXPECT_DOUBLE_EQ(bullets[seen + i]->X, 115);
            EXPECT_DOUBLE_EQ(bullets[seen + i]->Y, 61);
        }
        seen = bullets.size();
    }
    EXPECT_EQ(volleyFrames, (std::vector<int>{10, 20, 30, 40}));
    EXPECT_DOUBLE_EQ(craft->Y, 61) << "it never moves while hovering";
    EXPECT_EQ(w.CountOf<TZakoAShadowSprite>(), 0);

    w.Frame();  // the 45th hovering step
    EXPECT_TRUE(craft->Killed);
    EXPECT_EQ(w.F().ZakoABCount, 0);
    auto shadows = w.All<TZakoAShadowSprite>();
    ASSERT_EQ(shadows.size(), 1u);
    EXPECT_DOUBLE_EQ(shadows[0]->X, 100);
    EXPECT_DOUBLE_EQ(shadows[0]->Y, 61);

    // The shadow leaves at 6 a frame and goes once it is above −25.
    w.Frame(14);
    EXPECT_DOUBLE_EQ(shadows[0]->Y, 61 - 6 * 14);  // −23
    EXPECT_FALSE(shadows[0]->Killed);
    w.Frame();
    EXPECT_TRUE(shadows[0]->Killed);
}

TEST(ZakoA, TwoCraftOfOneClassShareTheCounterAndOnlyTheOneHittingAThresholdActs) {
    TPlayingWorld w;
    auto* first = new TZakoACSprite(w.E(), 20, 60);
    auto* second = new TZakoACSprite(w.E(), 200, 60);
    w.F().ZakoACCount = 1;  // left over: the first now lands on the even values
    w.Frame(4);
    EXPECT_EQ(w.F().ZakoACCount, 9);
    w.Frame();  // first → 10, second → 11
    auto bullets = w.All<TZakoAShotASprite>();
    ASSERT_EQ(bullets.size(), 3u);
    for (auto* b : bullets) EXPECT_DOUBLE_EQ(b->X, 35);
    // The others of the family keep their own counters.
    new TZakoAASprite(w.E(), 0, 60);
    w.Frame(17);  // first reaches 44, second 45
    EXPECT_FALSE(first->Killed);
    EXPECT_TRUE(second->Killed);
    EXPECT_EQ(w.F().ZakoACCount, 0);
    EXPECT_EQ(w.F().ZakoAACount, 17);
    EXPECT_EQ(w.All<TZakoAShadowSprite>().front()->X, 200);
}

TEST(ZakoAShot, MovesByItsDirectionAndLeavesOnlyBelow480) {
    TPlayingWorld w;
    auto* left = new TZakoAShotASprite(w.E(), 100, 100, 224);
    auto* down = new TZakoAShotASprite(w.E(), 100, 100, 0);
    auto* right = new TZakoAShotASprite(w.E(), 100, 100, 32);
    auto* other = new TZakoAShotASprite(w.E(), 100, 100, 64);
    EXPECT_EQ(left->Image, w.F().Picture("Bullet3"));
    w.Frame(2);
    EXPECT_DOUBLE_EQ(left->X, 100 - 4.8);
    EXPECT_DOUBLE_EQ(left->Y, 100 + 9.6);
    EXPECT_DOUBLE_EQ(down->X, 100);
    EXPECT_DOUBLE_EQ(down->Y, 100 + 13.2);
    EXPECT_DOUBLE_EQ(right->X, 100 + 4.8);
    EXPECT_DOUBLE_EQ(other->X, 100);
    EXPECT_DOUBLE_EQ(other->Y, 100);

    auto* sideways = new TZakoAShotASprite(w.E(), -500, 0, 224);
    auto* edge = new TZakoAShotASprite(w.E(), 0, 473.4, 0);  // to exactly 480
    auto* past = new TZakoAShotASprite(w.E(), 0, 473.5, 0);
    w.Frame();
    EXPECT_FALSE(sideways->Killed);
    EXPECT_FALSE(edge->Killed);
    EXPECT_TRUE(past->Killed);
}

TEST(ZakoA, EverythingLeavesOnItsNextStepOnceTheGameEnds) {
    TPlayingWorld w;
    auto* hovering = new TZakoAASprite(w.E(), 10, 100);
    auto* descending = new TZakoAASprite(w.E(), 10, -25);
    auto* shadow = new TZakoAShadowSprite(w.E(), 10, 100);
    auto* bullet = new TZakoAShotASprite(w.E(), 10, 100, 0);
    w.Frame();
    w.F().Playing = false;
    w.Frame();
    for (TSprite* s : std::initializer_list<TSprite*>{hovering, descending, shadow, bullet}) EXPECT_TRUE(s->Killed);
}
