#pragma once
// The player's windows wired to a windowed run: the settings reach the mixer, the pad and the
// window, the windows' game actions go through the session (so a recording replays them), and
// the test pad is fed each turn.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "engine/Input.h"
#include "ui/PlayerUi.h"

namespace kv {
class TForm1;
class TSdlWidgets;
class TSdlWindow;
class TSdlMixer;
class TSdlJoystick;
class TSdlTestPad;
class TKeyboard;
}  // namespace kv

namespace kv::app {

class TSession;

struct TWindowedParts {
    TForm1& Form;
    TSession& Session;
    TSdlWidgets& Widgets;
    TSdlWindow& Window;
    TSdlMixer& Mixer;
    TSdlJoystick& Joystick;
    TKeyboard& KeysProbe;     // what the recording reads the keyboard with
    const int64_t& Frame;     // frames run so far
    std::function<void()> TogglePause;
    std::filesystem::path ConfigDir;
    userfiles::TSettingsFile Settings;  // as the run read it
    const TKeyAssignment& Keys;
    bool OpenTestPad = true;  // false: the run turns the tests' virtual pad itself
};

class TWindowedUi {
public:
    explicit TWindowedUi(const TWindowedParts& Parts);
    ~TWindowedUi();
    // Every event of the loop first; true: it went no further.
    bool HandleEvent(const SDL_Event& E) { return Ui_->HandleEvent(E); }
    ui::TPlayerUi& Ui() { return *Ui_; }

private:
    std::unique_ptr<TSdlTestPad> Pad_;
    std::unique_ptr<ui::TPlayerUi> Ui_;
};

}  // namespace kv::app
