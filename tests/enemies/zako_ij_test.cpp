// Zako I and J: descent to the stop line, the spray of fast bullets, the fade and their rows.
#include <gtest/gtest.h>

#include <cmath>

#include "bullets/GadnicShots.h"
#include "enemies/Hits.h"
#include "enemies/ZakoIJ.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

struct TPlayingWorld : TWorld {
    TPlayingWorld() { F().Playing = true; }
};


// Runs one sprayer through its life, checking the firing frames, directions and the fade.
template <class T>
void RunSprayer(int Shots, double Turn, const char* Picture) {
    TPlayingWorld w;
    auto* s = new T(w.E(), 100, -50);
    EXPECT_EQ(s->Image, w.F().Picture(Picture));
    EXPECT_EQ(s->Alpha, 255);
    w.Frame(20);
    EXPECT_DOUBLE_EQ(s->Y, 50);
    EXPECT_EQ(s->Count, 0);
    EXPECT_EQ(w.CountOf<TGadnicShotASprite>(), 0);

    int fired = 0;
    for (int c = 1; c <= Shots; ++c) {
        w.Frame();
        auto shots = w.All<TGadnicShotASprite>();
        ASSERT_FALSE(shots.empty());
        TGadnicShotASprite* last = shots.back();
        if (last->Direction != c * Turn) continue;
        ++fired;
        if (c == 1) {
            EXPECT_DOUBLE_EQ(last->X, 115);
            EXPECT_DOUBLE_EQ(last->Y, 55);
            EXPECT_DOUBLE_EQ(last->VX, std::cos(Turn) * 6);
        }
    }
    EXPECT_EQ(fired, Shots);
    EXPECT_EQ(s->Alpha, 255);

    const size_t before = w.CountOf<TGadnicShotASprite>();
    w.Frame();  // the fading value: no bullet, 252
    EXPECT_EQ(s->Count, Shots + 1);
    EXPECT_EQ(s->Alpha, 252);
    EXPECT_LE(static_cast<size_t>(w.CountOf<TGadnicShotASprite>()), before);
    for (TGadnicShotASprite* b : w.All<TGadnicShotASprite>()) EXPECT_NE(b->Direction, (Shots + 1) * Turn);
    w.Frame(83);
    EXPECT_EQ(s->Alpha, 3);
    EXPECT_FALSE(s->Killed);
    w.Frame();  // the 85th fading frame
    EXPECT_EQ(s->Alpha, 0);
    EXPECT_TRUE(s->Killed);
    EXPECT_DOUBLE_EQ(s->X, 100) << "it never moves sideways";
    EXPECT_DOUBLE_EQ(s->Y, 50);
}

}  // namespace

TEST(ZakoI, Sprays99BulletsThreeRadiansApartThenFades) { RunSprayer<TZakoISprite>(99, 3, "Enemy2-2"); }

TEST(ZakoJ, Sprays69BulletsAQuarterRadianApartThenFades) { RunSprayer<TZakoJSprite>(69, 0.25, "Enemy2-5"); }

TEST(ZakoIJ, StartsOffTheFiveGridOvershootTheStopLine) {
    TPlayingWorld w;
    auto* i = new TZakoISprite(w.E(), 10, -25);
    auto* j = new TZakoJSprite(w.E(), 10, -27);
    w.Frame(15);
    EXPECT_DOUBLE_EQ(i->Y, 50);
    EXPECT_EQ(i->Count, 0);
    EXPECT_DOUBLE_EQ(j->Y, 48);
    w.Frame();
    EXPECT_EQ(i->Count, 1);
    EXPECT_DOUBLE_EQ(j->Y, 53);
    EXPECT_EQ(j->Count, 0);
    w.Frame(10);
    EXPECT_DOUBLE_EQ(j->Y, 53);
    EXPECT_EQ(j->Count, 10);
}

TEST(ZakoIJ, RowsKillOnThe13thAnd11thHitEvenWhileFading) {
    TPlayingWorld w;
    auto* i = new TZakoISprite(w.E(), 10, 50);
    auto* j = new TZakoJSprite(w.E(), 100, 50);
    j->Count = 69;
    w.Frame(2);
    EXPECT_EQ(j->Alpha, 249) << "fading";
    kvtest::HitWithShots(w, i, 12);
    kvtest::HitWithShots(w, j, 10);
    EXPECT_FALSE(i->Killed);
    EXPECT_FALSE(j->Killed);
    EXPECT_EQ(w.F().Score, 0);
    kvtest::HitWithShots(w, i, 1);
    EXPECT_TRUE(i->Killed);
    EXPECT_EQ(w.F().Score, 40);
    kvtest::HitWithShots(w, j, 1);
    EXPECT_TRUE(j->Killed);
    EXPECT_EQ(w.F().Score, 75);
}

TEST(ZakoIJ, LeaveWithTheirBulletsWhenTheGameEnds) {
    TPlayingWorld w;
    auto* j = new TZakoJSprite(w.E(), 100, 50);
    w.Frame(5);
    ASSERT_EQ(w.CountOf<TGadnicShotASprite>(), 5);
    w.F().Playing = false;
    w.Frame();
    EXPECT_TRUE(j->Killed);
    // Its last step goes on after the kill and fires once more; that bullet goes a frame later.
    auto bullets = w.All<TGadnicShotASprite>();
    ASSERT_EQ(bullets.size(), 6u);
    for (size_t i = 0; i < 5; ++i) EXPECT_TRUE(bullets[i]->Killed);
    EXPECT_FALSE(bullets[5]->Killed);
    w.Frame();
    EXPECT_TRUE(bullets[5]->Killed);
}
