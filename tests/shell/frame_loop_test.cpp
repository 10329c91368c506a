// The frame loop's order and the head-up display.
#include <gtest/gtest.h>

#include "engine/Errors.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

std::vector<std::string> TextsOf(TWorld& w) {
    std::vector<std::string> out;
    for (const auto& t : w.Surface.Texts) out.push_back(t.Text);
    return out;
}

TEST(Hud, GameBlockOnlyWhileHudOnAndCountdownAlways) {
    TWorld w;
    w.Frame();
    EXPECT_TRUE(w.Surface.Texts.empty());  // the menu shows no HUD
    w.F().TaikyuuCount = 7;
    w.Frame();
    ASSERT_EQ(w.Surface.Texts.size(), 1u);
    const auto& c = w.Surface.Texts[0];
    EXPECT_EQ(c.Text, "7");
    EXPECT_EQ(c.X, 284);
    EXPECT_EQ(c.Y, 0);
    EXPECT_EQ(c.Points, 24);
    EXPECT_EQ(c.Color, (TColor{255, 255, 255}));

    w.F().TaikyuuCount = 0;
    w.F().HudOn = true;
    w.F().StageNo = 3;
    w.F().HP = -2;
    w.F().Bomb = 0;
    w.F().Score = -15;
    w.F().AttackName = "attack without boss";
    w.Frame();
    EXPECT_EQ(TextsOf(w), (std::vector<std::string>{"Stage3", "HP:-2", "Bomb:0", "Score:-15"}));
    const int ys[] = {0, 426, 444, 462};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.Surface.Texts[i].X, 0);
        EXPECT_EQ(w.Surface.Texts[i].Y, ys[i]);
        EXPECT_EQ(w.Surface.Texts[i].Points, 12);
        EXPECT_EQ(w.Surface.Texts[i].Color, (TColor{255, 255, 255}));
    }
}

TEST(Hud, BossLinesExtraStageAndColoursPerBlock) {
    TWorld w;
    w.F().HudOn = true;
    w.F().StageNo = 5;
    w.F().BossName = "ダガー";
    w.F().AttackName = "魔弾";
    w.F().NameEntry = true;
    w.F().TaikyuuCount = 12;
    w.Frame();
    EXPECT_EQ(TextsOf(w), (std::vector<std::string>{"Extra Stage", "HP:0", "Bomb:0", "Score:0", "Boss:ダガー", "魔弾",
                                                   "ハイスコアです！", "名前とコメントを入力してください。", "名前：",
                                                   "コメント：", "12"}));
    const auto& t = w.Surface.Texts;
    EXPECT_EQ(t[4].Color, (TColor{255, 255, 0}));
    EXPECT_EQ(t[4].Y, 18);
    EXPECT_EQ(t[5].Y, 36);
    // The name-entry block sets white again after the yellow boss lines.
    EXPECT_EQ(t[6].Color, (TColor{255, 255, 255}));
    EXPECT_EQ(t[6].X, 108);
    EXPECT_EQ(t[6].Y, 180);
    EXPECT_EQ(t[7].X, 50);
    EXPECT_EQ(t[8].Y, 232);
    EXPECT_EQ(t[9].Y, 264);
    EXPECT_EQ(t[10].Points, 24);
}

class TMarker : public TImageSpriteEx {
public:
    explicit TMarker(TSprite* P) : TImageSpriteEx(P) { SetImage(this, FormOf(this).Picture("Bullet1")); }
    void Step(int32_t M) override {
        TImageSpriteEx::Step(M);
        Steps++;
        if (Throw) throw EPictureCollectionError("画像 'Nothing' が見つかりません");
    }
    int Steps = 0;
    bool Throw = false;
};

TEST(FrameLoop, DrawsBeforePurgeAndMoveAndHudComesLast) {
    TWorld w;
    auto* m = new TMarker(w.E());
    w.Frame();  // drawn at its spawn, then its first step
    EXPECT_EQ(m->Steps, 1);
    ASSERT_FALSE(w.Surface.Draws.empty());
    m->Kill();
    w.Frame();  // drawn once more, freed by the purge, never stepped again
    bool drawn = false;
    for (const auto& d : w.Surface.Draws) drawn |= d.Picture == "Bullet1";
    EXPECT_TRUE(drawn);
    EXPECT_EQ(w.CountOf<TMarker>(), 0);
}

TEST(FrameLoop, AFrameworkErrorAbandonsTheFrameIsShownOnceAndLoggedEachTime) {
    TWorld w;
    w.F().HudOn = true;
    auto* m = new TMarker(w.E());
    m->Throw = true;
    w.Frame(3);
    EXPECT_EQ(m->Steps, 3);               // the loop goes on frame after frame
    EXPECT_TRUE(w.Surface.Texts.empty());  // the rest of the handler (the HUD) was skipped
    ASSERT_EQ(w.Errors.size(), 1u);
    EXPECT_EQ(w.Errors[0], "画像 'Nothing' が見つかりません");
    EXPECT_EQ(w.F().Log.CountOf("error"), 3);
    EXPECT_NE(w.F().Log.Lines().back().find("\"count\":3"), std::string::npos) << w.F().Log.Lines().back();
    EXPECT_EQ(w.F().PendingErrorBoxes.size(), 1u);
    w.Frame(7);
    ASSERT_EQ(w.Errors.size(), 2u) << "stderr hears of the tenth time";
    EXPECT_EQ(w.Errors[1], "画像 'Nothing' が見つかりません (10 times)");
    m->Throw = false;
    w.Frame();
    EXPECT_FALSE(w.Surface.Texts.empty());
}

TEST(FrameLoop, ClassWideValuesBelongToTheirWindow) {
    struct TShared {
        int Value = 0;
    };
    TWorld a, b;
    a.F().Vars<TShared>().Value = 5;
    EXPECT_EQ(b.F().Vars<TShared>().Value, 0);
    EXPECT_EQ(a.F().Vars<TShared>().Value, 5);
}

}  // namespace
