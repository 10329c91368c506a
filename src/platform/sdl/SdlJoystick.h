#pragma once
// The first joystick or game controller, picked up and dropped as it is plugged in and out.
// A controller SDL knows reads as: A = button 1 (shot), B = button 2 (bomb), X = button 3 (slow),
// the left stick and the d-pad as the axes. Any other joystick reads its raw axes 0 and 1 (its
// first hat, while pressed, instead) and buttons 1 … 32.
#include <SDL.h>

#include <string>

#include "engine/Input.h"

namespace kv {

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
    int MappingsAdded_ = 0;
    std::string MappingsError_;
};

// Reading rules, also used by the tests. Controller: the d-pad overrides the left stick.
TJoystickRaw ReadController(SDL_GameController* C);
TJoystickRaw ReadRawJoystick(SDL_Joystick* J);

}  // namespace kv
