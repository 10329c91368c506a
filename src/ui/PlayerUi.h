#pragma once
// The player's windows and the keyboard and pad on the window's controls. Every SDL event goes
// through HandleEvent first. What it does depends on where the player is:
//   - a player window open (settings, practice, replays, key table, character picker): it takes
//     every key and pad button;
//   - the menu: the arrows or the d-pad move between the buttons (starting on "Normal"), the
//     shot keys, Enter or A press the focused one, F1 opens the settings; the version window,
//     when shown, takes the focus and closes with X, Esc or B;
//   - the name entry: the fields and "決定", typing going to the fields as before; A on a field
//     opens the character picker;
//   - a game: nothing but the pad's pause button; the keys keep their meaning.
// Presses act on release, so a game started with a key begins with nothing held.
#include <SDL.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "engine/Widgets.h"
#include "ui/NavInput.h"
#include "ui/Window.h"
#include "userfiles/Settings.h"

namespace kv {
class TSdlWidgets;
}

namespace kv::ui {

class TPlayerUi : public IUiContext {
public:
    // ConfigDir: where settings.toml and keys.conf are (empty: nothing is written). Settings:
    // settings.toml as the run read it (and reported it). Keys: the key table in use.
    TPlayerUi(TForm1& Form, TSdlWidgets& Widgets, TGameActions Actions, TSettingsHooks Hooks,
              std::filesystem::path ConfigDir, userfiles::TSettingsFile Settings, const TKeyAssignment& Keys);
    ~TPlayerUi() override;
    TPlayerUi(const TPlayerUi&) = delete;
    TPlayerUi& operator=(const TPlayerUi&) = delete;

    // True: the event was the windows' and goes no further.
    bool HandleEvent(const SDL_Event& E);
    // Run by the widgets before drawing the controls: mouse requests of the last frame.
    std::function<void()> EachTurn;  // also run then (the test pad)

    // Sources of the replay window and the history column (may stay null).
    IReplayShelf* ReplayShelf = nullptr;
    IAttackHistory* AttackHistory = nullptr;

    void OpenHub();
    void OpenSettings();
    bool WindowOpen() const;
    // The window on top (nullptr: none), for the tests.
    const TMenu* TopMenu() const { return Top() ? &Top()->Menu : nullptr; }
    // The menu button that opens the hub.
    TButton MoreButton;

    // IUiContext
    TForm1& Form() override { return Form_; }
    const TGameActions& Actions() override { return Actions_; }
    const TSettingsHooks& Hooks() override { return Hooks_; }
    userfiles::TSettingsFile& Settings() override { return Settings_; }
    std::string SaveSettings() override;
    const std::filesystem::path& ConfigDir() override { return ConfigDir_; }
    const TKeyAssignment& Keys() override { return Keys_; }
    void SetKeys(const TKeyAssignment& Keys) override;
    IReplayShelf* Replays() override { return ReplayShelf; }
    IAttackHistory* History() override { return AttackHistory; }
    void Open(std::unique_ptr<TWindow> Window) override;
    void Close(TWindow* Window) override;
    void CloseAll() override;

private:
    enum TContext { InGame, Windows, VersionWindow, NameEntry, MainMenu };
    TContext Context() const;
    TWindow* Top() const;
    void Turn();
    void Draw();
    void Purge();
    bool Windowed(const TNavEvent& N, const SDL_Event& E);
    bool Menu(const TNavEvent& N, const SDL_Event& E);
    bool Names(const TNavEvent& N, const SDL_Event& E);
    bool Version(const TNavEvent& N);
    void EnterContext(TContext C);
    void FocusNameControl(const void* Control);
    void Arm(const void* Target);
    bool Fire(const void* Target);  // the press is released on what was armed
    TMenu MenuEntries();

    TForm1& Form_;
    TSdlWidgets& Widgets_;
    TGameActions Actions_;
    TSettingsHooks Hooks_;
    std::filesystem::path ConfigDir_;
    userfiles::TSettingsFile Settings_;
    TKeyAssignment Keys_;
    TNavInput Nav_;
    std::vector<std::unique_ptr<TWindow>> Stack_;
    std::vector<SDL_GameController*> Pads_;
    TContext Last_ = InGame;
    const void* MenuFocus_ = nullptr;
    const void* NameFocus_ = nullptr;
    int32_t ClickTurns_ = 0;
    const void* Armed_ = nullptr;
    bool HaveMouse_ = false;
    size_t MouseEntry_ = 0;
    TNav MouseNav_ = TNav::Press;
};

}  // namespace kv::ui
