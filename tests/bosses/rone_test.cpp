// R-One: the first phase's descent, 130-frame cycle and jumps, its end by the 200th hit, the
// endurance phase, the four bullet kinds and the removal rows.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "bosses/BossTest.h"
#include "bosses/ROne.h"
#include "enemies/Hits.h"
#include "player/HitReactions.h"
#include "player/Items.h"
#include "player/Ship.h"
#include "shell/GameSprite.h"

using namespace kv;
using namespace kvtest;

namespace {

// A game with the ship standing at (ShipX, 430) and the first phase stored in its reference.
struct TROneWorld : TWorld {
    explicit TROneWorld(double ShipX = 135) {
        F().Playing = true;
        F().HP = 10;
        F().ZikiSprite = new TZikiSprite(E());
        F().ZikiSprite->X = ShipX;
        A = new TROneASprite(E());
        F().ROneASprite = A;
    }
    TROneASprite* A;
};

// What one count of a cycle fires: "triple D", "ring" or "" (nothing).
std::string Volley(const std::vector<TSprite*>& New, int32_t* Direction = nullptr) {
    if (New.size() == 3 && typeid(*New[0]) == typeid(TROneAShotASprite) &&
        typeid(*New[1]) == typeid(TROneAShotBSprite) && typeid(*New[2]) == typeid(TROneAShotCSprite)) {
        auto* a = static_cast<TImageSpriteEx*>(New[0]);
        for (TSprite* s : New) EXPECT_EQ(static_cast<TImageSpriteEx*>(s)->Angle, a->Angle);
        if (Direction) *Direction = a->Angle;
        return "triple";
    }
    if (New.size() == 8) {
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(typeid(*New[i]), typeid(TROneAShotDSprite));
            EXPECT_EQ(static_cast<TImageSpriteEx*>(New[i])->Angle, static_cast<int32_t>(16 + 32 * i));
        }
        return "ring";
    }
    EXPECT_TRUE(New.empty()) << New.size() << " sprites";
    return "";
}

}  // namespace

TEST(ROneA, EntersWithItsNamesAndFiresAnUpwardTripleOnItsFirstStep) {
    TROneWorld w;
    EXPECT_EQ(w.F().BossName, "迎撃兵R-1");
    EXPECT_EQ(w.F().AttackName, "輝式「光閃の守護」");
    ASSERT_EQ(EventsOf(w, "phase").size(), 1u);
    EXPECT_NE(EventsOf(w, "phase")[0].find("\"class\":\"TROneASprite\""), std::string::npos);
    EXPECT_EQ(w.A->Image, w.F().Picture("アールワン"));
    EXPECT_DOUBLE_EQ(w.A->X, 135);
    EXPECT_DOUBLE_EQ(w.A->Y, -50);
    EXPECT_EQ(w.A->Alpha, 255);

    auto first = FrameCreated(w);
    EXPECT_DOUBLE_EQ(w.A->Y, -49);
    int32_t dir = -1;
    ASSERT_EQ(Volley(first, &dir), "triple");
    EXPECT_EQ(dir, 0);
    for (TSprite* s : first) {
        EXPECT_DOUBLE_EQ(s->X, 145);
        EXPECT_DOUBLE_EQ(s->Y, -39);
    }
    EXPECT_EQ(static_cast<TImageSpriteEx*>(first[0])->Image, w.F().Picture("Ring1"));
    EXPECT_EQ(static_cast<TImageSpriteEx*>(first[1])->Image, w.F().Picture("Ring2"));
    EXPECT_EQ(static_cast<TImageSpriteEx*>(first[2])->Image, w.F().Picture("Ring3"));
}

TEST(ROneA, RepeatsA130FrameCycleOfTriplesRingsAndAJumpAboveTheShip) {
    TROneWorld w(200);
    for (int cycle = 0; cycle < 2; ++cycle) {
        std::vector<int> triples, rings;
        std::vector<int32_t> directions;
        for (int c = 1; c <= 130; ++c) {
            int32_t dir = -1;
            const double y = w.A->Y;
            const std::string v = Volley(FrameCreated(w), &dir);
            ASSERT_EQ(w.F().BossCounters[bcROneA], c == 130 ? 0 : c);
            if (v == "triple") {
                triples.push_back(c);
                directions.push_back(dir);
            }
            if (v == "ring") {
                rings.push_back(c);
                // Rings come from 15 pixels right of and below the phase, in "Bullet2".
                auto ds = w.All<TROneAShotDSprite>();
                EXPECT_DOUBLE_EQ(ds.back()->X, w.A->X + 15);
                EXPECT_DOUBLE_EQ(ds.back()->Y, w.A->Y + 15);
                EXPECT_EQ(ds.back()->Image, w.F().Picture("Bullet2"));
            }
            if (c == 129) {
                EXPECT_DOUBLE_EQ(w.A->X, cycle == 0 ? 135 : 200);
            }
            if (c == 130) {
                EXPECT_DOUBLE_EQ(w.A->X, 200) << "above the ship";
                EXPECT_DOUBLE_EQ(w.A->Y, y + (y < 60 ? 1 : 0)) << "only the descent moves it down";
            }
        }
        std::vector<int> wantTriples, wantRings;
        std::vector<int32_t> wantDirections;
        for (int k = 0; k < 16; ++k) {
            wantTriples.push_back(1 + 5 * k);
            wantDirections.push_back(32 * (k % 8));
        }
        for (int c = 81; c <= 126; c += 5) wantRings.push_back(c);
        EXPECT_EQ(triples, wantTriples);
        EXPECT_EQ(directions, wantDirections);
        EXPECT_EQ(rings, wantRings);
    }
}

TEST(ROneA, DescendsTo60In110StepsThenSpins) {
    TROneWorld w;
    w.Frame(109);
    EXPECT_DOUBLE_EQ(w.A->Y, 59);
    EXPECT_EQ(w.A->Angle, 0);
    w.Frame();
    EXPECT_DOUBLE_EQ(w.A->Y, 60);
    EXPECT_EQ(w.A->Angle, 0);
    w.Frame(2);
    EXPECT_DOUBLE_EQ(w.A->Y, 60);
    EXPECT_EQ(w.A->Angle, -14);
}

TEST(ROneA, ACountAbove130DoesNothing) {
    TROneWorld w;
    w.F().BossCounters[bcROneA] = 130;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(FrameCreated(w).empty()) << i;
    EXPECT_EQ(w.F().BossCounters[bcROneA], 135);
    EXPECT_DOUBLE_EQ(w.A->X, 135);
}

TEST(ROneA, The200thHitEndsThePhaseIntoTheEndurancePhase) {
    TROneWorld w;
    w.Frame(120);
    w.A->X = 80;
    const double y = w.A->Y;
    w.F().HP = 7;
    w.F().Score = 500;
    kvtest::HitWithShots(w, w.A, 199);
    EXPECT_FALSE(w.A->Killed);
    EXPECT_FALSE(w.F().ROneDown);
    kvtest::HitWithShots(w, w.A, 1);
    EXPECT_TRUE(w.A->Killed);
    EXPECT_TRUE(w.F().ROneDown);
    EXPECT_EQ(w.Audio.CountOf("Dead"), 1);

    auto items = w.All<THPItemSprite>();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_DOUBLE_EQ(items[0]->X, 95);
    EXPECT_DOUBLE_EQ(items[0]->Y, y + 15);

    auto* b = dynamic_cast<TROneBSprite*>(w.F().ROneBSprite.Get());
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(IsShootable(b));
    EXPECT_FALSE(IsA<TEnemySprite>(b));
    EXPECT_DOUBLE_EQ(b->X, 80);
    EXPECT_DOUBLE_EQ(b->Y, y);
    EXPECT_EQ(b->Alpha, 96);
    EXPECT_EQ(w.F().BossName, "迎撃兵R-1");
    EXPECT_EQ(w.F().AttackName, "魂弾「天地爆閃弾α」");
    EXPECT_TRUE(w.F().TaikyuuMode);
    EXPECT_EQ(w.F().TaikyuuCount, 40);
    EXPECT_EQ(w.F().Score, 500 + 100 * 7 + 1000);
    auto ends = EventsOf(w, "phase_end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_NE(ends[0].find("\"class\":\"TROneASprite\""), std::string::npos);
    EXPECT_NE(ends[0].find("\"bonus\":1700"), std::string::npos);
    ASSERT_EQ(EventsOf(w, "phase").size(), 2u);
    EXPECT_NE(EventsOf(w, "phase")[1].find("TROneBSprite"), std::string::npos);

    // A later hit on the dying phase in the same frame does not end it again.
    kvtest::HitWithShots(w, w.A, 1);
    EXPECT_EQ(w.CountOf<TROneBSprite>(), 1);
    EXPECT_EQ(w.F().Score, 2200);
}

TEST(ROneB, SpinsTranslucentAndJumpsToWholeRandomPlacesBeforeItsVolleys) {
    TROneWorld w;
    w.Frame(120);
    w.F().ROneDown = true;
    auto* b = new TROneBSprite(w.E());
    w.F().ROneBSprite = b;
    w.A->Kill();
    const double y = b->Y;
    std::vector<int> jumps;
    for (int c = 1; c <= 260; ++c) {
        const double x = b->X;
        const int32_t angle = b->Angle;
        const std::string v = Volley(FrameCreated(w));
        EXPECT_EQ(b->Angle, angle + 13);
        EXPECT_DOUBLE_EQ(b->Y, y) << "it never moves vertically";
        const int cc = (c - 1) % 130 + 1;
        if (b->X != x) jumps.push_back(cc);
        if (cc == 41 || cc == 81 || cc == 106 || cc == 130) {
            EXPECT_EQ(b->X, static_cast<int>(b->X));
            EXPECT_GE(b->X, 0);
            EXPECT_LT(b->X, 270);
        } else {
            EXPECT_DOUBLE_EQ(b->X, x) << cc;
        }
        if (v == "ring") {
            // Rings now come from the endurance phase, in "Bullet1".
            auto ds = w.All<TROneAShotDSprite>();
            EXPECT_DOUBLE_EQ(ds.back()->X, b->X + 15);
            EXPECT_EQ(ds.back()->Image, w.F().Picture("Bullet1"));
        }
        if (v == "triple") {
            EXPECT_DOUBLE_EQ(w.All<TROneAShotASprite>().back()->X, b->X + 10);
        }
    }
    EXPECT_EQ(w.F().BossCounters[bcROneB], 0);
    EXPECT_EQ(w.F().BossCounters[bcROneA], 120) << "the first phase's counter is left alone";
    // A random place may repeat, so a jump can stay put; most of them move.
    EXPECT_GE(jumps.size(), 6u);

    // No Playing test of its own: it stays until the countdown or the removal ends it.
    w.F().Playing = false;
    w.Frame();
    EXPECT_FALSE(b->Killed);
}

TEST(ROne, RemovalRowsKillThePhaseThatShowsTheAttack) {
    TROneWorld w;
    w.F().BossNameCheck();
    EXPECT_TRUE(w.A->Killed);
    auto* b = new TROneBSprite(w.E());
    w.F().ROneBSprite = b;
    EXPECT_FALSE(b->Killed);
    w.F().BossNameCheck();
    EXPECT_TRUE(b->Killed);
}

TEST(ROneShots, TriplesAndRingsStepByTheirTablesAndLeaveByTheirMargins) {
    TROneWorld w;
    w.A->X = 100;
    w.A->Y = 100;  // bullets start at (110, 110) and (115, 115)
    struct TCase {
        TImageSpriteEx* S;
        double DX, DY;
    };
    std::vector<TCase> cases = {
        {new TROneAShotASprite(w.E(), 0), 0, -5},       {new TROneAShotASprite(w.E(), 96), -3.2, 3.2},
        {new TROneAShotBSprite(w.E(), 32), -2.8, -2.8}, {new TROneAShotBSprite(w.E(), 192), 4, 0},
        {new TROneAShotCSprite(w.E(), 64), -3, 0},      {new TROneAShotCSprite(w.E(), 160), 2.5, 2.5},
        {new TROneAShotDSprite(w.E(), 16), -1.25, -3.75}, {new TROneAShotDSprite(w.E(), 176), 3.75, 1.25},
        {new TROneAShotDSprite(w.E(), 240), 1.25, -3.75}, {new TROneAShotASprite(w.E(), 16), 0, 0},
        {new TROneAShotDSprite(w.E(), 32), 0, 0},
    };
    auto* upA = new TROneAShotASprite(w.E(), 0);
    auto* upD = new TROneAShotDSprite(w.E(), 16);
    upA->Y = -19;     // -24, -29: stays; -34: leaves
    upD->Y = -12.75;  // -16.5, then -20.25: leaves
    std::vector<std::pair<double, double>> start;
    for (auto& c : cases) start.push_back({c.S->X, c.S->Y});
    w.A->Kill();  // bullets already made keep flying without it
    w.Frame();
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_DOUBLE_EQ(cases[i].S->X, start[i].first + cases[i].DX) << i;
        EXPECT_DOUBLE_EQ(cases[i].S->Y, start[i].second + cases[i].DY) << i;
    }
    w.Frame();
    EXPECT_FALSE(upA->Killed);
    EXPECT_TRUE(upD->Killed);
    w.Frame();
    EXPECT_TRUE(upA->Killed);
}

TEST(ROneShots, WithoutAPhaseToFireFromABulletIsDropped) {
    TWorld w;
    w.F().Playing = true;
    auto* s = new TROneAShotASprite(w.E(), 0);
    EXPECT_TRUE(s->Killed);
}
