#pragma once
// A player window: a menu the core drives, and the context it acts through.
#include <SDL.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "engine/Input.h"
#include "ui/MenuCore.h"
#include "userfiles/Settings.h"

namespace kv {
class TForm1;
}

namespace kv::ui {

class IReplayShelf;
class IAttackHistory;

// What the windows may do to the game. Each of these is recorded as a replay needs it; nothing
// else a window does reaches the game.
struct TGameActions {
    std::function<void(const std::string& Button)> Click;  // a button of the main window
    std::function<void(const std::string& Edit, const std::string& Text)> Type;
    std::function<void(const std::string& Target)> Practice;  // as --practice does
    std::function<void()> TogglePause;
};

// Where changed settings take effect at once. Any of them may be unset.
struct TSettingsHooks {
    std::function<void(int32_t Percent)> MusicVolume, EffectVolume;
    std::function<void(int32_t Scale)> Scale;
    std::function<void(bool On)> Fullscreen, VSync;
    std::function<void(const userfiles::TSettings&)> PadButtons;
    std::function<void(const TKeyAssignment&)> Keys;
    std::function<void(const std::string& Language)> Language;  // "auto", "ja" or "en"
};

class TWindow;

class IUiContext {
public:
    virtual ~IUiContext() = default;
    virtual TForm1& Form() = 0;
    virtual const TGameActions& Actions() = 0;
    virtual const TSettingsHooks& Hooks() = 0;
    virtual userfiles::TSettingsFile& Settings() = 0;
    // Writes the settings file; returns "" or the problem.
    virtual std::string SaveSettings() = 0;
    virtual const std::filesystem::path& ConfigDir() = 0;
    virtual const TKeyAssignment& Keys() = 0;
    virtual void SetKeys(const TKeyAssignment& Keys) = 0;
    virtual IReplayShelf* Replays() = 0;
    virtual IAttackHistory* History() = 0;
    virtual void Open(std::unique_ptr<TWindow> Window) = 0;
    virtual void Close(TWindow* Window) = 0;
    virtual void CloseAll() = 0;
};

class TWindow {
public:
    explicit TWindow(IUiContext& Context) : Ui(Context) {}
    virtual ~TWindow() = default;
    // Before each drawing: bring the entries up to date.
    virtual void Refresh() {}
    // An event before navigation sees it (the key editor waiting for a key); true: taken.
    virtual bool Capture(const SDL_Event& E) { return false; }
    TMenu Menu;
    bool Closed = false;  // Close was asked; the window goes once the request being handled is done

protected:
    IUiContext& Ui;
};

}  // namespace kv::ui
