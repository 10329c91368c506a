// The player's windows in a hidden window on SDL's dummy drivers, driven by key events as the
// program's loop hands them over: the settings file and the mixer, the key editor and
// keys.conf, a practice start and what the recording says of it, the menu's focus.
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/Session.h"
#include "app/WindowedUi.h"
#include "engine/FileReplace.h"
#include "i18n/Tr.h"
#include "platform/sdl/SdlFont.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/sdl/SdlMixer.h"
#include "platform/sdl/SdlSurface.h"
#include "platform/sdl/SdlWidgets.h"
#include "platform/sdl/SdlWindow.h"
#include "stages/Practice.h"
#include "support/World.h"
#include "ui/KeyEditor.h"
#include "ui/NamePicker.h"
#include "ui/PracticeWindow.h"
#include "ui/ReplayWindow.h"
#include "ui/Sources.h"
#include "userfiles/Settings.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

// No display or sound card needed: SDL's dummy drivers, unless the caller chose others.
const bool DriversChosen = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();

std::string Read(const fs::path& P) {
    std::string s;
    ReadWholeFile(P.string(), s);
    return s;
}

class PlayerWindows : public ::testing::Test {
protected:
    void SetUp() override {
        Config = World.Dir / "config";
        fs::create_directories(Config);
        TSdlWindowOptions o;
        o.Hidden = true;
        o.VSync = false;
        Window = std::make_unique<TSdlWindow>(o);
        Surface = std::make_unique<TSdlSurface>(Window->Renderer());
        Widgets = std::make_unique<TSdlWidgets>(*Window, *Surface);
        Widgets->Attach(World.F());
    }
    // The windows as the program makes them, with Recording as the session's --record.
    void Open(const std::string& Recording = {}) {
        Options.RecordFile = Recording;
        Session = std::make_unique<app::TSession>(Options);
        Session->OpenFiles();
        Session->Attach(World.F(), 1);
        Session->StartRequestedGame();  // as the program does once the window is made
        Probe = std::make_unique<TKeyboard>(nullptr);
        Ui = std::make_unique<app::TWindowedUi>(app::TWindowedParts{World.F(), *Session, *Widgets, *Window, Mixer,
                                                                     Joystick, *Probe, Frame, [] {}, Config,
                                                                     userfiles::LoadSettings(Config / "settings.toml"), Keys});
        Draw();
    }
    void Draw() {
        Window->SelectTarget();
        Surface->Fill(0);
        Widgets->Render();
    }
    // A key pressed and let go, each half its own event, with a drawing after.
    void Key(SDL_Scancode K) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event e{};
            e.type = type;
            e.key.keysym.scancode = K;
            e.key.keysym.sym = SDL_GetKeyFromScancode(K);
            Ui->HandleEvent(e);
        }
        Draw();
    }
    void Keys_(std::initializer_list<SDL_Scancode> Ks) {
        for (SDL_Scancode k : Ks) Key(k);
    }
    void WriteSettings(const std::string& Text) { std::ofstream(Config / "settings.toml") << Text; }

    kvtest::TWorld World;
    fs::path Config;
    std::unique_ptr<TSdlWindow> Window;
    std::unique_ptr<TSdlSurface> Surface;
    std::unique_ptr<TSdlWidgets> Widgets;
    TSdlMixer Mixer;
    TSdlJoystick Joystick{nullptr};
    app::TOptions Options;
    std::unique_ptr<app::TSession> Session;
    std::unique_ptr<TKeyboard> Probe;
    TKeyAssignment Keys = DefaultKeyAssignment();
    int64_t Frame = 0;
    std::unique_ptr<app::TWindowedUi> Ui;
};

TEST_F(PlayerWindows, SettingsFileSetsTheMixerAndTheWindowChangesIt) {
    if (!Mixer.IsOpen()) GTEST_SKIP() << "no audio device: " << Mixer.Failure();
    WriteSettings("[sound]\nmusic_volume = 40\neffect_volume = 20\n");
    Open();
    EXPECT_EQ(Mix_VolumeMusic(-1), (40 * MIX_MAX_VOLUME + 50) / 100);
    EXPECT_EQ(Mixer.EffectMixVolume(), (20 * MIX_MAX_VOLUME + 50) / 100);
    // F1 in the menu: the settings, on the music volume; right turns it up by 5 at once.
    Keys_({SDL_SCANCODE_F1, SDL_SCANCODE_RIGHT});
    ASSERT_TRUE(Ui->Ui().WindowOpen());
    EXPECT_EQ(Mix_VolumeMusic(-1), (45 * MIX_MAX_VOLUME + 50) / 100);
    EXPECT_NE(Read(Config / "settings.toml").find("music_volume = 45"), std::string::npos);
    // Up past "閉じる" to the renderer: kept for the next start.
    Keys_({SDL_SCANCODE_UP, SDL_SCANCODE_UP, SDL_SCANCODE_RIGHT});
    const std::string kept = Read(Config / "settings.toml");
    EXPECT_NE(kept.find("renderer = 'gpu'"), std::string::npos) << kept;
    // Esc closes the settings, again the hub, and the menu has the keys back.
    Keys_({SDL_SCANCODE_ESCAPE, SDL_SCANCODE_ESCAPE});
    EXPECT_FALSE(Ui->Ui().WindowOpen());
}

TEST_F(PlayerWindows, BadSettingsFileIsReportedKeptAndBackedUpWhenChanged) {
    if (!Mixer.IsOpen()) GTEST_SKIP() << "no audio device: " << Mixer.Failure();
    const std::string bad = "[sound]\nmusic_volume = \"loud\"\neffect_volume = 30\n";
    WriteSettings(bad);
    Open();
    EXPECT_NE(Ui->Ui().Settings().Error.find("music_volume"), std::string::npos);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME);  // the defaults, not half the file
    Draw();
    EXPECT_EQ(Read(Config / "settings.toml"), bad);
    // The player turns the effects down: the new file is written, the old one kept beside it.
    Keys_({SDL_SCANCODE_F1, SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT});
    EXPECT_EQ(Read(Config / "settings.toml.bak"), bad);
    EXPECT_NE(Read(Config / "settings.toml").find("effect_volume = 95"), std::string::npos);
    EXPECT_TRUE(Ui->Ui().Settings().Error.empty());
}

TEST_F(PlayerWindows, KeyEditorWritesKeysConfAndTheNewKeyTakesEffect) {
    std::ofstream(Config / "keys.conf") << "# mine\nup = K, Up, Keypad 8\n";
    Open();
    // Settings, down to the key table (sixth entry), open it: the up row's first slot.
    Keys_({SDL_SCANCODE_F1, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN,
           SDL_SCANCODE_DOWN, SDL_SCANCODE_RETURN});
    // Down to shot (the fifth row), its third slot, press it, then the new key: A.
    Keys_({SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_RIGHT,
           SDL_SCANCODE_RIGHT, SDL_SCANCODE_RETURN});
    Key(SDL_SCANCODE_A);
    const std::string conf = Read(Config / "keys.conf");
    EXPECT_NE(conf.find("shot = Z, Space, A\n"), std::string::npos) << conf;
    EXPECT_EQ(conf.rfind("# mine\n", 0), 0u) << "the player's own lines stay";
    EXPECT_EQ(Read(Config / "keys.conf.bak"), "# mine\nup = K, Up, Keypad 8\n");
    EXPECT_EQ(Probe->Keys[isButton1][2], SDL_SCANCODE_A);
    // The same key on bomb is shown as a clash; Delete empties the slot again.
    Keys_({SDL_SCANCODE_DOWN, SDL_SCANCODE_RETURN});
    Key(SDL_SCANCODE_A);
    EXPECT_NE(Read(Config / "keys.conf").find("bomb = X, Return, A\n"), std::string::npos) << Read(Config / "keys.conf");
    Key(SDL_SCANCODE_DELETE);
    EXPECT_NE(Read(Config / "keys.conf").find("bomb = X, Return\n"), std::string::npos);
}

TEST_F(PlayerWindows, PracticeFromTheMenuStartsAndRecordsAsTheOptionDoes) {
    const fs::path rec = World.Dir / "rec.txt";
    Open(rec.string());
    // Normal → down to 終了 → left to the added button → the hub → 練習 → past the four
    // stages to R-One's first phase (the Extra Stage is locked: not listed).
    Keys_({SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT, SDL_SCANCODE_Z,
           SDL_SCANCODE_DOWN, SDL_SCANCODE_Z, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN,
           SDL_SCANCODE_DOWN});
    Key(SDL_SCANCODE_Z);
    EXPECT_FALSE(Ui->Ui().WindowOpen());
    EXPECT_TRUE(World.F().Practice);
    EXPECT_TRUE(World.F().ROneASprite);
    EXPECT_FALSE(World.F().Button1.Visible);
    Session->Finish();
    EXPECT_NE(Read(rec).find("\n1 practice TROneASprite\n"), std::string::npos) << Read(rec);
    // Nothing the windows did besides is in the recording.
    EXPECT_EQ(Read(rec).find(" click "), std::string::npos);
}

// What the replay storage and the attack history will hand the windows.
struct TFakeShelf : ui::IReplayShelf {
    std::vector<ui::TReplayInfo> Items{{"r1", "2026-12-08 21:30", "Normal", 12340, 3 * 3600 + 420, false},
                                       {"r2", "2026-12-07 20:00", "Extra", 500, 60, true}};
    std::vector<std::string> Played;
    std::vector<ui::TReplayInfo> List() override { return Items; }
    std::string Play(const std::string& Id) override {
        Played.push_back(Id);
        return {};
    }
    std::string Keep(const std::string& Id, bool Kept) override {
        for (auto& r : Items)
            if (r.Id == Id) r.Kept = Kept;
        return {};
    }
};
struct TFakeHistory : ui::IAttackHistory {
    std::optional<ui::TAttackRecord> Find(const std::string& Phase) override {
        if (Phase == "TROneASprite") return ui::TAttackRecord{{3, 1}, {2, 0}};
        return std::nullopt;
    }
};

TEST_F(PlayerWindows, ReplaysAreKeptAndPlayedAndTheHistoryShowsBesideItsAttack) {
    TFakeShelf shelf;
    TFakeHistory history;
    Open();
    Ui->Ui().ReplayShelf = &shelf;
    Ui->Ui().AttackHistory = &history;
    // The hub (through the added menu button), then the practice list.
    Keys_({SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT, SDL_SCANCODE_RETURN,
           SDL_SCANCODE_DOWN, SDL_SCANCODE_RETURN});
    const ui::TMenu* practice = Ui->Ui().TopMenu();
    ASSERT_TRUE(practice);
    ASSERT_GT(practice->Entries.size(), 5u);
    // R-One's first attack: ended cleanly once of three in normal games, never of two in practice.
    EXPECT_EQ(practice->Entries[4].Value, "1/3 0/2");
    EXPECT_EQ(practice->Entries[5].Value, "-/- -/-");
    // Back to the hub, down to the replays: the first one, keep it for good, then play it.
    Keys_({SDL_SCANCODE_X, SDL_SCANCODE_DOWN, SDL_SCANCODE_RETURN});
    const ui::TMenu* list = Ui->Ui().TopMenu();
    ASSERT_TRUE(list);
    EXPECT_NE(list->Entries[0].Value.find("12340  3:07"), std::string::npos) << list->Entries[0].Value;
    Keys_({SDL_SCANCODE_RETURN, SDL_SCANCODE_DOWN, SDL_SCANCODE_RETURN});
    EXPECT_TRUE(shelf.Items[0].Kept);
    Keys_({SDL_SCANCODE_RETURN, SDL_SCANCODE_RETURN});
    EXPECT_EQ(shelf.Played, std::vector<std::string>{"r1"});
    EXPECT_FALSE(Ui->Ui().WindowOpen());
}

TEST_F(PlayerWindows, TheLanguageRowSwitchesWhatIsShownAtOnceAndIsKept) {
    i18n::SetLocaleDir(KV_TEST_LOCALE_DIR);
    Open();
    // Settings, down to the language row (the seventh): Auto, then 日本語, then English.
    Keys_({SDL_SCANCODE_F1, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN,
           SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN});
    const ui::TMenu* settings = Ui->Ui().TopMenu();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->Entries[6].Value, "Auto");
    Keys_({SDL_SCANCODE_RIGHT, SDL_SCANCODE_RIGHT});
    EXPECT_EQ(settings->Entries[6].Value, "English");
    EXPECT_EQ(i18n::Language(), "en");
    EXPECT_EQ(i18n::Tr(settings->Title), "Settings");
    EXPECT_EQ(userfiles::LoadSettings(Config / "settings.toml").Values.Language, "en");
    // The window's own texts stay the game's: only what is drawn changed.
    EXPECT_EQ(settings->Title, "設定");
    Key(SDL_SCANCODE_LEFT);
    EXPECT_EQ(i18n::Language(), "ja");
    EXPECT_EQ(userfiles::LoadSettings(Config / "settings.toml").Values.Language, "ja");
}

// Every caption, hint, label and status line of the menu, the version window, the name entry
// and the player's windows fits its control in each translation, drawn in its own font; so does
// every boss and attack name on the HUD's line.
TEST_F(PlayerWindows, EveryShownTextFitsItsControlInEachLanguage) {
    i18n::SetLocaleDir(KV_TEST_LOCALE_DIR);
    TFakeShelf shelf;
    Open();
    TForm1& f = World.F();
    f.ExtraOpen = 1;
    Ui->Ui().ReplayShelf = &shelf;
    for (const char* lang : {"en"}) {
        ASSERT_EQ(i18n::SetLanguage(lang), "");
        Widgets->TakeOverflowing();
        // The menu, the version window and the name entry, all at once.
        f.Button6.Visible = f.Button5.Visible = f.Edit1.Visible = f.Edit2.Visible = f.Form2.Visible = true;
        Draw();
        for (TButton* b : {&f.Button1, &f.Button2, &f.Button3, &f.Button4, &f.Button5, &Ui->Ui().MoreButton})
            Widgets->NoteFit(i18n::Tr(b->Hint), Widgets->UiFont(12), TSdlWindow::LogicalWidth - 4);
        f.Button5.Visible = f.Edit1.Visible = f.Edit2.Visible = f.Form2.Visible = false;
        // Each player window, the key editor also waiting for a key, a replay's own actions.
        ui::TPlayerUi& u = Ui->Ui();
        for (int32_t w = 0; w < 7; ++w) {
            switch (w) {
                case 0: u.OpenHub(); break;
                case 1: u.OpenSettings(); break;
                case 2: u.Open(ui::MakeKeyEditor(u)); break;
                case 3: u.Open(ui::MakePracticeWindow(u)); break;
                case 4: u.Open(ui::MakeReplayWindow(u)); break;
                case 5: u.Open(ui::MakeNamePicker(u, f.Edit1)); break;
                case 6: u.Open(ui::MakeReplayWindow(u)); break;
            }
            Draw();
            if (w == 2 || w == 6) Key(SDL_SCANCODE_RETURN);
            u.CloseAll();
            Draw();
        }
        // The HUD's lines, in the face and size the HUD draws them.
        auto hudFits = [&](int32_t X, const std::string& Text, int32_t Room) {
            const TSdlTextCache::TEntry* t = Surface->TextCache().Get(Text, SDL_Color{255, 255, 255, 255}, PointsToPixels(12));
            ASSERT_TRUE(t) << Text;
            EXPECT_LE(X + t->Width, Room) << lang << ": " << Text;
        };
        for (const TPracticeInfo& p : PracticeInfos()) {
            if (p.IsStage) continue;
            hudFits(0, i18n::Tr("Boss:") + i18n::Tr(p.BossName), TSdlWindow::LogicalWidth);
            hudFits(0, i18n::Tr(p.AttackName), TSdlWindow::LogicalWidth);
        }
        hudFits(108, i18n::Tr("ハイスコアです！"), TSdlWindow::LogicalWidth);
        hudFits(50, i18n::Tr("名前とコメントを入力してください。"), TSdlWindow::LogicalWidth);
        hudFits(20, i18n::Tr("名前："), f.Edit1.Bounds.Left);
        hudFits(20, i18n::Tr("コメント："), f.Edit2.Bounds.Left);
        const std::vector<std::string> over = Widgets->TakeOverflowing();
        EXPECT_TRUE(over.empty()) << lang << ": " << ::testing::PrintToString(over);
    }
    i18n::SetLanguage("ja");
}

}  // namespace
}  // namespace kv
