// Marco: the three phases' timelines, the star bursts, the ring, side and aimed bullets, and
// the rows that end and remove the phases.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "bosses/BossTest.h"
#include "bosses/Marco.h"
#include "player/HitReactions.h"
#include "player/Items.h"
#include "player/Shots.h"

using namespace kv;
using namespace kvtest;

namespace {

template <class T>
void ExpectAt(TSprite* S, double X, double Y, int32_t Angle, const char* What) {
    auto* t = dynamic_cast<T*>(S);
    ASSERT_NE(t, nullptr) << What;
    EXPECT_DOUBLE_EQ(t->X, X) << What;
    EXPECT_DOUBLE_EQ(t->Y, Y) << What;
    EXPECT_EQ(t->Angle, Angle) << What;
}

double Speed(const TMarcoStraightShotSprite* S) { return std::hypot(S->VX, S->VY); }

// The angle from (X, Y) to (TX, TY) against the shot's velocity.
void ExpectAimed(const TMarcoStraightShotSprite* S, double TX, double TY, double V) {
    EXPECT_NEAR(Speed(S), V, 1e-9);
    const double want = std::atan2(TY - S->Y, TX - S->X);
    EXPECT_NEAR(std::atan2(S->VY, S->VX), want, 1e-9);
}

}  // namespace

// ---- phase 1 ----

TEST(MarcoA, SinksInAndFiresItsFirstStarsFromAboveTheTopEdge) {
    TWorld w;
    PlayingAt(w);
    w.F().MarcoASprite = new TMarcoASprite(w.E());
    auto* a = w.All<TMarcoASprite>().front();
    EXPECT_EQ(w.F().BossName, "防御兵マルコ");
    EXPECT_EQ(w.F().AttackName, "防壁「漆黒の城壁」");
    ASSERT_EQ(EventsOf(w, "phase").size(), 1u);
    EXPECT_NE(EventsOf(w, "phase")[0].find("TMarcoASprite"), std::string::npos);

    w.Frame(29);
    EXPECT_DOUBLE_EQ(a->Y, -31);
    EXPECT_EQ(w.CountOf<TMarcoAShotASprite>(), 0);
    w.Frame();  // n = 30, at Y = -30
    auto stars = w.All<TMarcoAShotASprite>();
    ASSERT_EQ(stars.size(), 1u);
    ExpectAt<TMarcoAShotASprite>(stars[0], 145, -15, 0, "first star");

    RunCounterTo(w, bcMarcoA, 80);
    ExpectAt<TMarcoAShotASprite>(w.All<TMarcoAShotASprite>().back(), 145, 15, 64, "second star");
    RunCounterTo(w, bcMarcoA, 130);
    ExpectAt<TMarcoAShotASprite>(w.All<TMarcoAShotASprite>().back(), 145, 15, 128, "third star");
    EXPECT_DOUBLE_EQ(a->Y, 0);  // it stops sinking at the top edge
    RunCounterTo(w, bcMarcoA, 179);
    const auto made = FrameCreated(w);
    std::vector<int32_t> angles;
    for (TSprite* s : made) {
        auto* st = dynamic_cast<TMarcoAShotASprite*>(s);
        ASSERT_NE(st, nullptr);
        EXPECT_DOUBLE_EQ(st->X, 145);
        EXPECT_DOUBLE_EQ(st->Y, 15);
        angles.push_back(st->Angle);
    }
    EXPECT_EQ(angles, (std::vector<int32_t>{0, 64, 128}));
}

TEST(MarcoA, LoopsEvery200FramesBetweenRandomPlacesOnTheTopEdge) {
    TWorld w;
    PlayingAt(w);
    w.F().MarcoASprite = new TMarcoASprite(w.E());
    auto* a = w.All<TMarcoASprite>().front();
    for (int loop = 0; loop < 2; ++loop) {
        RunCounterTo(w, bcMarcoA, 200);
        EXPECT_DOUBLE_EQ(a->X, -100);
        EXPECT_DOUBLE_EQ(a->Y, -100);
        RunCounterTo(w, bcMarcoA, 249);
        EXPECT_DOUBLE_EQ(a->Y, -51);  // sinks one pixel a frame while parked
        TRandom r = w.F().RandomGen;
        const int32_t x = r.Random(260);
        w.Frame();
        EXPECT_DOUBLE_EQ(a->X, x);
        EXPECT_DOUBLE_EQ(a->Y, 0);
        RunCounterTo(w, bcMarcoA, 270);
        ASSERT_GE(w.CountOf<TMarcoAShotASprite>(), 3);
        auto stars = w.All<TMarcoAShotASprite>();
        ExpectAt<TMarcoAShotASprite>(stars[stars.size() - 3], x + 15, 15, 0, "loop star 0");
        ExpectAt<TMarcoAShotASprite>(stars[stars.size() - 1], x + 15, 15, 128, "loop star 128");
        RunCounterTo(w, bcMarcoA, 300);
        EXPECT_DOUBLE_EQ(a->X, -100);
        RunCounterTo(w, bcMarcoA, 399);
        w.Frame();
        EXPECT_EQ(w.F().BossCounters[bcMarcoA], 199);
    }
}

// ---- the star and its burst ----

TEST(MarcoStar, BurstsBelow100DiagonallyAndBelow120StraightDown) {
    struct TCase {
        int32_t Angle;
        int Steps;  // steps taken before the one on which it bursts
        double DX, DY;
    } cases[] = {{0, 35, -2.8, 2.8}, {64, 24, 0, 5}, {128, 35, 2.8, 2.8}};
    for (const TCase& c : cases) {
        TWorld w;
        PlayingAt(w);
        auto* star = new TMarcoAShotASprite(w.E(), 150, 0, c.Angle);
        w.Frame(c.Steps);
        ASSERT_FALSE(star->Killed) << c.Angle;
        EXPECT_EQ(w.CountOf<TMarcoAShotBSprite>(), 0) << c.Angle;
        auto burst = FrameCreated(w);
        ASSERT_TRUE(star->Killed) << c.Angle;
        EXPECT_NEAR(star->X, 150 + c.DX * (c.Steps + 1), 1e-9);
        EXPECT_GT(star->Y, c.Angle == 64 ? 120 : 100);
        EXPECT_LE(star->Y - c.DY, c.Angle == 64 ? 120 : 100);
        ASSERT_EQ(burst.size(), 48u) << c.Angle;
        for (int i = 0; i < 48; ++i) {
            TSprite* s = burst[i];
            const int32_t dir = 16 * (i % 16);
            const double px = star->X + 5, py = star->Y + 5;
            if (i < 16) ExpectAt<TMarcoAShotBSprite>(s, px, py, dir, "B");
            else if (i < 32) ExpectAt<TMarcoAShotCSprite>(s, px, py, dir, "C");
            else ExpectAt<TMarcoAShotDSprite>(s, px, py, dir, "D");
        }
    }
}

TEST(MarcoStar, AnyOtherDirectionStandsForever) {
    TWorld w;
    PlayingAt(w);
    auto* star = new TMarcoAShotASprite(w.E(), 150, 200, 32);
    w.Frame(300);
    EXPECT_FALSE(star->Killed);
    EXPECT_DOUBLE_EQ(star->X, 150);
    EXPECT_DOUBLE_EQ(star->Y, 200);
}

// ---- ring bullets ----

TEST(MarcoRingShots, EachClassStepsByItsDirectionTable) {
    struct TRow {
        int32_t Angle;
        double DX, DY;
    };
    // Class B's table, written out: up is 0, left 64, down 128, right 192.
    const double S = 5, p = 2, q = 4.2, d = 3.2;
    const TRow b[] = {{0, 0, -S},  {16, -p, -q}, {32, -d, -d}, {48, -q, -p},  {64, -S, 0},   {80, -q, p},
                      {96, -d, d}, {112, -p, q}, {128, 0, S},  {144, p, q},   {160, d, d},   {176, q, p},
                      {192, S, 0}, {208, q, -p}, {224, d, -d}, {240, p, -q}};
    for (const TRow& r : b) {
        double dx, dy;
        TMarcoRingShotSprite::StepFor(TMarcoAShotBSprite::Speeds, r.Angle, dx, dy);
        EXPECT_DOUBLE_EQ(dx, r.DX) << r.Angle;
        EXPECT_DOUBLE_EQ(dy, r.DY) << r.Angle;
    }

    // Each class on the screen: one step from (150, 200) in two directions; off-table stands.
    TWorld w;
    PlayingAt(w);
    auto* c = new TMarcoAShotCSprite(w.E(), 150, 200, 16);
    auto* dd = new TMarcoAShotDSprite(w.E(), 150, 200, 176);
    auto* e = new TMarcoAShotESprite(w.E(), 150, 200, 96);
    auto* f = new TMarcoAShotFSprite(w.E(), 150, 200, 240);
    auto* odd = new TMarcoAShotBSprite(w.E(), 150, 200, 8);
    w.Frame();
    EXPECT_DOUBLE_EQ(c->X, 150 - 1.6);
    EXPECT_DOUBLE_EQ(c->Y, 200 - 3.36);
    EXPECT_DOUBLE_EQ(dd->X, 150 + 2.52);
    EXPECT_DOUBLE_EQ(dd->Y, 200 + 1.2);
    EXPECT_DOUBLE_EQ(e->X, 150 - 1.26);
    EXPECT_DOUBLE_EQ(e->Y, 200 + 1.26);
    EXPECT_DOUBLE_EQ(f->X, 150 + 0.4);
    EXPECT_DOUBLE_EQ(f->Y, 200 - 0.84);
    EXPECT_DOUBLE_EQ(odd->X, 150);
    EXPECT_DOUBLE_EQ(odd->Y, 200);
}

TEST(MarcoRingShots, LeaveTwentyPixelsBeyondTheTopAndLeftAtTheRightAndBottomEdges) {
    TWorld w;
    PlayingAt(w);
    auto* left = new TMarcoAShotFSprite(w.E(), -19.5, 200, 64);   // to -20.5
    auto* up = new TMarcoAShotFSprite(w.E(), 100, -19, 0);        // to -20: stays
    auto* right = new TMarcoAShotFSprite(w.E(), 319.5, 200, 192); // to 320.5
    auto* down = new TMarcoAShotFSprite(w.E(), 100, 479, 128);    // to 480: stays
    w.Frame();
    EXPECT_TRUE(left->Killed);
    EXPECT_FALSE(up->Killed);
    EXPECT_TRUE(right->Killed);
    EXPECT_FALSE(down->Killed);
    w.Frame();
    EXPECT_TRUE(up->Killed);
    EXPECT_TRUE(down->Killed);
}

TEST(MarcoStar, ADiagonalStarFromTheLeftEdgeBurstsOutsideAndItsRingLeavesAtOnce) {
    TWorld w;
    PlayingAt(w);
    new TMarcoAShotASprite(w.E(), 0 + 15, 15, 0);  // fired by phase 1 at x = 0
    w.Frame(31);
    ASSERT_EQ(w.CountOf<TMarcoAShotBSprite>(), 16);
    EXPECT_LT(w.All<TMarcoAShotBSprite>().front()->X, -20);
    w.Frame();
    EXPECT_EQ(w.LiveCountOf<TMarcoAShotBSprite>() + w.LiveCountOf<TMarcoAShotCSprite>() +
                  w.LiveCountOf<TMarcoAShotDSprite>(),
              0);
}

// ---- phase 2 ----

TEST(MarcoB, FiresTheCornerWallsThenTheCentreFansInA121FrameCycle) {
    TWorld w;
    PlayingAt(w);
    w.F().MarcoBSprite = new TMarcoBSprite(w.E());
    auto* b = w.All<TMarcoBSprite>().front();
    EXPECT_DOUBLE_EQ(b->X, 130);
    EXPECT_DOUBLE_EQ(b->Y, 0);
    EXPECT_EQ(w.F().AttackName, "呪壁「轟く城壁」");
    for (int cycle = 0; cycle < 2; ++cycle) {
        auto wall = FrameCreated(w);
        ASSERT_EQ(w.F().BossCounters[bcMarcoB], 1);
        ASSERT_EQ(wall.size(), 60u);
        struct TCorner {
            double X, Y;
            int32_t Dirs[3];
        } corners[] = {{0, 460, {208, 224, 240}}, {300, 460, {16, 32, 48}}, {0, 0, {144, 160, 176}}, {300, 0, {80, 96, 112}}};
        for (int g = 0; g < 4; ++g)
            for (int k = 0; k < 5; ++k)
                for (int i = 0; i < 3; ++i) {
                    TSprite* s = wall[g * 15 + k * 3 + i];
                    const TCorner& c = corners[g];
                    switch (k) {
                        case 0: ExpectAt<TMarcoAShotBSprite>(s, c.X, c.Y, c.Dirs[i], "wall B"); break;
                        case 1: ExpectAt<TMarcoAShotCSprite>(s, c.X, c.Y, c.Dirs[i], "wall C"); break;
                        case 2: ExpectAt<TMarcoAShotDSprite>(s, c.X, c.Y, c.Dirs[i], "wall D"); break;
                        case 3: ExpectAt<TMarcoAShotESprite>(s, c.X, c.Y, c.Dirs[i], "wall E"); break;
                        default: ExpectAt<TMarcoAShotFSprite>(s, c.X, c.Y, c.Dirs[i], "wall F"); break;
                    }
                }
        for (int32_t n : {71, 81, 91, 101}) {
            w.Frame(n - w.F().BossCounters[bcMarcoB] - 1);
            auto fan = FrameCreated(w);
            ASSERT_EQ(fan.size(), 3u) << n;
            for (int i = 0; i < 3; ++i) ExpectAt<TMarcoAShotBSprite>(fan[i], 150, 20, 112 + 16 * i, "centre B");
        }
        w.Frame(9);
        auto fan = FrameCreated(w);  // n = 111
        ASSERT_EQ(fan.size(), 15u);
        ExpectAt<TMarcoAShotBSprite>(fan[0], 150, 20, 112, "111 first");
        ExpectAt<TMarcoAShotCSprite>(fan[3], 150, 20, 112, "111 C");
        ExpectAt<TMarcoAShotFSprite>(fan[14], 150, 20, 144, "111 last");
        w.Frame(10);
        EXPECT_EQ(w.F().BossCounters[bcMarcoB], 0);  // n = 121 starts the cycle again
    }
}

// ---- phase 3 ----

TEST(MarcoC, TakesPhaseTwosPlaceAndStartsTheCountdown) {
    TWorld w;
    PlayingAt(w);
    auto* b = new TMarcoBSprite(w.E());
    b->X = 77;
    b->Y = 33;
    w.F().MarcoBSprite = b;
    w.F().BossName = "防御兵マルコ";
    auto* c = new TMarcoCSprite(w.E());
    EXPECT_DOUBLE_EQ(c->X, 77);
    EXPECT_DOUBLE_EQ(c->Y, 33);
    EXPECT_EQ(c->Alpha, 96);
    EXPECT_TRUE(w.F().TaikyuuMode);
    EXPECT_EQ(w.F().TaikyuuCount, 45);
    EXPECT_EQ(w.F().BossName, "防御兵マルコ");
    EXPECT_EQ(w.F().AttackName, "魂弾「天地爆閃弾β」");
    EXPECT_FALSE(IsShootable(c));
}

TEST(MarcoC, FiresSideFoursAndAimedBigBulletsAndStaysAfterTheGameEnds) {
    TWorld w;
    PlayingAt(w, 200 - 21, 400);
    w.F().MarcoBSprite = new TMarcoBSprite(w.E());  // at (130, 0)
    w.F().MarcoCSprite = new TMarcoCSprite(w.E());
    w.F().MarcoBSprite->Kill();
    w.Frame(199);
    EXPECT_EQ(w.CountOf<TMarcoCShotDSprite>(), 0);
    auto four = FrameCreated(w);  // n = 200
    ASSERT_EQ(four.size(), 4u);
    const int32_t dirs[] = {48, 80, 176, 208};
    for (int i = 0; i < 4; ++i) ExpectAt<TMarcoCShotDSprite>(four[i], 150, 20, dirs[i], "side four");
    w.Frame(9);
    auto fresh = FrameCreated(w);  // n = 210
    ASSERT_EQ(fresh.size(), 7u);
    for (int i = 0; i < 4; ++i) EXPECT_NE(dynamic_cast<TMarcoCShotDSprite*>(fresh[i]), nullptr);
    auto* a = dynamic_cast<TMarcoCShotASprite*>(fresh[4]);
    auto* bb = dynamic_cast<TMarcoCShotBSprite*>(fresh[5]);
    auto* cc = dynamic_cast<TMarcoCShotCSprite*>(fresh[6]);
    ASSERT_TRUE(a && bb && cc);
    EXPECT_DOUBLE_EQ(a->X, 150);
    EXPECT_DOUBLE_EQ(a->Y, 20);
    ExpectAimed(a, 190, 390, 5);
    ExpectAimed(bb, 190, 390, 4);
    ExpectAimed(cc, 190, 390, 3);

    // One loop is 120 frames: n = 319 goes back to 199, and 200 fires again.
    RunCounterTo(w, bcMarcoC, 318);
    w.Frame();
    EXPECT_EQ(w.F().BossCounters[bcMarcoC], 199);

    w.F().Playing = false;
    w.Frame(5);
    EXPECT_FALSE(w.All<TMarcoCSprite>().front()->Killed);
    EXPECT_EQ(w.LiveCountOf<TMarcoCShotDSprite>(), 0);
}

TEST(MarcoC, RingsJoinTheLoopBelowThirtyAndBelowTenSecondsLeft) {
    TWorld w;
    PlayingAt(w);
    w.F().MarcoCSprite = new TMarcoCSprite(w.E());  // no phase 2: at (130, 0)
    auto ringsOn = [&](int32_t n, int32_t secondsLeft) {
        w.F().TaikyuuCount = secondsLeft;
        RunCounterTo(w, bcMarcoC, n - 1);
        const auto made = FrameCreated(w);
        std::vector<int32_t> d;
        for (TSprite* s : made)
            if (auto* g = dynamic_cast<TMarcoCShotGSprite*>(s)) d.push_back(static_cast<int32_t>(g->Direction));
        return d;
    };
    EXPECT_TRUE(ringsOn(240, 45).empty());
    EXPECT_TRUE(ringsOn(260, 45).empty());
    EXPECT_TRUE(ringsOn(240, 30).empty());  // strictly below 30
    auto first = ringsOn(240, 29);
    ASSERT_EQ(first.size(), 23u);
    for (int i = 0; i < 23; ++i) EXPECT_EQ(first[i], 2 * i);
    EXPECT_TRUE(ringsOn(260, 10).empty());  // strictly below 10
    EXPECT_EQ(ringsOn(240, 9).size(), 23u);
    auto second = ringsOn(260, 9);
    ASSERT_EQ(second.size(), 22u);
    for (int i = 0; i < 22; ++i) EXPECT_EQ(second[i], 2 * i + 1);

    // Whole radians at speed 4, from 20 pixels into the phase.
    auto* g = w.All<TMarcoCShotGSprite>().back();
    EXPECT_DOUBLE_EQ(g->VX, std::cos(43.0) * 4);
    EXPECT_DOUBLE_EQ(g->VY, std::sin(43.0) * 4);
    EXPECT_DOUBLE_EQ(g->X, 150);
    EXPECT_DOUBLE_EQ(g->Y, 20);
}

TEST(MarcoSideShots, TurnIntoBulletsAimedAboveAndBelowTheHitBox) {
    TWorld w;
    PlayingAt(w, 100 - 21, 300);
    w.F().MarcoCSprite = new TMarcoCSprite(w.E());  // at (130, 0): side shots start at (150, 20)
    auto* right = new TMarcoCShotDSprite(w.E(), 48);
    auto* rightDown = new TMarcoCShotDSprite(w.E(), 80);
    auto* leftDown = new TMarcoCShotDSprite(w.E(), 176);
    auto* left = new TMarcoCShotDSprite(w.E(), 208);
    w.Frame(26);
    EXPECT_TRUE(left->Killed);  // x = 20 after 26 steps
    EXPECT_TRUE(leftDown->Killed);
    EXPECT_FALSE(right->Killed);
    auto e = w.All<TMarcoCShotESprite>();
    auto f = w.All<TMarcoCShotFSprite>();
    ASSERT_EQ(e.size(), 1u);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_DOUBLE_EQ(e[0]->X, 20);
    EXPECT_DOUBLE_EQ(e[0]->Y, 20);
    EXPECT_DOUBLE_EQ(f[0]->X, 20);
    EXPECT_DOUBLE_EQ(f[0]->Y, 20 + 2 * 26);
    ExpectAimed(e[0], 90, 100, 7);
    ExpectAimed(f[0], 90, 500, 7);
    w.Frame(3);
    EXPECT_FALSE(right->Killed);
    w.Frame();  // x = 300 after 30 steps
    EXPECT_TRUE(right->Killed);
    EXPECT_TRUE(rightDown->Killed);
    e = w.All<TMarcoCShotESprite>();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_DOUBLE_EQ(e[1]->X, 300);
    EXPECT_DOUBLE_EQ(e[1]->Y, 20);
}

TEST(MarcoStraightShots, LeaveThirtyBeyondForBigBulletsAndTwentyForTheOthers) {
    TWorld w;
    PlayingAt(w);
    auto* big = new TMarcoCShotASprite(w.E(), 0, 0);
    big->VX = -1;
    big->VY = 0;
    auto* small = new TMarcoCShotESprite(w.E(), 0, 0);
    small->VX = -1;
    small->VY = 0;
    w.Frame(20);
    EXPECT_FALSE(small->Killed);
    w.Frame();
    EXPECT_TRUE(small->Killed);
    EXPECT_FALSE(big->Killed);
    w.Frame(10);
    EXPECT_TRUE(big->Killed);
}

// ---- phase ends and removal ----

TEST(MarcoRows, TheHundredthHitEndsPhaseOneIntoPhaseTwo) {
    TWorld w;
    PlayingAt(w);
    w.F().HP = 6;
    w.F().MarcoASprite = new TMarcoASprite(w.E());
    auto* a = w.All<TMarcoASprite>().front();
    a->Y = 100;
    a->Life = -98;
    auto* shot = new TShotASprite(w.E(), 11);
    shot->X = 150;
    shot->Y = 120;
    w.Frame();
    EXPECT_FALSE(a->Killed);
    shot = new TShotASprite(w.E(), 11);
    shot->X = 150;
    shot->Y = 120;
    w.Frame();
    EXPECT_TRUE(a->Killed);
    EXPECT_EQ(w.F().Score, 100 * 6 + 1500);
    auto hp = w.All<THPItemSprite>();
    ASSERT_EQ(hp.size(), 1u);
    EXPECT_DOUBLE_EQ(hp[0]->X, a->X + 10);
    EXPECT_DOUBLE_EQ(hp[0]->Y, a->Y + 15);
    ASSERT_EQ(w.CountOf<TMarcoBSprite>(), 1);
    EXPECT_TRUE(w.F().MarcoBSprite == w.All<TMarcoBSprite>().front());
    // The next phase starts before the bonus is paid.
    const auto& lines = w.F().Log.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_NE(lines[lines.size() - 2].find("\"class\":\"TMarcoBSprite\""), std::string::npos);
    EXPECT_NE(lines.back().find("\"phase_end\""), std::string::npos);
}

TEST(MarcoRows, PhaseTwoPaysItsBonusBeforePhaseThreeBegins) {
    TWorld w;
    PlayingAt(w);
    w.F().HP = 4;
    w.F().MarcoBSprite = new TMarcoBSprite(w.E());
    auto* b = w.All<TMarcoBSprite>().front();
    b->Life = -149;
    auto* shot = new TShotASprite(w.E(), 11);
    shot->X = 150;
    shot->Y = 30;
    w.Frame();
    EXPECT_TRUE(b->Killed);
    EXPECT_EQ(w.F().Score, 100 * 4 + 1800);
    auto bomb = w.All<TBombItemSprite>();
    ASSERT_EQ(bomb.size(), 1u);
    EXPECT_DOUBLE_EQ(bomb[0]->X, 150);
    EXPECT_DOUBLE_EQ(bomb[0]->Y, 20);
    ASSERT_EQ(w.CountOf<TMarcoCSprite>(), 1);
    auto* c = w.All<TMarcoCSprite>().front();
    EXPECT_TRUE(w.F().MarcoCSprite == c);
    EXPECT_DOUBLE_EQ(c->X, 130);
    EXPECT_DOUBLE_EQ(c->Y, 0);
    const auto& lines = w.F().Log.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_NE(lines[lines.size() - 2].find("\"phase_end\""), std::string::npos);
    EXPECT_NE(lines.back().find("\"class\":\"TMarcoCSprite\""), std::string::npos);
}

TEST(MarcoRows, GameOverRemovesThePhaseWhoseAttackIsShown) {
    TWorld w;
    PlayingAt(w);
    w.F().MarcoASprite = new TMarcoASprite(w.E());
    w.F().MarcoBSprite = new TMarcoBSprite(w.E());
    w.F().MarcoCSprite = new TMarcoCSprite(w.E());
    w.F().BossNameCheck();  // shows phase 3's attack
    EXPECT_TRUE(w.F().MarcoCSprite->Killed);
    EXPECT_FALSE(w.F().MarcoASprite->Killed);
    EXPECT_FALSE(w.F().MarcoBSprite->Killed);
    w.F().AttackName = "呪壁「轟く城壁」";
    w.F().BossNameCheck();
    EXPECT_TRUE(w.F().MarcoBSprite->Killed);
    w.F().AttackName = "防壁「漆黒の城壁」";
    w.F().BossNameCheck();
    EXPECT_TRUE(w.F().MarcoASprite->Killed);
}
