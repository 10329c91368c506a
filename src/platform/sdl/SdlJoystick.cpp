#include "platform/sdl/SdlJoystick.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "engine/FileReplace.h"

namespace kv {

SDL_GameControllerButton PadButtonOf(const std::string& Name, SDL_GameControllerButton Default) {
    const SDL_GameControllerButton b = SDL_GameControllerGetButtonFromString(Name.c_str());
    return b == SDL_CONTROLLER_BUTTON_INVALID ? Default : b;
}

TSdlJoystick::TSdlJoystick(SDL_Window* Window, const std::string& MappingFile) : Window_(Window) {
    Started_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
    if (!Started_ || MappingFile.empty()) return;
    std::error_code ec;
    if (!std::filesystem::exists(MappingFile, ec)) return;
    // Read here rather than by SDL, which would wait on a pipe and read a device for ever.
    std::string text;
    if (const std::string problem = ReadPlayerFile(MappingFile, MaxMappingFileBytes, text); !problem.empty()) {
        MappingsError_ = MappingFile + ": " + problem + "; SDL's own controller mappings are used";
        return;
    }
    if (text.empty()) return;
    // SDL would stop at the first NUL byte without a word, leaving out the rest.
    if (const size_t nul = text.find('\0'); nul != std::string::npos) {
        const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), '\n') + 1;
        MappingsError_ = MappingFile + ":" + std::to_string(line) + ": a NUL byte: not a text file; SDL's own controller mappings are used";
        return;
    }
    MappingsAdded_ = SDL_GameControllerAddMappingsFromRW(SDL_RWFromConstMem(text.data(), static_cast<int>(text.size())), 1);
    if (MappingsAdded_ < 0) {
        MappingsAdded_ = 0;
        MappingsError_ = MappingFile + ": " + SDL_GetError() + "; SDL's own controller mappings are used";
        return;
    }
    // SDL passes over lines it cannot read without a word: name the first one.
    std::istringstream in(text);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        const size_t b = line.find_first_not_of(" \t\r");
        if (b == std::string::npos || line[b] == '#') continue;
        const bool guid = line.size() > b + 32 && line[b + 32] == ',' &&
                          std::all_of(line.begin() + b, line.begin() + b + 32, [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
        if (!guid) {
            MappingsError_ = MappingFile + ":" + std::to_string(n) + ": not a controller mapping (GUID,name,mapping…); the line is left out";
            return;
        }
    }
}

TSdlJoystick::~TSdlJoystick() {
    Close();
    if (Started_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

bool TSdlJoystick::Foreground() const { return !Window_ || SDL_GetKeyboardFocus() == Window_; }

const char* TSdlJoystick::DeviceName() const {
    if (Controller_) return SDL_GameControllerName(Controller_);
    if (Joystick_) return SDL_JoystickName(Joystick_);
    return nullptr;
}

void TSdlJoystick::Close() {
    if (Controller_) SDL_GameControllerClose(Controller_);  // also releases its joystick
    else if (Joystick_) SDL_JoystickClose(Joystick_);
    Controller_ = nullptr;
    Joystick_ = nullptr;
}

bool TSdlJoystick::Open() {
    const int n = SDL_NumJoysticks();
    for (int i = 0; i < n; ++i) {
        if (SDL_IsGameController(i)) {
            if ((Controller_ = SDL_GameControllerOpen(i))) {
                Joystick_ = SDL_GameControllerGetJoystick(Controller_);
                return true;
            }
        } else if ((Joystick_ = SDL_JoystickOpen(i))) {
            return true;
        }
    }
    return false;
}

bool TSdlJoystick::RewindHeld() const {
    return Controller_ && Foreground() && SDL_GameControllerGetButton(Controller_, Buttons_.Rewind);
}

TJoystickRaw TSdlJoystick::ReadJoystick() {
    if (!Started_) return {};
    SDL_JoystickUpdate();
    // Hot-plug without help from the event loop: drop a device that went away, take the first
    // one there is when none is open.
    if (Joystick_ && !SDL_JoystickGetAttached(Joystick_)) Close();
    if (!Joystick_ && !Open()) return {};
    return Controller_ ? ReadController(Controller_, Buttons_) : ReadRawJoystick(Joystick_);
}

TJoystickRaw ReadController(SDL_GameController* C, const TPadButtons& Buttons) {
    TJoystickRaw r;
    if (!C) return r;
    r.Present = true;
    r.AxisX = SDL_GameControllerGetAxis(C, SDL_CONTROLLER_AXIS_LEFTX);
    r.AxisY = SDL_GameControllerGetAxis(C, SDL_CONTROLLER_AXIS_LEFTY);
    if (SDL_GameControllerGetButton(C, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) r.AxisX = -32768;
    if (SDL_GameControllerGetButton(C, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) r.AxisX = 32767;
    if (SDL_GameControllerGetButton(C, SDL_CONTROLLER_BUTTON_DPAD_UP)) r.AxisY = -32768;
    if (SDL_GameControllerGetButton(C, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) r.AxisY = 32767;
    // Shot, bomb and slow become buttons 1, 2, 3; the others follow in SDL's order, the d-pad
    // being the axes. With the defaults (A, B, X) this is SDL's own order.
    const SDL_GameControllerButton first[] = {Buttons.Shot, Buttons.Bomb, Buttons.Slow};
    int n = 0;
    for (SDL_GameControllerButton button : first) {
        if (SDL_GameControllerGetButton(C, button)) r.Buttons |= 1u << n;
        ++n;
    }
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX && n < 32; ++b) {
        const auto button = static_cast<SDL_GameControllerButton>(b);
        if (button >= SDL_CONTROLLER_BUTTON_DPAD_UP && button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT) continue;
        if (button == Buttons.Shot || button == Buttons.Bomb || button == Buttons.Slow) continue;
        if (SDL_GameControllerGetButton(C, button)) r.Buttons |= 1u << n;
        ++n;
    }
    return r;
}

TJoystickRaw ReadRawJoystick(SDL_Joystick* J) {
    TJoystickRaw r;
    if (!J) return r;
    r.Present = true;
    if (SDL_JoystickNumAxes(J) > 0) r.AxisX = SDL_JoystickGetAxis(J, 0);
    if (SDL_JoystickNumAxes(J) > 1) r.AxisY = SDL_JoystickGetAxis(J, 1);
    if (SDL_JoystickNumHats(J) > 0) {  // a pressed hat wins over the stick
        const Uint8 hat = SDL_JoystickGetHat(J, 0);
        if (hat & SDL_HAT_LEFT) r.AxisX = -32768;
        if (hat & SDL_HAT_RIGHT) r.AxisX = 32767;
        if (hat & SDL_HAT_UP) r.AxisY = -32768;
        if (hat & SDL_HAT_DOWN) r.AxisY = 32767;
    }
    const int buttons = std::min(SDL_JoystickNumButtons(J), 32);
    for (int b = 0; b < buttons; ++b)
        if (SDL_JoystickGetButton(J, b)) r.Buttons |= 1u << b;
    return r;
}

}  // namespace kv
