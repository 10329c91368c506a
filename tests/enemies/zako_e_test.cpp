// Zako E: the cross at the top edge, the burst at y = 180, the returners and divers, and the
// two bullet kinds.
#include <gtest/gtest.h>

#include <cmath>
#include <typeinfo>

#include "enemies/Hits.h"
#include "enemies/ZakoE.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

// A game in progress with the hit box's last place at (HX, HY) and no ship.
struct TPlayingWorld : TWorld {
    explicit TPlayingWorld(double HX = 156, double HY = 430) {
        F().Playing = true;
        F().LastHanteiX = HX;
        F().LastHanteiY = HY;
    }
};

template <class T>
void ExpectShot(TSprite* S, double X, double Y, int32_t Angle) {
    auto* t = dynamic_cast<T*>(S);
    ASSERT_NE(t, nullptr) << "direction " << Angle;
    EXPECT_DOUBLE_EQ(t->X, X);
    EXPECT_DOUBLE_EQ(t->Y, Y);
    EXPECT_EQ(t->Angle, Angle);
}

}  // namespace

TEST(ZakoE, EveryColumnFiresItsCrossAtTheTopAndItsBurstAt180) {
    struct TColumn {
        double X;
        const std::type_info& Next;
    };
    const TColumn columns[] = {{0, typeid(TZakoEASprite)},        {58, typeid(TZakoEReturnSprite)},
                               {116, typeid(TZakoEReturnSprite)}, {174, typeid(TZakoEReturnSprite)},
                               {232, typeid(TZakoEReturnSprite)}, {290, typeid(TZakoEFSprite)}};
    for (const TColumn& c : columns) {
        TPlayingWorld w;
        auto* ring = new TZakoESprite(w.E(), c.X);
        EXPECT_EQ(ring->Image, w.F().Picture("Ring1"));
        w.Frame(4);
        EXPECT_EQ(w.E()->Children().size(), 2u) << "nothing before y = 0";
        w.Frame();  // y = 0
        const auto& k = w.E()->Children();
        ASSERT_EQ(k.size(), 6u);
        const int32_t cross[] = {32, 96, 160, 224};
        for (int i = 0; i < 4; ++i) ExpectShot<TZakoEShotBSprite>(k[2 + i], c.X + 10, 10, cross[i]);
        EXPECT_EQ(k[2]->Width, 20);
        EXPECT_EQ(static_cast<TImageSprite*>(k[2])->Image, w.F().Picture("Bullet1"));

        w.E()->Purge();
        const size_t before = w.E()->Children().size();
        w.Frame(29);
        EXPECT_FALSE(ring->Killed);
        EXPECT_DOUBLE_EQ(ring->Y, 174);
        w.E()->Purge();
        const size_t mark = w.E()->Children().size();
        EXPECT_LE(mark, before);
        w.Frame();  // y = 180
        EXPECT_TRUE(ring->Killed);
        ASSERT_EQ(w.E()->Children().size(), mark + 9) << c.X;
        for (int i = 0; i < 8; ++i) {
            TSprite* s = w.E()->Children()[mark + i];
            if (i % 2 == 0) {
                ExpectShot<TZakoEShotASprite>(s, c.X + 10, 190, 32 * i);
                EXPECT_EQ(static_cast<TImageSprite*>(s)->Image, w.F().Picture("Bullet2"));
            } else {
                ExpectShot<TZakoEShotBSprite>(s, c.X + 10, 190, 32 * i);
            }
        }
        TSprite* next = w.E()->Children()[mark + 8];
        EXPECT_EQ(typeid(*next), c.Next) << c.X;
        EXPECT_DOUBLE_EQ(next->X, c.X);
        EXPECT_DOUBLE_EQ(next->Y, 180);
    }
}

TEST(ZakoE, OffAColumnOrOffTheGridItNeitherFiresNorTurns) {
    TPlayingWorld w;
    auto* between = new TZakoESprite(w.E(), 100);
    auto* offGrid = new TZakoESprite(w.E(), 58);
    offGrid->Y = -31;
    w.Frame(100);
    EXPECT_EQ(w.E()->Children().size(), 3u);
    EXPECT_FALSE(between->Killed);
    EXPECT_FALSE(offGrid->Killed);
    EXPECT_DOUBLE_EQ(between->Y, 570) << "no position limit";
}

TEST(ZakoE, ReturnerFliesStraightBackUpAndLeavesAboveMinus30) {
    TPlayingWorld w;
    auto* r = new TZakoEReturnSprite(w.E(), 58, 180);
    w.Frame(35);
    EXPECT_DOUBLE_EQ(r->Y, -30);
    EXPECT_FALSE(r->Killed) << "-30 is still inside";
    w.Frame();
    EXPECT_TRUE(r->Killed);
}

TEST(ZakoE, DiversAimTenPixelsUpLeftOfTheHitBoxAndShareTheirClassDirection) {
    TPlayingWorld w(156, 430);
    auto* a = new TZakoEASprite(w.E(), 0, 180);
    const double theta = std::atan2(430.0 - 10 - 180, 156.0 - 10 - 0);
    EXPECT_NEAR(w.F().Vars<TZakoEAVars>().DiveVX, std::cos(theta) * 4, 1e-12);
    EXPECT_NEAR(w.F().Vars<TZakoEAVars>().DiveVY, std::sin(theta) * 4, 1e-12);
    w.Frame();
    EXPECT_NEAR(a->X, std::cos(theta) * 4, 1e-12);
    EXPECT_NEAR(a->Y, 180 + std::sin(theta) * 4, 1e-12);

    // The right-hand diver has its own pair; a second left-hand diver turns the first.
    w.F().LastHanteiX = 290;
    w.F().LastHanteiY = 100;  // above y = 190: it aims up and is never removed by position
    new TZakoEFSprite(w.E(), 290, 180);
    EXPECT_NEAR(w.F().Vars<TZakoEAVars>().DiveVY, std::sin(theta) * 4, 1e-12);
    EXPECT_LT(w.F().Vars<TZakoEFVars>().DiveVY, 0);
    new TZakoEASprite(w.E(), 0, 180);
    EXPECT_LT(w.F().Vars<TZakoEAVars>().DiveVY, 0);
    const double before = a->Y;
    w.Frame();
    EXPECT_LT(a->Y, before) << "the earlier diver follows the latest aim";
    w.Frame(300);
    EXPECT_FALSE(a->Killed);
    EXPECT_LT(a->Y, -100);
    EXPECT_GT(a->X, 320) << "past the right edge, still there";
}

TEST(ZakoE, DiverLeavesOnlyBelowTheBottom) {
    TPlayingWorld w(10, 494);  // straight down at 4 a frame
    auto* a = new TZakoEASprite(w.E(), 0, 180);
    w.Frame(75);
    EXPECT_NEAR(a->Y, 480, 1e-9);
    EXPECT_FALSE(a->Killed);
    w.Frame();
    EXPECT_TRUE(a->Killed);
}

TEST(ZakoEShots, AxisAndDiagonalBulletsMoveByTheirOwnDirectionsAndLeaveBeyondTheMargins) {
    TPlayingWorld w;
    auto* up = new TZakoEShotASprite(w.E(), 100, 100, 0);
    auto* right = new TZakoEShotASprite(w.E(), 100, 100, 64);
    auto* down = new TZakoEShotASprite(w.E(), 100, 100, 128);
    auto* left = new TZakoEShotASprite(w.E(), 5, 185, 192);  // the leftmost column's burst
    auto* odd = new TZakoEShotASprite(w.E(), 100, 100, 32);
    auto* ur = new TZakoEShotBSprite(w.E(), 100, 100, 32);
    auto* dl = new TZakoEShotBSprite(w.E(), 100, 100, 160);
    auto* oddB = new TZakoEShotBSprite(w.E(), 100, 100, 0);
    EXPECT_DOUBLE_EQ(left->X, 10);
    w.Frame();
    EXPECT_DOUBLE_EQ(up->Y, 101);
    EXPECT_DOUBLE_EQ(right->X, 109);
    EXPECT_DOUBLE_EQ(down->Y, 109);
    EXPECT_DOUBLE_EQ(odd->X, 105);
    EXPECT_DOUBLE_EQ(odd->Y, 105);
    EXPECT_DOUBLE_EQ(ur->X, 107);
    EXPECT_DOUBLE_EQ(ur->Y, 103);
    EXPECT_DOUBLE_EQ(dl->X, 103);
    EXPECT_DOUBLE_EQ(dl->Y, 107);
    EXPECT_DOUBLE_EQ(oddB->X, 105);
    w.Frame(6);
    EXPECT_DOUBLE_EQ(left->X, -18);
    EXPECT_FALSE(left->Killed);
    w.Frame();  // the eighth step: x = -22
    EXPECT_TRUE(left->Killed);
    EXPECT_FALSE(odd->Killed);
    EXPECT_FALSE(oddB->Killed);
}

TEST(ZakoE, ShotsPassThroughTheWholeFamily) {
    TPlayingWorld w;
    auto* ring = new TZakoESprite(w.E(), 116);
    auto* diver = new TZakoEFSprite(w.E(), 290, 180);
    kvtest::HitWithShots(w, ring, 3);
    kvtest::HitWithShots(w, diver, 3);
    EXPECT_EQ(ring->Life, 0);
    EXPECT_EQ(diver->Life, 0);
    EXPECT_EQ(w.CountOf<TShotASprite>(), 6);
    for (TShotASprite* s : w.All<TShotASprite>()) EXPECT_FALSE(s->Killed) << "a shot without a row flies on";
}
