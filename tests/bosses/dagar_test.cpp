// Dagar: each phase's cycle and how its bullets grow with damage, the ghost's fade, timeline
// and late countdown, and the rows that chain, remove and finish the phases.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "bosses/BossTest.h"
#include "bosses/Dagar.h"
#include "bosses/DagarShots.h"
#include "bullets/Laser.h"
#include "enemies/Hits.h"
#include "player/HitReactions.h"
#include "player/Items.h"
#include "shell/EndScreens.h"
#include "support/World.h"

using namespace kv;
using kvtest::FrameCreated;
using kvtest::OfClass;
using kvtest::TWorld;

namespace {

std::string PictureOf(TSprite* S) { return static_cast<TImageSprite*>(S)->Image->Name; }

// ---- A ----

TEST(DagarA, FadesInRingsOnStep20GrowingWithDamageAndJumpsOnStep50) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* a = new TDagarASprite(w.E());
    EXPECT_EQ(a->Alpha, 0);
    EXPECT_EQ(w.F().AttackName, "怨弾「天地爆閃・其の壱」");
    EXPECT_EQ(w.F().BossName, "モーリア・ダガー");
    for (int i = 1; i <= 19; ++i) EXPECT_TRUE(OfClass<TDagarShotASprite>(FrameCreated(w)).empty());
    auto ring = OfClass<TDagarShotASprite>(FrameCreated(w));
    EXPECT_EQ(a->Alpha, 20);  // still nearly transparent
    ASSERT_EQ(ring.size(), 88u);
    // Direction 1 first, four speeds; all from (155, 105).
    const double speeds[] = {1.5, 2, 2.5, 3};
    for (int k = 0; k < 4; ++k) {
        EXPECT_DOUBLE_EQ(ring[k]->Direction, 1);
        EXPECT_DOUBLE_EQ(ring[k]->Speed, speeds[k]);
        EXPECT_EQ(PictureOf(ring[k]), "高彩小弾" + std::to_string(k + 1));
    }
    EXPECT_DOUBLE_EQ(ring[87]->Direction, 22);
    EXPECT_DOUBLE_EQ(ring[0]->X, 155);
    EXPECT_DOUBLE_EQ(ring[0]->Y, 105);

    w.Frame(29);
    EXPECT_DOUBLE_EQ(a->X, 120);
    w.Frame();
    EXPECT_EQ(w.F().BossCounters[bcDagarA], 0);
    EXPECT_DOUBLE_EQ(a->Y, 80);
    EXPECT_GE(a->X, 0);
    EXPECT_LT(a->X, 240);
    EXPECT_DOUBLE_EQ(a->X, std::floor(a->X));

    a->Life = -201;
    w.Frame(19);
    EXPECT_EQ(OfClass<TDagarShotASprite>(FrameCreated(w)).size(), 110u);
    a->Life = -401;
    w.Frame(30 + 19);
    auto full = OfClass<TDagarShotASprite>(FrameCreated(w));
    ASSERT_EQ(full.size(), 132u);
    EXPECT_DOUBLE_EQ(full[4]->Speed, 3.5);
    EXPECT_DOUBLE_EQ(full[5]->Speed, 4);
    EXPECT_EQ(PictureOf(full[5]), "高彩小弾2");
}

// ---- C ----

TEST(DagarC, QuietForFourStepsThenCounterRotatingStreamsRepeatingFromStep6) {
    TWorld w;
    kvtest::PlayingAt(w);
    new TDagarCSprite(w.E());
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(OfClass<TDagarShotCSprite>(FrameCreated(w)).empty());
    auto first = OfClass<TDagarShotCSprite>(FrameCreated(w));
    ASSERT_EQ(first.size(), 2u);
    EXPECT_DOUBLE_EQ(first[0]->Direction, 1.7 * 5);
    EXPECT_DOUBLE_EQ(first[1]->Direction, -1.7 * 5);
    EXPECT_NEAR(std::hypot(first[0]->VX, first[0]->VY), 1.5, 1e-12);

    RunCounterTo(w, bcDagarC, 754);
    auto last = w.All<TDagarShotCSprite>();
    ASSERT_FALSE(last.empty());
    EXPECT_DOUBLE_EQ(last.back()->Direction, -7.3 * 754);
    EXPECT_TRUE(OfClass<TDagarShotCSprite>(FrameCreated(w)).empty());  // n = 755
    EXPECT_EQ(w.F().BossCounters[bcDagarC], 5);
    auto again = OfClass<TDagarShotCSprite>(FrameCreated(w));
    ASSERT_EQ(again.size(), 2u);
    EXPECT_DOUBLE_EQ(again[0]->Direction, 1.7 * 6);
}

// ---- B ----

// The pictures of the three-way volleys fired on each of N steps (0: none).
std::vector<int> VolleyRhythm(int32_t Life, int N, std::vector<int>* Salvos = nullptr) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* b = new TDagarBSprite(w.E());
    b->Life = Life;
    std::vector<int> out;
    for (int i = 1; i <= N; ++i) {
        auto made = FrameCreated(w);
        auto c = OfClass<TDagarShotCSprite>(made);
        int step = 0;
        for (size_t k = 0; k < c.size(); k += 3) {
            EXPECT_EQ(c.size() % 3, 0u);
            const std::string p = PictureOf(c[k]);
            EXPECT_EQ(PictureOf(c[k + 1]), p);
            EXPECT_EQ(PictureOf(c[k + 2]), p);
            EXPECT_DOUBLE_EQ(c[k]->Direction, b->Turn);
            EXPECT_DOUBLE_EQ(c[k + 1]->Direction, b->Turn - 180);
            EXPECT_DOUBLE_EQ(c[k + 2]->Direction, b->Turn - 360);
            step = step * 10 + (p.back() - '0');
        }
        out.push_back(step);
        if (Salvos) Salvos->push_back(static_cast<int>(OfClass<TDagarShotBSprite>(made).size()));
    }
    return out;
}

TEST(DagarB, TheVolleyRhythmChangesAtTheThreeHundredthAndSixHundredthHit) {
    std::vector<int> salvos;
    EXPECT_EQ(VolleyRhythm(-300, 9, &salvos), (std::vector<int>{0, 1, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(salvos, (std::vector<int>{0, 0, 18, 0, 0, 18, 0, 0, 18}));
    EXPECT_EQ(VolleyRhythm(-301, 9), (std::vector<int>{0, 1, 0, 3, 0, 1, 0, 3, 0}));
    // At exactly −600 the K = 2 volley is skipped but the three-step rhythm already runs.
    EXPECT_EQ(VolleyRhythm(-600, 10), (std::vector<int>{0, 1, 0, 3, 1, 0, 3, 1, 0, 3}));
    EXPECT_EQ(VolleyRhythm(-601, 10), (std::vector<int>{0, 1, 2, 3, 1, 2, 3, 1, 2, 3}));
}

TEST(DagarB, TheReboundingSalvoFollowsItsTable) {
    TWorld w;
    kvtest::PlayingAt(w);
    new TDagarBSprite(w.E());
    w.Frame(2);
    auto salvo = OfClass<TDagarShotBSprite>(FrameCreated(w));
    ASSERT_EQ(salvo.size(), 18u);
    EXPECT_DOUBLE_EQ(salvo[0]->DX, 3);
    EXPECT_DOUBLE_EQ(salvo[0]->AimY, -80);
    EXPECT_DOUBLE_EQ(salvo[10]->DX, 5.5);
    EXPECT_DOUBLE_EQ(salvo[10]->DY, -2);
    EXPECT_DOUBLE_EQ(salvo[10]->AimX, 140);
    EXPECT_DOUBLE_EQ(salvo[17]->DX, -7.5);
    EXPECT_DOUBLE_EQ(salvo[17]->AimY, -250);
    EXPECT_EQ(PictureOf(salvo[17]), "高彩小弾3");
    for (auto* s : salvo) {
        EXPECT_DOUBLE_EQ(s->Speed, 3);
        EXPECT_DOUBLE_EQ(s->X, 155);
        EXPECT_DOUBLE_EQ(s->Y, 105);
    }
}

// ---- D ----

TEST(DagarD, BurstsEvery120StepsAndFiresItsStreamOnTheResetStepToo) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* d = new TDagarDSprite(w.E());
    auto first = FrameCreated(w);
    auto burst = OfClass<TDagarShotDSprite>(first);
    ASSERT_EQ(burst.size(), 405u);
    EXPECT_DOUBLE_EQ(burst[0]->Speed, 1.5);
    EXPECT_EQ(PictureOf(burst[0]), "高彩弾3");
    EXPECT_DOUBLE_EQ(burst[8]->Speed, 3.5);
    EXPECT_DOUBLE_EQ(burst[9]->Direction, 2);
    EXPECT_DOUBLE_EQ(burst[0]->X, 150);
    EXPECT_DOUBLE_EQ(burst[0]->Y, 100);
    auto stream = OfClass<TDagarShotCSprite>(first);
    ASSERT_EQ(stream.size(), 1u);
    EXPECT_DOUBLE_EQ(stream[0]->Direction, 9);

    w.Frame(118);
    auto reset = FrameCreated(w);  // n = 120
    EXPECT_EQ(w.F().BossCounters[bcDagarD], 0);
    EXPECT_TRUE(OfClass<TDagarShotDSprite>(reset).empty());
    auto zero = OfClass<TDagarShotCSprite>(reset);
    ASSERT_EQ(zero.size(), 1u);
    EXPECT_DOUBLE_EQ(zero[0]->Direction, 0);
    EXPECT_EQ(OfClass<TDagarShotDSprite>(FrameCreated(w)).size(), 405u);

    d->Life = -150;
    auto two = OfClass<TDagarShotCSprite>(FrameCreated(w));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_NEAR(std::hypot(two[1]->VX, two[1]->VY), 1, 1e-12);
    d->Life = -400;
    auto three = OfClass<TDagarShotCSprite>(FrameCreated(w));
    ASSERT_EQ(three.size(), 3u);
    EXPECT_NEAR(std::hypot(three[0]->VX, three[0]->VY), 1, 1e-12);
    EXPECT_NEAR(std::hypot(three[2]->VX, three[2]->VY), 2, 1e-12);
}

// ---- E ----

size_t EBurst(int32_t Life) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* e = new TDagarESprite(w.E());
    e->Life = Life;
    return OfClass<TDagarShotCSprite>(FrameCreated(w)).size();
}

TEST(DagarE, TheBurstGrowsFromThe301stAndThe501stHit) {
    EXPECT_EQ(EBurst(-300), 900u);
    EXPECT_EQ(EBurst(-301), 1620u);
    EXPECT_EQ(EBurst(-500), 1620u);
    EXPECT_EQ(EBurst(-501), 2340u);
}

TEST(DagarE, TheBurstOrderAndTheLaserGridOnStep40) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* e = new TDagarESprite(w.E());
    e->Life = -501;
    auto burst = OfClass<TDagarShotCSprite>(FrameCreated(w));
    ASSERT_EQ(burst.size(), 2340u);
    // Per direction: five at the left, five at the right, four slow left and right, four fast.
    EXPECT_DOUBLE_EQ(burst[0]->X, 120);
    EXPECT_DOUBLE_EQ(burst[5]->X, 190);
    EXPECT_DOUBLE_EQ(burst[0]->Y, 105);
    EXPECT_NEAR(std::hypot(burst[10]->VX, burst[10]->VY), 1, 1e-12);
    EXPECT_NEAR(std::hypot(burst[18]->VX, burst[18]->VY), 4, 1e-12);
    EXPECT_DOUBLE_EQ(burst[25]->Direction, 1);
    EXPECT_DOUBLE_EQ(burst[26]->Direction, 2);

    w.Frame(38);
    EXPECT_EQ(w.CountOf<TlazerASprite>(), 0);
    auto grid = OfClass<TlazerASprite>(FrameCreated(w));
    ASSERT_EQ(grid.size(), 27u);
    for (int i = 0; i < 11; ++i) {
        EXPECT_DOUBLE_EQ(grid[i]->X, 30 * i);
        EXPECT_DOUBLE_EQ(grid[i]->Y, -480);
        EXPECT_EQ(grid[i]->Course, "縦");
        EXPECT_EQ(PictureOf(grid[i]), "lazer1");
    }
    for (int j = 0; j < 16; ++j) {
        EXPECT_DOUBLE_EQ(grid[11 + j]->X, -480);
        EXPECT_DOUBLE_EQ(grid[11 + j]->Y, 30 * j);
        EXPECT_EQ(grid[11 + j]->Course, "左右");
        EXPECT_EQ(PictureOf(grid[11 + j]), "lazer2");
    }
    w.Frame(80);
    EXPECT_EQ(w.F().BossCounters[bcDagarE], 0);
    EXPECT_EQ(OfClass<TDagarShotCSprite>(FrameCreated(w)).size(), 2340u);
}

// ---- F ----

TEST(DagarF, FadesIntoTheGhostRunsItsTimelineAndStartsTheCountdownOnStep2001) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* f = new TDagarFSprite(w.E());
    EXPECT_EQ(w.F().TaikyuuCount, 99);
    EXPECT_FALSE(w.F().TaikyuuMode);
    EXPECT_EQ(w.F().AttackName, "「天地爆閃砲」");
    EXPECT_EQ(w.F().BossName, "？？？");
    w.Frame(254);
    EXPECT_FALSE(f->GhostMode);
    EXPECT_EQ(f->Alpha, 1);
    w.Frame();
    EXPECT_TRUE(f->GhostMode);
    EXPECT_EQ(f->Alpha, 0);
    EXPECT_DOUBLE_EQ(f->X, 0);
    EXPECT_DOUBLE_EQ(f->Y, 0);
    EXPECT_EQ(PictureOf(f), "Ghost");
    EXPECT_EQ(f->Width, 321);
    EXPECT_EQ(w.CountOf<TTamaSprite>(), 0);
    w.Frame(64);
    EXPECT_EQ(f->Alpha, 128);
    EXPECT_EQ(w.F().BossCounters[bcDagarF], 0);
    EXPECT_EQ(w.CountOf<TTamaSprite>(), 0);  // nothing fired while fading

    auto top = OfClass<TDagarShotCSprite>(FrameCreated(w));  // n = 1
    ASSERT_EQ(top.size(), 5u);
    EXPECT_DOUBLE_EQ(top[0]->X, 35);
    EXPECT_DOUBLE_EQ(top[1]->Direction, -1);
    EXPECT_DOUBLE_EQ(top[4]->X, 275);
    w.Tick();
    EXPECT_EQ(w.F().TaikyuuCount, 99);  // the countdown does not run yet

    w.Frame(98);
    auto n100 = FrameCreated(w);
    EXPECT_EQ(OfClass<TDagarShotCSprite>(n100).size(), 5u);
    auto ring = OfClass<TDagarShotDSprite>(n100);
    ASSERT_EQ(ring.size(), 45u);
    EXPECT_DOUBLE_EQ(ring[0]->X, 150);
    EXPECT_EQ(n100.back(), ring.back());  // the ring comes after the stream in its step
    w.Frame(99);
    EXPECT_EQ(OfClass<TDagarShotDSprite>(FrameCreated(w)).size(), 180u);  // n = 200
    w.Frame(99);
    auto n300 = FrameCreated(w);
    EXPECT_TRUE(OfClass<TDagarShotCSprite>(n300).empty());
    EXPECT_EQ(OfClass<TDagarShotDSprite>(n300).size(), 405u);

    RunCounterTo(w, bcDagarF, 550);
    EXPECT_TRUE(OfClass<TDagarShotCSprite>(FrameCreated(w)).size() == 3u);  // n = 551
    RunCounterTo(w, bcDagarF, 1450);
    auto spoke = OfClass<TDagarShotESprite>(FrameCreated(w));  // n = 1451
    ASSERT_EQ(spoke.size(), 17u);
    const int numbers[] = {3, 2, 1, 2};
    for (size_t k = 0; k < spoke.size(); ++k) {
        EXPECT_DOUBLE_EQ(spoke[k]->Radius, 40 + 5.0 * k);
        EXPECT_DOUBLE_EQ(spoke[k]->Direction, 33.0 * 1451);
        EXPECT_EQ(PictureOf(spoke[k]), "高彩小弾" + std::to_string(numbers[k % 4]));
    }

    RunCounterTo(w, bcDagarF, 2000);
    EXPECT_FALSE(w.F().TaikyuuMode);
    EXPECT_EQ(w.F().TaikyuuCount, 99);
    EXPECT_EQ(OfClass<TDagarShotESprite>(FrameCreated(w)).size(), 25u);  // n = 2001
    EXPECT_TRUE(w.F().TaikyuuMode);
    w.Tick();
    EXPECT_EQ(w.F().TaikyuuCount, 98);
    RunCounterTo(w, bcDagarF, 2500);
    EXPECT_EQ(OfClass<TDagarShotESprite>(FrameCreated(w)).size(), 33u);
    RunCounterTo(w, bcDagarF, 2999);
    EXPECT_TRUE(FrameCreated(w).empty());  // n = 3000: nothing more
    EXPECT_DOUBLE_EQ(f->X, 0);
    EXPECT_FALSE(f->Killed);
}

TEST(DagarF, IsNeitherShotNorRemovedWhenTheGameEnds) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* f = new TDagarFSprite(w.E());
    EXPECT_FALSE(IsShootable(f));
    w.F().Playing = false;
    w.Frame(2);
    EXPECT_FALSE(f->Killed);
}

// ---- the rows ----

template <class T>
T* Only(TWorld& w) {
    auto all = w.All<T>();
    return all.size() == 1 ? all[0] : nullptr;
}

TEST(DagarRows, ShotsRunTheChainACBDEFWithItemsReferencesAndBonuses) {
    TWorld w;
    kvtest::PlayingAt(w);
    TForm1& F = w.F();
    F.HP = 10;
    F.DagarASprite = new TDagarASprite(w.E());
    auto* a = Only<TDagarASprite>(w);
    kvtest::HitWithShots(w, a, 599);
    EXPECT_FALSE(a->Killed);
    kvtest::HitWithShots(w, a, 1);
    EXPECT_TRUE(a->Killed);
    EXPECT_EQ(w.CountOf<THPItemSprite>(), 4);
    EXPECT_EQ(w.CountOf<TBombItemSprite>(), 1);
    auto items = w.All<TItemsSprite>();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_DOUBLE_EQ(items[1]->X, a->X + 60);
    EXPECT_DOUBLE_EQ(items[1]->Y, a->Y + 40);
    EXPECT_TRUE(IsA<TBombItemSprite>(items[4]));
    auto* c = Only<TDagarCSprite>(w);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(F.DagarCSprite == c);
    EXPECT_DOUBLE_EQ(c->X, 120);
    EXPECT_EQ(F.Score, 2000);

    kvtest::HitWithShots(w, c, 600);
    auto* b = Only<TDagarBSprite>(w);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(F.DagarBSprite == b);
    EXPECT_EQ(F.Score, 2000 + 4000);
    kvtest::HitWithShots(w, b, 1000);
    auto* d = Only<TDagarDSprite>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(F.DagarDSprite == d);
    EXPECT_EQ(F.Score, 6000 + 6000);
    kvtest::HitWithShots(w, d, 1000);
    auto* e = Only<TDagarESprite>(w);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(F.DagarESprite == e);
    EXPECT_EQ(F.Score, 12000 + 8000);
    const size_t itemsBefore = w.All<TItemsSprite>().size();
    kvtest::HitWithShots(w, e, 1001);  // the 1001st hit does not end it again
    auto* f = Only<TDagarFSprite>(w);
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(F.DagarFSprite == f);
    EXPECT_EQ(F.Score, 20000 + 10000);
    auto lastItems = w.All<TItemsSprite>();
    ASSERT_EQ(lastItems.size(), itemsBefore + 3);
    EXPECT_TRUE(IsA<TBombItemSprite>(lastItems[itemsBefore]));
    EXPECT_DOUBLE_EQ(lastItems[itemsBefore]->X, 150);

    std::vector<std::string> classes;
    for (const std::string& l : kvtest::EventsOf(w, "phase"))
        classes.push_back(l.substr(l.find("TDagar"), 13));
    EXPECT_EQ(classes, (std::vector<std::string>{"TDagarASprite", "TDagarCSprite", "TDagarBSprite",
                                                 "TDagarDSprite", "TDagarESprite", "TDagarFSprite"}));
    EXPECT_EQ(kvtest::EventsOf(w, "phase_end").size(), 5u);
}

TEST(DagarRows, GameOverRemovesThePhaseThatShowsItsAttack) {
    TWorld w;
    kvtest::PlayingAt(w);
    TForm1& F = w.F();
    F.DagarASprite = new TDagarASprite(w.E());
    F.DagarCSprite = new TDagarCSprite(w.E());
    F.DagarBSprite = new TDagarBSprite(w.E());
    F.DagarDSprite = new TDagarDSprite(w.E());
    F.DagarESprite = new TDagarESprite(w.E());
    F.DagarFSprite = new TDagarFSprite(w.E());
    // The newest set AttackName; the others are named in turn.
    const std::pair<const char*, TSpriteRef<TSprite> TForm1::*> rows[] = {
        {"「天地爆閃砲」", &TForm1::DagarFSprite},      {"怨刀「天地裂斬砲」", &TForm1::DagarESprite},
        {"怨槌「天地暴砕砲」", &TForm1::DagarDSprite},  {"怨弾「天地爆閃・其の参」", &TForm1::DagarBSprite},
        {"怨弾「天地爆閃・其の弐」", &TForm1::DagarCSprite}, {"怨弾「天地爆閃・其の壱」", &TForm1::DagarASprite}};
    for (const auto& [attack, ref] : rows) {
        F.AttackName = attack;
        TSprite* phase = (F.*ref).Get();
        ASSERT_NE(phase, nullptr);
        EXPECT_FALSE(phase->Killed) << attack;
        F.BossNameCheck();
        EXPECT_TRUE(phase->Killed) << attack;
    }
}

TEST(DagarRows, TheEndOfTheCountdownFinishesDagarAndClearsTheGame) {
    TWorld w;
    kvtest::PlayingAt(w);
    TForm1& F = w.F();
    F.HP = 7;
    F.Score = 100;
    F.DagarFSprite = new TDagarFSprite(w.E());
    F.TaikyuuMode = true;
    F.TaikyuuCount = 2;
    w.Tick();
    EXPECT_EQ(w.CountOf<TGameClearSprite>(), 0);
    w.Tick();
    EXPECT_TRUE(F.DagarFSprite->Killed);
    EXPECT_EQ(F.Score, 100 + 6000 + 300 * 7);
    EXPECT_EQ(w.CountOf<TGameClearSprite>(), 1);
    EXPECT_EQ(w.CountOf<TItemsSprite>(), 0);
    EXPECT_EQ(kvtest::EventsOf(w, "endurance_end").size(), 1u);
}

}  // namespace
