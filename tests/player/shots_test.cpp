// Shots: their tables, their removal, and the hit reaction rows (small enemies and boss phases).
#include <gtest/gtest.h>

#include "player/HitReactions.h"
#include "player/Items.h"
#include "player/Play.h"
#include "player/Shots.h"

using namespace kv;
using kvtest::TWorld;

namespace {

struct TRowCase {
    int32_t Spread, Angle;
    double DX, DY;
};

// A shot of kind T placed at (X, Y), as if the ship had just fired it.
template <class T>
T* ShotAt(TWorld& w, int32_t Spread, double X, double Y) {
    T* s = new T(w.E(), Spread);
    s->X = X;
    s->Y = Y;
    return s;
}

TZakoAASprite* HoveringZakoAA(TWorld& w, double X = 100, double Y = 200) {
    return new TZakoAASprite(w.E(), X, Y);
}

// A boss phase for these tests only, ended on its 3rd hit into a follow-up phase.
class TTestPhaseSprite : public TBossSprite {
public:
    explicit TTestPhaseSprite(TSprite* Parent) : TBossSprite(Parent) { SetupImage(this, "マルコ"); }
};
class TTestNextPhaseSprite : public TBossSprite {
public:
    explicit TTestNextPhaseSprite(TSprite* Parent) : TBossSprite(Parent) { SetupImage(this, "マルコ"); }
};
const TBossPhaseRowRegistrar testPhaseRow{IsA<TTestPhaseSprite>, 3, [](TForm1& F, TEnemySprite* O) {
    RunPhaseEnd(F, O,
                {"TTestPhaseSprite",
                 {{TItemKind::HP, 0, 0}, {TItemKind::Bomb, 10, 5}},
                 [](TForm1& Form) -> TSprite* { return new TTestNextPhaseSprite(Form.SpriteEngine()); },
                 &TForm1::MarcoBSprite,
                 100,
                 1000});
}};

}  // namespace

TEST(ShotTables, EachSpreadMovesByItsRowAndOthersStandStill) {
    const TRowCase a[] = {{0, 116, -3, -8.75}, {6, 122, -1.5, -10}, {11, 127, -0.5, -12.5},
                          {13, 129, 0.5, -12.5}, {18, 134, 1.5, -10}, {24, 140, 3, -8.75}};
    const TRowCase b[] = {{0, 123, -1.4, -13}, {1, 124, -1.2, -14}, {2, 125, -1.0, -15},
                          {4, 127, -0.4, -17}, {5, 128, 0, -20},    {6, 129, 0.4, -17},
                          {8, 131, 1.0, -15},  {9, 132, 1.2, -14},  {10, 133, 1.4, -13}};
    TWorld w;
    kvtest::StartPlaying(w);
    std::vector<std::pair<TShotsSprite*, TRowCase>> shots;
    for (const TRowCase& c : a) shots.push_back({new TShotASprite(w.E(), c.Spread), c});
    for (const TRowCase& c : b) shots.push_back({new TShotBSprite(w.E(), c.Spread), c});
    // Outside the tables: the shot is left where it is.
    TShotsSprite* offA = new TShotASprite(w.E(), 3);
    TShotsSprite* offB = new TShotBSprite(w.E(), 3);
    for (auto& [s, c] : shots) {
        EXPECT_EQ(s->Angle, c.Angle);
        EXPECT_DOUBLE_EQ(s->X, 155);
        EXPECT_DOUBLE_EQ(s->Y, 415);
    }
    w.Frame(2);
    for (auto& [s, c] : shots) {
        EXPECT_DOUBLE_EQ(s->X, 155 + 2 * c.DX) << "angle " << c.Angle;
        EXPECT_DOUBLE_EQ(s->Y, 415 + 2 * c.DY) << "angle " << c.Angle;
    }
    EXPECT_DOUBLE_EQ(offA->X, 155);
    EXPECT_DOUBLE_EQ(offA->Y, 415);
    EXPECT_DOUBLE_EQ(offB->Y, 415);
    EXPECT_EQ(w.All<TShotASprite>()[0]->Image, w.F().Picture("Fire1"));
    EXPECT_EQ(w.All<TShotBSprite>()[0]->Image, w.F().Picture("Fire2"));
}

TEST(ShotTables, AShotLeavesOnlyOncePastMinus35) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* atEdge = ShotAt<TShotASprite>(w, 0, 100, -26.25);  // to exactly −35
    auto* past = ShotAt<TShotASprite>(w, 0, 150, -26.5);     // to −35.25
    w.Frame();
    EXPECT_DOUBLE_EQ(atEdge->Y, -35);
    EXPECT_FALSE(atEdge->Killed);
    EXPECT_TRUE(past->Killed);
}

TEST(ShotHits, TheNinthHitDestroysAZakoAAndScores20) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* zako = HoveringZakoAA(w);
    for (int hit = 1; hit <= 8; ++hit) {
        auto* shot = ShotAt<TShotASprite>(w, 11, zako->X + 10, zako->Y + 10);
        w.Frame();
        ASSERT_TRUE(shot->Killed);
        ASSERT_EQ(zako->Life, -hit);
        ASSERT_FALSE(zako->Killed);
    }
    EXPECT_EQ(w.F().Score, 0);
    EXPECT_EQ(w.F().ZakoAACount, 8);
    ShotAt<TShotASprite>(w, 11, zako->X + 10, zako->Y + 10);
    w.Frame();
    EXPECT_TRUE(zako->Killed);
    EXPECT_EQ(w.F().Score, 20);
    EXPECT_EQ(w.F().ZakoAACount, 0);
}

TEST(ShotHits, TwoShotsOnADyingSmallEnemyScoreTwice) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* zako = new TZakoACSprite(w.E(), 100, 200);
    zako->Life = -8;
    ShotAt<TShotASprite>(w, 11, 110, 210);
    ShotAt<TShotBSprite>(w, 5, 120, 210);
    w.Frame();
    EXPECT_TRUE(zako->Killed);
    EXPECT_EQ(zako->Life, -10);
    EXPECT_EQ(w.F().Score, 40);
}

TEST(ShotHits, OneShotOverTwoEnemiesHitsBoth) {
    TWorld w;
    kvtest::StartPlaying(w);
    auto* a = HoveringZakoAA(w, 100, 200);
    auto* b = new TZakoABSprite(w.E(), 105, 205);
    auto* shot = ShotAt<TShotASprite>(w, 11, 110, 210);
    w.Frame();
    EXPECT_EQ(a->Life, -1);
    EXPECT_EQ(b->Life, -1);
    EXPECT_TRUE(shot->Killed);
}

TEST(ShotHits, ShotsPassThroughBulletsItemsShadowsAndThePlayer) {
    TWorld w;
    kvtest::StartPlaying(w);
    w.F().MutekiModein();  // the hit box leaves the item and the bullet alone
    kvtest::StandingBullet(w, 100, 300);
    new THPItemSprite(w.E(), 100, 250);
    auto* shadow = new TZakoAShadowSprite(w.E(), 90, 150);
    auto* shot = ShotAt<TShotBSprite>(w, 5, 105, 310);
    for (int i = 0; i < 8; ++i) w.Frame();
    EXPECT_FALSE(shot->Killed);
    EXPECT_DOUBLE_EQ(shot->Y, 310 - 8 * 20);
    EXPECT_EQ(shadow->Life, 0);
    // Over the ship and its hit box.
    auto* overShip = ShotAt<TShotBSprite>(w, 5, w.F().ZikiX() + 20, w.F().ZikiY() + 10);
    w.Frame();
    EXPECT_FALSE(overShip->Killed);
}

TEST(ShotHits, ABossPhaseEndsOnceOnItsKthHit) {
    TWorld w;
    kvtest::StartPlaying(w);
    w.F().HP = 7;
    auto* phase = new TTestPhaseSprite(w.E());
    phase->X = 100;
    phase->Y = 100;
    ShotAt<TShotASprite>(w, 11, 120, 120);
    w.Frame();
    EXPECT_EQ(phase->Life, -1);
    EXPECT_EQ(w.Audio.CountOf("Dead"), 0);

    // The 2nd, 3rd and 4th hits in one frame: the 3rd ends the phase, the 4th only lowers Life.
    for (int i = 0; i < 3; ++i) ShotAt<TShotASprite>(w, 11, 110 + 10 * i, 120);
    w.Frame();
    EXPECT_TRUE(phase->Killed);
    EXPECT_EQ(phase->Life, -4);
    EXPECT_EQ(w.Audio.CountOf("Dead"), 1);
    EXPECT_EQ(w.F().Score, 100 * 7 + 1000);
    EXPECT_EQ(w.CountOf<TTestNextPhaseSprite>(), 1);
    EXPECT_TRUE(w.F().MarcoBSprite == w.All<TTestNextPhaseSprite>().front());
    auto hp = w.All<THPItemSprite>();
    auto bomb = w.All<TBombItemSprite>();
    ASSERT_EQ(hp.size(), 1u);
    ASSERT_EQ(bomb.size(), 1u);
    EXPECT_DOUBLE_EQ(hp[0]->X, 100);
    EXPECT_DOUBLE_EQ(hp[0]->Y, 100);
    EXPECT_DOUBLE_EQ(bomb[0]->X, 110);
    EXPECT_DOUBLE_EQ(bomb[0]->Y, 105);
    EXPECT_EQ(w.F().Log.CountOf("phase_end"), 1);
    EXPECT_TRUE(IsShootable(phase));
}
