// The endurance countdown, its end rows and the removal of boss phases on game over.
#include <gtest/gtest.h>

#include "shell/Rows.h"
#include "support/World.h"

using kvtest::TWorld;

namespace {

const char* const kAttack = "試験「耐久の終わり」";
const char* const kBare = "試験「素の耐久」";
const char* const kOther = "試験「別の技」";

struct TMarker : kv::TImageSpriteEx {
    explicit TMarker(kv::TSprite* Parent) : TImageSpriteEx(Parent) {}
};

struct TItemCall {
    kv::TItemKind Kind;
    double X, Y;
    int32_t ScoreThen;
};
std::vector<TItemCall> gItems;
int32_t gScoreAtLast = 0;
bool gPhaseKilledBeforeLast = false;

const kv::TEnduranceRowRegistrar kRow{{kAttack,
                                       &kv::TForm1::VelusDSprite,
                                       {{kv::TItemKind::HP, 10, 15}, {kv::TItemKind::Bomb, -20, 0}},
                                       2000,
                                       150,
                                       [](kv::TForm1& F) {
                                           gScoreAtLast = F.Score;
                                           gPhaseKilledBeforeLast = F.VelusDSprite && F.VelusDSprite->Killed;
                                           new TMarker(F.SpriteEngine());
                                       }}};
const kv::TEnduranceRowRegistrar kBareRow{{kBare, &kv::TForm1::DagarFSprite, {{kv::TItemKind::HP, 0, 0}}, 6000, 300,
                                           nullptr}};
const kv::TRemovalRowRegistrar kRemoval{{kAttack, &kv::TForm1::VelusDSprite}, {kOther, &kv::TForm1::VelusCSprite}};

class Endurance : public ::testing::Test {
protected:
    void SetUp() override {
        gItems.clear();
        gScoreAtLast = 0;
        gPhaseKilledBeforeLast = false;
        saved_ = kv::ItemFactory();
        kv::ItemFactory() = [](kv::TForm1& F, kv::TItemKind K, double X, double Y) {
            gItems.push_back({K, X, Y, F.Score});
        };
        w_.F().HudOn = w_.F().Playing = true;
        w_.F().HP = 4;
        w_.F().Score = 100;
    }
    void TearDown() override { kv::ItemFactory() = saved_; }

    // An endurance phase as its constructor leaves things.
    kv::TImageSpriteEx* Phase(kv::TSpriteRef<kv::TSprite> kv::TForm1::*Ref, const char* Attack, int32_t Seconds) {
        auto* p = new kv::TImageSpriteEx(w_.E());
        p->X = 120;
        p->Y = 80;
        w_.F().*Ref = p;
        w_.F().BossName = "ボス";
        w_.F().AttackName = Attack;
        w_.F().TaikyuuMode = true;
        w_.F().TaikyuuCount = Seconds;
        return p;
    }
    std::string Countdown() {
        for (const auto& t : w_.Surface.Texts)
            if (t.X == 284 && t.Y == 0 && t.Points == 24) return t.Text;
        return "";
    }

    TWorld w_;
    kv::TItemFactory saved_ = nullptr;
};

}  // namespace

TEST_F(Endurance, CountsDownAndRunsTheRowOnTheThirdTick) {
    kv::TForm1& f = w_.F();
    kv::TImageSpriteEx* phase = Phase(&kv::TForm1::VelusDSprite, kAttack, 3);
    std::vector<std::string> shown;
    for (int i = 0; i < 3; ++i) {
        w_.Frame(1);
        shown.push_back(Countdown());
        EXPECT_EQ(w_.Audio.CountOf("Dead"), 0);
        w_.Tick();
    }
    w_.Frame(1);
    shown.push_back(Countdown());
    EXPECT_EQ(shown, (std::vector<std::string>{"3", "2", "1", ""}));

    EXPECT_FALSE(f.TaikyuuMode);
    EXPECT_EQ(f.TaikyuuCount, 0);
    EXPECT_EQ(w_.Audio.CountOf("Dead"), 1);
    // Items at the phase's place, in order, before the bonus; the bonus before the last sprite.
    ASSERT_EQ(gItems.size(), 2u);
    EXPECT_EQ(gItems[0].Kind, kv::TItemKind::HP);
    EXPECT_EQ(gItems[0].X, 130);
    EXPECT_EQ(gItems[0].Y, 95);
    EXPECT_EQ(gItems[1].Kind, kv::TItemKind::Bomb);
    EXPECT_EQ(gItems[1].X, 100);
    EXPECT_EQ(gItems[1].Y, 80);
    EXPECT_EQ(gItems[0].ScoreThen, 100);
    EXPECT_EQ(f.Score, 100 + 2000 + 150 * 4);
    EXPECT_EQ(gScoreAtLast, f.Score);
    EXPECT_TRUE(gPhaseKilledBeforeLast);
    EXPECT_EQ(w_.CountOf<TMarker>(), 1);
    // The killed phase was drawn once more and then freed.
    EXPECT_FALSE(f.VelusDSprite);
    (void)phase;

    ASSERT_EQ(f.Log.CountOf("endurance_end"), 1);
    const std::string& line = f.Log.Lines().back();
    EXPECT_NE(line.find("\"bonus\":2600"), std::string::npos) << line;
    EXPECT_NE(line.find("\"score\":2700"), std::string::npos) << line;

    // Further ticks do nothing.
    w_.Tick();
    EXPECT_EQ(f.TaikyuuCount, 0);
    EXPECT_EQ(w_.Audio.CountOf("Dead"), 1);
}

TEST_F(Endurance, NoMatchingRowOnlyEndsTheCountdown) {
    kv::TForm1& f = w_.F();
    kv::TImageSpriteEx* phase = Phase(&kv::TForm1::VelusCSprite, "試験「どの行にもない」", 1);
    w_.Tick();
    EXPECT_FALSE(f.TaikyuuMode);
    EXPECT_EQ(w_.Audio.CountOf("Dead"), 1);
    EXPECT_EQ(f.Score, 100);
    EXPECT_FALSE(phase->Killed);
    EXPECT_TRUE(gItems.empty());
    EXPECT_EQ(f.Log.CountOf("endurance_end"), 0);
}

TEST_F(Endurance, IdleCountdownIsNotTouched) {
    kv::TForm1& f = w_.F();
    Phase(&kv::TForm1::VelusDSprite, kAttack, 5);
    f.TaikyuuMode = false;  // shown, not yet running
    w_.Tick();
    w_.Tick();
    EXPECT_EQ(f.TaikyuuCount, 5);
    w_.Frame(1);
    EXPECT_EQ(Countdown(), "5");
    f.HudOn = false;  // the countdown does not need the HUD
    w_.Frame(1);
    EXPECT_EQ(Countdown(), "5");
}

TEST_F(Endurance, DyingDuringTheEnduranceRemovesThePhaseWithoutBonus) {
    kv::TForm1& f = w_.F();
    kv::TImageSpriteEx* phase = Phase(&kv::TForm1::VelusDSprite, kAttack, 3);
    w_.Tick();
    // The game-over sequence of the hit box.
    f.BossNameCheck();
    f.TaikyuuReset();
    f.BSReset();
    f.Playing = false;
    EXPECT_TRUE(phase->Killed);
    EXPECT_FALSE(f.TaikyuuMode);
    EXPECT_EQ(f.TaikyuuCount, 0);
    for (int i = 0; i < 5; ++i) w_.Tick();
    w_.Frame(2);
    EXPECT_FALSE(f.VelusDSprite);
    EXPECT_EQ(f.Score, 100);
    EXPECT_EQ(w_.Audio.CountOf("Dead"), 0);
    EXPECT_TRUE(gItems.empty());
    EXPECT_EQ(w_.CountOf<TMarker>(), 0);
    EXPECT_EQ(Countdown(), "");
}

TEST_F(Endurance, RemovalTouchesOnlyTheLivingPhaseOfTheShownAttack) {
    kv::TForm1& f = w_.F();
    auto* c = new kv::TImageSpriteEx(w_.E());
    auto* d = new kv::TImageSpriteEx(w_.E());
    f.VelusCSprite = c;
    f.VelusDSprite = d;
    f.AttackName = kOther;
    f.BossNameCheck();
    EXPECT_TRUE(c->Killed);
    EXPECT_FALSE(d->Killed);
    w_.Frame(1);
    ASSERT_FALSE(f.VelusCSprite);
    EXPECT_TRUE(w_.F().Handle([&] { f.BossNameCheck(); }));  // already freed: left alone
    f.AttackName = "試験「どの行にもない」";
    f.BossNameCheck();
    EXPECT_FALSE(d->Killed);
}

TEST_F(Endurance, RowRunsWithoutItemSpritesOrAPhaseThatIsGone) {
    kv::TForm1& f = w_.F();
    kv::ItemFactory() = nullptr;  // no item sprites in this build
    Phase(&kv::TForm1::DagarFSprite, kBare, 1);
    f.DagarFSprite->Kill();
    w_.Frame(1);
    ASSERT_FALSE(f.DagarFSprite);
    w_.Tick();
    EXPECT_EQ(f.Score, 100 + 6000 + 300 * 4);
    EXPECT_EQ(f.Log.CountOf("endurance_end"), 1);
}
