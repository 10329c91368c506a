// The Stage 2 script: how outlasting R-One leads into it, every timeline entry on its frame and
// in its order, and the hand-over to Marco on step 1800.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "bosses/BossTest.h"
#include "bosses/Marco.h"
#include "bosses/ROne.h"
#include "enemies/Sign.h"
#include "enemies/ZakoA.h"
#include "enemies/ZakoE.h"
#include "enemies/ZakoGH.h"
#include "enemies/ZakoIJ.h"
#include "player/Items.h"
#include "stages/FirstStage.h"
#include "stages/SecondStage.h"

using namespace kv;
using namespace kvtest;

namespace {

// A game whose Stage 1 has reached R-One's endurance phase, with HP hit points left. The ship
// stands still and takes no damage.
struct TEnduranceWorld : TWorld {
    explicit TEnduranceWorld(int32_t HP = 10) {
        F().Invincible = true;
        F().Button1.OnClick();
        for (auto* s : All<TFirstStageSprite>()) s->Kill();
        F().ROneASprite = new TROneASprite(E());
        F().ROneASprite->X = 90;
        F().ROneASprite->Y = 60;
        F().ROneASprite->Kill();
        F().ROneBSprite = new TROneBSprite(E());
        F().HP = HP;
        Frame();
    }
    // The countdown's last tick: Stage 2 begins.
    void Outlast() {
        for (int ticks = 0; F().TaikyuuCount > 1; ++ticks) {
            if (ticks == 100) throw std::runtime_error("the endurance countdown does not run down");
            Tick();
        }
        Tick();
    }
};

struct TSeen {
    int32_t Count;
    std::string Class;
    double X, Y;
    bool operator==(const TSeen&) const = default;
};

std::ostream& operator<<(std::ostream& o, const TSeen& s) {
    return o << s.Count << " " << s.Class << " (" << s.X << ", " << s.Y << ")";
}

std::string ClassOf(const TSprite* S) {
    if (typeid(*S) == typeid(TZakoAASprite)) return "AA";
    if (typeid(*S) == typeid(TZakoABSprite)) return "AB";
    if (typeid(*S) == typeid(TZakoACSprite)) return "AC";
    if (typeid(*S) == typeid(TZakoESprite)) return "E";
    if (typeid(*S) == typeid(TZakoHSprite)) return "H";
    if (typeid(*S) == typeid(TZakoISprite)) return "I";
    if (auto* sign = dynamic_cast<const TSignASprite*>(S)) return "Sign" + std::to_string(sign->Mode);
    if (typeid(*S) == typeid(TMarcoASprite)) return "Marco";
    return "";
}

}  // namespace

TEST(SecondStage, OutlastingR_OneDropsAnItemPaysTheBonusAndStartsStageTwo) {
    TEnduranceWorld w(7);
    const int32_t score = w.F().Score;
    auto* b = w.All<TROneBSprite>().front();
    const double bx = b->X, by = b->Y;
    w.Outlast();
    EXPECT_TRUE(b->Killed);
    EXPECT_EQ(w.F().Score, score + 2000 + 150 * 7);
    auto hp = w.All<THPItemSprite>();
    ASSERT_EQ(hp.size(), 1u);
    EXPECT_DOUBLE_EQ(hp[0]->X, bx + 10);
    EXPECT_DOUBLE_EQ(hp[0]->Y, by + 15);
    ASSERT_EQ(w.CountOf<TSecondStageSprite>(), 1);
    EXPECT_EQ(w.F().StageNo, 2);
    EXPECT_EQ(w.F().StageCount, 0);
    EXPECT_TRUE(w.F().BossName.empty());
    EXPECT_TRUE(w.F().AttackName.empty());
    EXPECT_NE(w.F().MediaFileName.find("musics/2-0.mp3"), std::string::npos);

    auto ends = EventsOf(w, "endurance_end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_NE(ends[0].find("魂弾「天地爆閃弾α」"), std::string::npos);
    EXPECT_NE(ends[0].find("\"bonus\":3050"), std::string::npos);
    auto stages = EventsOf(w, "stage");
    ASSERT_EQ(stages.size(), 2u);
    EXPECT_NE(stages[1].find("\"stage\":2"), std::string::npos);
    // The script comes last, after the bonus.
    const auto& lines = w.F().Log.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_NE(lines[lines.size() - 2].find("endurance_end"), std::string::npos);
    EXPECT_NE(lines.back().find("\"stage\":2"), std::string::npos);
}

TEST(SecondStage, EveryEntryFiresOnItsStepInItsOrderAndMarcoTakesOverOn1800) {
    TEnduranceWorld w;
    w.Outlast();
    std::vector<TSeen> seen;
    for (int frames = 0; !w.F().MarcoASprite && w.F().StageCount < 1900; ++frames) {
        ASSERT_LT(frames, 1900) << "the script stopped counting at " << w.F().StageCount;
        const auto made = FrameCreated(w);
        ASSERT_TRUE(w.F().Playing);
        for (TSprite* s : made)
            if (std::string c = ClassOf(s); !c.empty()) seen.push_back({w.F().StageCount, c, s->X, s->Y});
    }
    // The ring craft start at y = -30 and the star craft at -32, whatever the script's Y.
    const std::vector<TSeen> want = {
        {55, "AA", 135, -25},  {55, "E", 116, -30},   {55, "E", 174, -30},   {55, "E", 58, -30},
        {55, "E", 232, -30},
        {80, "E", 0, -30},     {80, "E", 290, -30},
        {130, "E", 58, -30},   {130, "E", 232, -30},
        {155, "E", 116, -30},  {155, "E", 174, -30},
        {180, "AA", 85, -25},  {180, "AB", 135, -25}, {180, "AC", 185, -25},
        {180, "E", 116, -30},  {180, "E", 174, -30},  {180, "E", 58, -30},   {180, "E", 232, -30},
        {255, "E", 116, -30},  {255, "E", 174, -30},  {255, "E", 58, -30},   {255, "E", 232, -30},
        {305, "H", 0, -32},    {330, "H", 32, -32},   {355, "H", 64, -32},   {380, "H", 96, -32},
        {405, "H", 128, -32},  {430, "H", 160, -32},  {455, "H", 192, -32},  {480, "H", 224, -32},
        {505, "H", 256, -32},  {530, "H", 288, -32},
        {570, "AB", 27, -25},  {585, "AC", 54, -25},  {600, "AA", 81, -25},
        {615, "AB", 108, -25}, {630, "AC", 135, -25}, {645, "AA", 162, -25},
        {660, "AB", 189, -25}, {675, "AC", 216, -25}, {690, "AA", 243, -25},
        {800, "I", 35, -25},   {850, "I", 135, -25},  {900, "I", 235, -25},
        {1010, "AB", 243, -25}, {1030, "AC", 216, -25}, {1050, "AA", 189, -25},
        {1070, "AB", 162, -25}, {1090, "AC", 135, -25}, {1110, "AA", 108, -25},
        {1130, "AB", 81, -25},  {1150, "AC", 54, -25},  {1170, "AA", 27, -25},
        {1300, "Sign0", 0, 0},   {1300, "Sign0", 0, 430},
        {1400, "Sign0", 270, 0}, {1400, "Sign0", 270, 430},
        {1500, "Sign0", 0, 0},   {1500, "Sign0", 270, 430},
        {1600, "Sign0", 270, 0}, {1600, "Sign0", 0, 430},
        {1800, "Marco", 130, -60},
    };
    EXPECT_EQ(seen, want);

    EXPECT_EQ(w.F().StageCount, 1800);
    EXPECT_NE(w.F().MediaFileName.find("musics/2-1.mp3"), std::string::npos);
    EXPECT_EQ(w.LiveCountOf<TSecondStageSprite>(), 0);
    EXPECT_EQ(w.F().BossName, "防御兵マルコ");
    EXPECT_EQ(w.F().AttackName, "防壁「漆黒の城壁」");
    w.Frame(30);
    EXPECT_EQ(w.F().StageCount, 1800);
    EXPECT_EQ(w.CountOf<TSecondStageSprite>(), 0);
}

TEST(SecondStage, TheStarCraftHandOverToTheirDiversTwentyEightStepsLater) {
    TEnduranceWorld w;
    w.Outlast();
    RunUntil(w, [&] { return w.F().StageCount >= 305 + 27; }, 400);
    EXPECT_EQ(w.CountOf<TZakoGASprite>(), 0);
    w.Frame();
    ASSERT_EQ(w.CountOf<TZakoGASprite>(), 1);
    RunUntil(w, [&] { return w.F().StageCount >= 530 + 28; }, 300);
    EXPECT_EQ(w.CountOf<TZakoGJSprite>(), 1);
}
