// The lasers Gadnic and Dagar fire: their courses, their removal frames, and what a beam does
// to the player's hit box.
#include <gtest/gtest.h>

#include <string>

#include "bosses/BossTest.h"
#include "bullets/Laser.h"
#include "player/Play.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

// Steps a sprite on its own, as the move pass would.
void StepOf(TSprite* S, int N = 1) {
    for (int i = 0; i < N; ++i) S->Step(1);
}

int StepsToRemoval(TlazerASprite* L) {
    int steps = 0;
    while (!L->Killed && steps < 10000) {
        StepOf(L);
        ++steps;
    }
    return steps;
}

TEST(Laser, TheBossesBeamsLeaveAfter161And134Steps) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* down = new TlazerASprite(w.E(), 90, -480, "青", "縦");
    auto* across = new TlazerASprite(w.E(), -480, 60, "赤", "左右");
    EXPECT_EQ(down->Image->Name, "lazer1");
    EXPECT_EQ(across->Image->Name, "lazer2");
    EXPECT_EQ(down->Height, 480);
    StepOf(down, 160);
    EXPECT_DOUBLE_EQ(down->Y, 480);  // exactly 480 is still on
    EXPECT_FALSE(down->Killed);
    StepOf(down);
    EXPECT_TRUE(down->Killed);
    EXPECT_EQ(StepsToRemoval(across), 134);
    EXPECT_DOUBLE_EQ(across->X, 324);
}

TEST(Laser, TheOtherCoursesAndTheRemovalByTheStoredWord) {
    TWorld w;
    kvtest::PlayingAt(w);
    auto* left = new TlazerASprite(w.E(), 320, 0, "赤", "右左");
    auto* dl = new TlazerASprite(w.E(), 200, -480, "青", "斜右左");
    auto* dr = new TlazerASprite(w.E(), 0, -480, "青", "斜左右");
    EXPECT_EQ(StepsToRemoval(left), 134);  // 320 − 6 × 134 = −484
    EXPECT_EQ(StepsToRemoval(dl), 161);
    EXPECT_DOUBLE_EQ(dl->X, 200 - 3 * 161);
    EXPECT_EQ(StepsToRemoval(dr), 161);
    EXPECT_DOUBLE_EQ(dr->X, 3 * 161);

    // A horizontal beam is never removed by its Y, a vertical one never by its X.
    auto* low = new TlazerASprite(w.E(), 0, 900, "赤", "左右");
    auto* wide = new TlazerASprite(w.E(), 900, 0, "青", "縦");
    StepOf(low);
    StepOf(wide);
    EXPECT_FALSE(low->Killed);
    EXPECT_FALSE(wide->Killed);
    // An unknown word stands still until the game ends.
    auto* still = new TlazerASprite(w.E(), 50, 50, "青", "上");
    StepOf(still, 500);
    EXPECT_DOUBLE_EQ(still->X, 50);
    EXPECT_DOUBLE_EQ(still->Y, 50);
    EXPECT_FALSE(still->Killed);
    w.F().Playing = false;
    for (TlazerASprite* l : {low, wide, still}) {
        StepOf(l);
        EXPECT_TRUE(l->Killed);
    }
}

TEST(Laser, CostsOneHPPerInvincibilityPeriodAndStaysOnTheField) {
    TWorld w;
    kvtest::StartPlaying(w);  // hit box at (156, 430)
    // A beam that stands over the hit box.
    auto* beam = new TlazerASprite(w.E(), 150, 0, "青", "");
    w.Frame();
    EXPECT_EQ(w.F().HP, 9);
    EXPECT_TRUE(w.F().MutekiMode);
    EXPECT_FALSE(beam->Killed);
    int frames = 0;
    while (w.F().HP == 9 && frames < 200) {
        w.Frame();
        ++frames;
    }
    EXPECT_EQ(frames, 40);  // the first frame after the 40 invincible ones costs the next HP
    EXPECT_EQ(w.F().HP, 8);
    EXPECT_FALSE(beam->Killed);
    int hits = 0;
    for (const std::string& s : w.Audio.Names()) hits += s == "ZikiHit";
    EXPECT_EQ(hits, 2);
}

TEST(Laser, TheLastHPLostToABeamEndsTheGameOnce) {
    TWorld w;
    kvtest::StartPlaying(w);
    w.F().HP = 1;
    new TlazerASprite(w.E(), 150, 0, "青", "");
    new TlazerASprite(w.E(), 145, 0, "青", "");  // two beams in the same walk
    w.Frame();
    EXPECT_EQ(w.F().HP, -1);
    EXPECT_FALSE(w.F().Playing);
    EXPECT_EQ(kvtest::EventsOf(w, "game_over").size(), 1u);
}

}  // namespace
