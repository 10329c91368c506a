#pragma once
// The first joystick or game controller, picked up and dropped as it is plugged in and out.
// A controller SDL knows reads as: its shot, bomb and slow buttons (A, B and X unless the
// settings say otherwise) = buttons 1, 2 and 3, the left stick and the d-pad as the axes. Any other joystick reads its raw axes 0 and 1 (its
// first hat, while pressed, instead) and buttons 1 … 32.
#include <SDL.h>

#include <string>

#include "engine/Input.h"

namespace kv {

// Which controller buttons are the game's buttons 1, 2 and 3.
struct TPadButtons {
    SDL_GameControllerButton Shot = SDL_CONTROLLER_BUTTON_A;
    SDL_GameControllerButton Bomb = SDL_CONTROLLER_BUTTON_B;
    SDL_GameControllerButton Slow = SDL_CONTROLLER_BUTTON_X;
    // Not one of the game's buttons: held, it runs a practice game backwards.
    SDL_GameControllerButton Rewind = SDL_CONTROLLER_BUTTON_LEFTSHOULDER;
};

// The button a settings name stands for ("a", "start", …), Default for a name SDL does not know.
SDL_GameControllerButton PadButtonOf(const std::string& Name, SDL_GameControllerButton Default);

// A longer mapping file is refused unread (SDL's community file is under a megabyte).
constexpr size_t MaxMappingFileBytes = 16 * 1024 * 1024;

class TSdlJoystick : public IJoystickSource {
public:
    // Window: the window whose keyboard focus makes the game the foreground application
    // (nullptr: always in the foreground). MappingFile: controller mappings in SDL's
    // gamecontrollerdb.txt format, added to SDL's own before any device is opened; a missing
    // file is skipped, a bad one is left out with MappingsError saying why.
    explicit TSdlJoystick(SDL_Window* Window, const std::string& MappingFile = {});
    ~TSdlJoystick() override;
    TSdlJoystick(const TSdlJoystick&) = delete;
    TSdlJoystick& operator=(const TSdlJoystick&) = delete;

    bool Foreground() const override;
    TJoystickRaw ReadJoystick() override;

    void SetButtons(const TPadButtons& B) { Buttons_ = B; }
    // Whether a controller's rewind button is held (as the last read found it).
    bool RewindHeld() const;
    bool Available() const { return Started_; }  // the joystick system could be started
    bool IsController() const { return Controller_ != nullptr; }
    const char* DeviceName() const;
    int MappingsAdded() const { return MappingsAdded_; }
    const std::string& MappingsError() const { return MappingsError_; }

private:
    void Close();
    bool Open();  // the first device, controllers preferred as SDL opens them
    SDL_Window* Window_;
    bool Started_ = false;
    SDL_GameController* Controller_ = nullptr;
    SDL_Joystick* Joystick_ = nullptr;
    TPadButtons Buttons_;
    int MappingsAdded_ = 0;
    std::string MappingsError_;
};

// Reading rules, also used by the tests. Controller: the d-pad overrides the left stick.
// The shot, bomb and slow buttons first, then the others in SDL's order.
TJoystickRaw ReadController(SDL_GameController* C, const TPadButtons& Buttons = {});
TJoystickRaw ReadRawJoystick(SDL_Joystick* J);

}  // namespace kv
