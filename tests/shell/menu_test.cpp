// The menu, the title, the version window and the reset between games.
#include <gtest/gtest.h>

#include <fstream>

#include "bosses/Gadnic.h"
#include "player/Shots.h"
#include "shell/EndScreens.h"
#include "shell/Title.h"
#include "support/World.h"

using kvtest::TWorld;
using kvtest::TWorldOptions;

namespace {

TWorldOptions WithFile(const std::string& Contents) {
    TWorldOptions o;
    o.ScoreFile = Contents;
    o.WriteScoreFile = true;
    return o;
}

std::vector<bool> MenuVisibility(kv::TForm1& F) {
    return {F.Button1.Visible, F.Button2.Visible, F.Button3.Visible, F.Button4.Visible, F.Button6.Visible};
}

// Dirties everything a finished game leaves behind.
void PlayedAGame(kv::TForm1& F) {
    F.Playing = true;
    F.HudOn = true;
    F.AllButtonHide();
    F.StageNo = 3;
    F.StageCount = 777;
    F.ROneDown = true;
    F.BossCounters.fill(9);
    F.ZakoAACount = 1;
    F.ZakoABCount = 2;
    F.ZakoACCount = 3;
    F.ZakoBCCounts.fill(4);
    F.BossName = "ヴェルス";
    F.AttackName = "attack";
    F.HP = 2;
    F.Bomb = 0;
    F.Score = 4321;
    F.Edit1.Text = "name";
    F.Edit2.Text = "comment";
    F.MutekiMode = true;
    F.MutekiCount = 17;
    F.TaikyuuMode = true;
    F.TaikyuuCount = 12;
    F.BombActive = true;
    F.KekkaiCount = 33;
    F.NameEntry = true;
    F.ResetDone = false;
}

}  // namespace

TEST(Menu, StartsWithTheTitleAndTheButtonsOfTheMenu) {
    TWorld w;
    kv::TForm1& f = w.F();
    EXPECT_EQ(MenuVisibility(f), (std::vector<bool>{true, true, true, true, false}));
    EXPECT_FALSE(f.Edit1.Visible || f.Edit2.Visible || f.Button5.Visible);
    ASSERT_TRUE(f.TitleSprite);
    EXPECT_EQ(w.CountOf<kv::TTitleSprite>(), 1);
    EXPECT_EQ(f.TitleSprite->X, 0);
    EXPECT_EQ(f.TitleSprite->Y, 0);
    EXPECT_EQ(f.TitleSprite->Width, 321);
    EXPECT_EQ(f.TitleSprite->Height, 481);
    EXPECT_EQ(f.TitleSprite->Alpha, 255);

    // It stays while no game runs, without animating, and leaves once the HUD is on.
    w.Frame(30);
    ASSERT_TRUE(f.TitleSprite);
    EXPECT_EQ(f.TitleSprite->PatternPos, 0);
    f.HudOn = true;
    w.Frame(1);
    EXPECT_TRUE(f.TitleSprite && f.TitleSprite->Killed);
    w.Frame(1);
    EXPECT_FALSE(f.TitleSprite);
}

TEST(Menu, ExtraStageButtonOnlyWhileUnlocked) {
    {
        TWorld w(WithFile("A\r\n0\r\nB\r\n1\r\n"));
        EXPECT_TRUE(w.F().Button6.Visible);
        w.F().AllButtonHide();
        EXPECT_EQ(MenuVisibility(w.F()), (std::vector<bool>(5, false)));
        w.F().Shokika();
        EXPECT_EQ(MenuVisibility(w.F()), (std::vector<bool>(5, true)));
    }
    for (const char* unlock : {"0", "2"}) {
        TWorld w(WithFile(std::string("A\r\n0\r\nB\r\n") + unlock + "\r\n"));
        EXPECT_FALSE(w.F().Button6.Visible);
        w.F().AllButtonHide();
        w.F().Shokika();
        EXPECT_EQ(MenuVisibility(w.F()), (std::vector<bool>{true, true, true, true, false}));
    }
}

TEST(Menu, ShokikaResetsTheGameAndLeavesTheRestAlone) {
    TWorld w(WithFile("Taro\r\n800\r\nHello\r\n0\r\n"));
    kv::TForm1& f = w.F();
    w.Frame(1);
    PlayedAGame(f);
    w.Frame(2);  // the first title leaves
    ASSERT_FALSE(f.TitleSprite);
    f.BGMStart(1);
    w.Music.Calls.clear();
    // The record changed on disk since the start: the reset reads it again.
    std::ofstream(w.ScorePath(), std::ios::binary) << "Jiro\r\n900\r\nHi\r\n0\r\n";

    f.Shokika();
    EXPECT_FALSE(f.Playing);
    EXPECT_FALSE(f.HudOn);
    EXPECT_EQ(MenuVisibility(f), (std::vector<bool>{true, true, true, true, false}));
    ASSERT_TRUE(f.TitleSprite);
    EXPECT_EQ(f.StageCount, 0);
    EXPECT_EQ(w.Music.Calls, std::vector<std::string>{"stop"});
    EXPECT_FALSE(f.ROneDown);
    for (int32_t c : f.BossCounters) EXPECT_EQ(c, 0);
    EXPECT_EQ(f.ZakoAACount + f.ZakoABCount + f.ZakoACCount, 0);
    for (int32_t c : f.ZakoBCCounts) EXPECT_EQ(c, 0);
    EXPECT_EQ(f.BossName, "");
    EXPECT_EQ(f.AttackName, "");
    EXPECT_EQ(f.HP, 10);
    EXPECT_EQ(f.Bomb, 3);
    EXPECT_EQ(f.Score, 0);
    EXPECT_EQ(f.Edit1.Text, "");
    EXPECT_EQ(f.Edit2.Text, "");
    EXPECT_FALSE(f.MutekiMode);
    EXPECT_EQ(f.MutekiCount, 0);
    EXPECT_EQ(f.HighScoreName, "Jiro");
    EXPECT_EQ(f.HighScore, 900);
    EXPECT_TRUE(f.ResetDone);
    EXPECT_EQ(f.Log.CountOf("menu"), 1);
    // Left alone: they belong to sprites and screens that clear them themselves.
    EXPECT_EQ(f.StageNo, 3);
    EXPECT_TRUE(f.TaikyuuMode);
    EXPECT_EQ(f.TaikyuuCount, 12);
    EXPECT_TRUE(f.BombActive);
    EXPECT_EQ(f.KekkaiCount, 33);
    EXPECT_TRUE(f.NameEntry);

    // The new title stays until the next game: the HUD is already off.
    w.Frame(20);
    EXPECT_TRUE(f.TitleSprite && !f.TitleSprite->Killed);
}

TEST(Menu, ShokikaWithAnUnreadableRecordStillShowsTheMenu) {
    TWorld w(WithFile("Taro\r\n800\r\nHello\r\n0\r\n"));
    kv::TForm1& f = w.F();
    PlayedAGame(f);
    std::ofstream(w.ScorePath(), std::ios::binary) << "Taro\r\nlots\r\n";
    EXPECT_FALSE(f.Handle([&] { f.Shokika(); }));
    EXPECT_EQ(w.Errors.size(), 1u);
    EXPECT_FALSE(f.ResetDone);
    EXPECT_EQ(MenuVisibility(f), (std::vector<bool>{true, true, true, true, false}));
    EXPECT_EQ(f.Score, 0);
    // The same fault found again is not reported again.
    EXPECT_FALSE(f.Handle([&] { f.Shokika(); }));
    EXPECT_EQ(w.Errors.size(), 1u);
}

TEST(Menu, BossNameResetAndInvincibility) {
    TWorld w;
    w.F().BossName = "マルコ";
    w.F().AttackName = "attack";
    w.F().BSReset();
    EXPECT_EQ(w.F().BossName, "");
    EXPECT_EQ(w.F().AttackName, "");
    w.F().MutekiModein();
    EXPECT_TRUE(w.F().MutekiMode);
    EXPECT_EQ(w.F().MutekiCount, 40);
}

TEST(Menu, VersionWindowShownTwiceIsOneWindowThatCloseOnlyHides) {
    TWorld w;
    kv::TForm1& f = w.F();
    EXPECT_FALSE(f.Form2.Visible);
    f.Button2.OnClick();
    f.Button2.OnClick();
    EXPECT_TRUE(f.Form2.Visible);
    EXPECT_EQ(w.Audio.CountOf("Pingpong"), 2);
    ASSERT_EQ(f.Form2.Buttons.size(), 1u);
    EXPECT_EQ(f.Form2.Buttons[0].Caption, "Close");
    f.Form2.Buttons[0].OnClick();
    EXPECT_FALSE(f.Form2.Visible);
    EXPECT_FALSE(f.CloseRequested);
    f.Button2.OnClick();
    EXPECT_TRUE(f.Form2.Visible);
}

TEST(Menu, QuitAsksTheWindowToClose) {
    TWorld w;
    w.F().Button3.OnClick();
    EXPECT_TRUE(w.F().CloseRequested);
}

TEST(Menu, ControlsLieInsideThePlayfieldWithoutOverlapping) {
    TWorld w;
    kv::TForm1& f = w.F();
    const std::vector<const kv::TButton*> menu = {&f.Button1, &f.Button6, &f.Button2, &f.Button4, &f.Button3};
    for (size_t i = 0; i < menu.size(); ++i) {
        EXPECT_GE(menu[i]->Bounds.Left, 0);
        EXPECT_LE(menu[i]->Bounds.Right, kv::TForm1::ClientWidth) << menu[i]->Name;
        EXPECT_LE(menu[i]->Bounds.Bottom, kv::TForm1::ClientHeight) << menu[i]->Name;
        for (size_t j = i + 1; j < menu.size(); ++j)
            EXPECT_FALSE(kv::OverlapRect(menu[i]->Bounds, menu[j]->Bounds)) << menu[i]->Name << menu[j]->Name;
    }
    for (const kv::TButton* b : {&f.Button5}) EXPECT_LE(b->Bounds.Right, kv::TForm1::ClientWidth);
    EXPECT_FALSE(kv::OverlapRect(f.Edit1.Bounds, f.Edit2.Bounds));
    EXPECT_FALSE(kv::OverlapRect(f.Edit2.Bounds, f.Button5.Bounds));
}

// What Playing does not remove and is still running when the menu comes back goes, whether
// the next game starts frames later or with no frame between: a Gadnic fade brings neither
// its phase nor the king's music into it, a message screen does not end it, and the last
// volley of the ship hits nothing in it.
TEST(Menu, NothingOfTheLastGameRunsOnIntoTheNext) {
    using namespace kv;
    const struct {
        const char* What;
        TSprite* (*Make)(TSpriteEngine* E);
    } leftovers[] = {
        {"guard fading in", [](TSpriteEngine* E) -> TSprite* { return new TGadnicFadeSprite(E, 1); }},
        {"guard fading out", [](TSpriteEngine* E) -> TSprite* { return new TGadnicFadeSprite(E, 0); }},
        {"king fading in", [](TSpriteEngine* E) -> TSprite* { return new TGEFadeSprite(E, 1); }},
        {"game-over screen", [](TSpriteEngine* E) -> TSprite* { return new TGameOverSprite(E); }},
        {"shot", [](TSpriteEngine* E) -> TSprite* { return new TShotASprite(E, 0); }},
    };
    for (const auto& l : leftovers)
        for (int menuFrames : {0, 1}) {
            SCOPED_TRACE(std::string(l.What) + ", frames in the menu: " + std::to_string(menuFrames));
            TWorld w;
            w.F().Invincible = true;
            w.F().Button1.OnClick();
            w.Frame(5);
            TSpriteRef<TSprite> left = l.Make(w.E());
            w.Frame(5);
            w.F().Shokika();  // as the end of a frame: its music notification comes before the click
            w.Music.DeliverNotifications();
            w.Frame(menuFrames);
            w.F().Button1.OnClick();
            const size_t before = w.F().Log.Lines().size();
            w.Frame();
            EXPECT_TRUE(!left.Get() || left->Killed);
            w.Frame(400);
            EXPECT_EQ(left.Get(), nullptr);
            EXPECT_EQ(w.CountOf<TGadnicFadeSprite>() + w.CountOf<TGEFadeSprite>() + w.CountOf<TGameOverSprite>(), 0);
            EXPECT_EQ(w.CountOf<TGadnicASprite>() + w.CountOf<TGadnicBSprite>(), 0);
            const auto& lines = w.F().Log.Lines();
            for (size_t i = before; i < lines.size(); ++i) {
                EXPECT_EQ(lines[i].find("\"event\":\"phase\""), std::string::npos) << lines[i];
                EXPECT_EQ(lines[i].find("\"event\":\"menu\""), std::string::npos) << lines[i];
            }
            EXPECT_TRUE(w.F().Playing);
            EXPECT_EQ(w.F().StageNo, 1);
            EXPECT_TRUE(w.F().BossName.empty()) << w.F().BossName;
            EXPECT_EQ(w.F().MediaFileName.find("/4-1.mp3"), std::string::npos) << w.F().MediaFileName;  // the folder holds a pid
        }
}
