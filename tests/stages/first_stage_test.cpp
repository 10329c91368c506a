// The game start and the Stage 1 script: every timeline entry on its frame and in its order,
// the hand-over to R-One on step 1500, and the script's end with the game.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "bosses/BossTest.h"
#include "bosses/ROne.h"
#include "enemies/ZakoA.h"
#include "enemies/ZakoB.h"
#include "enemies/ZakoE.h"
#include "enemies/ZakoIJ.h"
#include "player/HitBox.h"
#include "player/Ship.h"
#include "shell/Title.h"
#include "stages/FirstStage.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

// A game started with the "Normal" button; the ship stands still and takes no damage.
struct TGameWorld : TWorld {
    TGameWorld() {
        F().Invincible = true;
        F().Button1.OnClick();
    }
};

struct TSeen {
    int32_t Count;
    std::string Class;
    double X, Y;
    bool operator==(const TSeen&) const = default;
};

std::string ClassOf(const TSprite* S) {
    if (typeid(*S) == typeid(TZakoAASprite)) return "AA";
    if (typeid(*S) == typeid(TZakoABSprite)) return "AB";
    if (typeid(*S) == typeid(TZakoACSprite)) return "AC";
    if (typeid(*S) == typeid(TZakoDSprite)) return "D";
    if (typeid(*S) == typeid(TZakoESprite)) return "E";
    if (typeid(*S) == typeid(TZakoJSprite)) return "J";
    if (typeid(*S) == typeid(TROneASprite)) return "R-One";
    return "";
}

std::ostream& operator<<(std::ostream& o, const TSeen& s) {
    return o << s.Count << " " << s.Class << " (" << s.X << ", " << s.Y << ")";
}

}  // namespace

TEST(GameStart, NormalStartsStageOneWithTheShipAndItsHitBox) {
    TWorld w;
    auto* title = w.F().TitleSprite.Get();
    ASSERT_NE(title, nullptr);
    auto* leftover = new TZakoJSprite(w.E(), 0, 0);
    leftover->Kill();
    ASSERT_TRUE(w.F().Button1.OnClick);
    w.F().Button1.OnClick();

    EXPECT_EQ(w.Audio.CountOf("Pingpong"), 1);
    EXPECT_EQ(w.CountOf<TZakoJSprite>(), 0) << "the engine was purged before the game's sprites were made";
    EXPECT_TRUE(title->Killed);
    EXPECT_TRUE(w.F().HudOn);
    EXPECT_TRUE(w.F().Playing);
    EXPECT_FALSE(w.F().ResetDone);
    EXPECT_EQ(w.F().HP, 10);
    EXPECT_EQ(w.F().Bomb, 3);
    EXPECT_EQ(w.F().StageNo, 1);
    EXPECT_EQ(w.F().StageCount, 0);
    for (TButton* b : {&w.F().Button1, &w.F().Button2, &w.F().Button3, &w.F().Button4, &w.F().Button6})
        EXPECT_FALSE(b->Visible) << b->Name;
    EXPECT_NE(w.F().MediaFileName.find("musics/1-0.mp3"), std::string::npos);

    // Ship, hit box and script, in that order (the hit box takes its place from the ship).
    const auto& k = w.E()->Children();
    ASSERT_GE(k.size(), 3u);
    EXPECT_EQ(typeid(*k[k.size() - 3]), typeid(TZikiSprite));
    EXPECT_EQ(typeid(*k[k.size() - 2]), typeid(TZikiHanteiSprite));
    EXPECT_EQ(typeid(*k[k.size() - 1]), typeid(TFirstStageSprite));
    EXPECT_EQ(w.F().ZikiSprite.Get(), k[k.size() - 3]);
    EXPECT_EQ(w.F().ZikiHanteiSprite.Get(), k[k.size() - 2]);
    EXPECT_DOUBLE_EQ(w.F().ZikiHanteiSprite->X, 156);
    EXPECT_EQ(static_cast<TImageSprite*>(k.back())->Image, nullptr) << "the script draws nothing";

    ASSERT_EQ(EventsOf(w, "start").size(), 1u);
    EXPECT_NE(EventsOf(w, "start")[0].find("\"mode\":\"normal\""), std::string::npos);
    ASSERT_EQ(EventsOf(w, "stage").size(), 1u);
    EXPECT_NE(EventsOf(w, "stage")[0].find("\"stage\":1"), std::string::npos);
}

TEST(FirstStage, TheFirstZakoAComesOnStep30NotStep31) {
    TGameWorld w;
    w.Frame(29);
    EXPECT_EQ(w.F().StageCount, 29);
    EXPECT_EQ(w.CountOf<TZakoAASprite>(), 0);
    w.Frame();
    EXPECT_EQ(w.F().StageCount, 30);
    ASSERT_EQ(w.CountOf<TZakoAASprite>(), 1);
    EXPECT_DOUBLE_EQ(w.All<TZakoAASprite>()[0]->X, 135);
    EXPECT_DOUBLE_EQ(w.All<TZakoAASprite>()[0]->Y, -25);
}

TEST(FirstStage, EveryEntryFiresOnItsStepInItsOrderAndR_OneTakesOverOn1500) {
    TGameWorld w;
    std::vector<TSeen> seen;
    kvtest::TFrameBudget budget(5000);
    while (w.F().ROneASprite.Get() == nullptr && w.F().StageCount < 1600) {
        budget.Spend();
        w.E()->Purge();
        const size_t before = w.E()->Children().size();
        w.Frame();
        ASSERT_TRUE(w.F().Playing);
        const auto& k = w.E()->Children();
        for (size_t i = before; i < k.size(); ++i) {
            std::string c = ClassOf(k[i]);
            // The carriers and ring craft start at their own height.
            if (!c.empty()) seen.push_back({w.F().StageCount, c, k[i]->X, k[i]->Y});
        }
    }
    const std::vector<TSeen> want = {
        {30, "AA", 135, -25},
        {80, "AB", 35, -25},    {80, "AC", 235, -25},
        {150, "AA", 40, -25},   {150, "AB", 135, -25},  {150, "AC", 230, -25},
        {200, "D", 0, -30},     {200, "D", 290, -30},
        {230, "D", 30, -30},    {230, "D", 260, -30},
        {260, "D", 60, -30},    {260, "D", 230, -30},
        {290, "D", 90, -30},    {290, "D", 200, -30},
        {360, "AA", 35, -25},   {400, "AB", 135, -25},  {420, "AC", 235, -25},
        {440, "AA", 85, -25},   {460, "AB", 135, -25},  {480, "AC", 185, -25},
        {530, "AA", 0, -25},    {530, "AB", 50, -25},   {530, "AC", 100, -25},
        {590, "AA", 270, -25},  {590, "AB", 220, -25},  {590, "AC", 170, -25},
        {650, "AA", 85, -25},   {650, "AB", 135, -25},  {650, "AC", 185, -25},
        {800, "E", 116, -30},   {800, "E", 174, -30},
        {860, "E", 58, -30},    {860, "E", 232, -30},
        {920, "E", 0, -30},     {920, "E", 290, -30},
        {980, "E", 58, -30},    {980, "E", 232, -30},
        {1040, "E", 116, -30},  {1040, "E", 174, -30},
        {1100, "J", 135, -50},  {1180, "J", 35, -50},   {1260, "J", 235, -50},
        {1500, "R-One", 135, -50},
    };
    EXPECT_EQ(seen, want);

    // The hand-over: the boss music is named, the script is gone and nothing counts any more.
    EXPECT_EQ(w.F().StageCount, 1500);
    EXPECT_NE(w.F().MediaFileName.find("musics/1-1.mp3"), std::string::npos);
    EXPECT_EQ(w.LiveCountOf<TFirstStageSprite>(), 0);
    EXPECT_EQ(w.F().AttackName, "輝式「光閃の守護」");
    ASSERT_EQ(EventsOf(w, "phase").size(), 1u);
    w.Frame(50);
    EXPECT_EQ(w.F().StageCount, 1500);
    EXPECT_EQ(w.CountOf<TFirstStageSprite>(), 0);
    EXPECT_EQ(w.CountOf<TROneASprite>(), 1);
}

TEST(FirstStage, AfterAGameOverTheScriptStopsCountingAndLeaves) {
    TGameWorld w;
    w.Frame(100);
    auto* script = w.All<TFirstStageSprite>().front();
    w.F().Playing = false;
    w.Frame();
    EXPECT_TRUE(script->Killed);
    EXPECT_EQ(w.F().StageCount, 100);
    w.Frame(200);
    EXPECT_EQ(w.F().StageCount, 100);
    EXPECT_EQ(w.CountOf<TZakoDSprite>(), 0) << "the carriers of step 200 never came";
}

TEST(FirstStage, TheConstructorResetsTheCountAndTheNames) {
    TWorld w;
    w.F().Playing = true;
    w.F().StageNo = 3;
    w.F().StageCount = 777;
    w.F().BossName = "x";
    w.F().AttackName = "y";
    new TFirstStageSprite(w.E());
    EXPECT_EQ(w.F().StageNo, 1);
    EXPECT_EQ(w.F().StageCount, 0);
    EXPECT_TRUE(w.F().BossName.empty());
    EXPECT_TRUE(w.F().AttackName.empty());
    w.Frame();
    EXPECT_EQ(w.F().StageCount, 1);
}
