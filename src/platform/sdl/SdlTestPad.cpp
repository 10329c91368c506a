#include "platform/sdl/SdlTestPad.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace kv {

namespace {
constexpr int32_t HoldTurns = 4;
}

std::unique_ptr<TSdlTestPad> TSdlTestPad::FromEnvironment() {
    const char* file = std::getenv("KALVENTO_TEST_PAD");
    if (!file || !*file) return nullptr;
    return std::make_unique<TSdlTestPad>(file);
}

TSdlTestPad::TSdlTestPad(const std::string& File) : File_(File) {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0)
        throw std::runtime_error(std::string("test pad: ") + SDL_GetError());
    SDL_VirtualJoystickDesc d;
    SDL_zero(d);
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    d.naxes = SDL_CONTROLLER_AXIS_MAX;
    d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    d.name = "Kalvento test pad";
    Index_ = SDL_JoystickAttachVirtualEx(&d);
    if (Index_ < 0 || !(Pad_ = SDL_JoystickOpen(Index_)))
        throw std::runtime_error(std::string("test pad: ") + SDL_GetError());
}

TSdlTestPad::~TSdlTestPad() {
    if (Pad_) SDL_JoystickClose(Pad_);
    if (Index_ >= 0) SDL_JoystickDetachVirtual(Index_);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

// The next whole line the test has written so far.
bool TSdlTestPad::NextLine(std::string& Line) {
    if (!In_.is_open()) {
        In_.open(File_);
        if (!In_.is_open()) return false;
    }
    char c;
    while (In_.get(c)) {
        if (c == '\n') {
            Line.swap(Partial_);
            Partial_.clear();
            return true;
        }
        Partial_ += c;
    }
    In_.clear();  // at the end for now: the test may write more
    return false;
}

void TSdlTestPad::Turn() {
    if (Wait_ > 0) {
        --Wait_;
        if (Releasing_ >= 0 && Wait_ <= HoldTurns) {
            SDL_JoystickSetVirtualButton(Pad_, Releasing_, SDL_RELEASED);
            Releasing_ = -1;
        }
        return;
    }
    std::string line;
    while (Wait_ == 0 && NextLine(line)) {
        std::istringstream ls(line);
        std::string verb, what;
        ls >> verb >> what;
        if (verb.empty() || verb[0] == '#') continue;
        if (verb == "wait") {
            Wait_ = std::max(0, std::atoi(what.c_str()));
            continue;
        }
        const SDL_GameControllerButton b = SDL_GameControllerGetButtonFromString(what.c_str());
        if (b == SDL_CONTROLLER_BUTTON_INVALID || (verb != "press" && verb != "hold" && verb != "release")) {
            std::cerr << "kalvento: test pad: cannot read '" << line << "'\n";
            continue;
        }
        SDL_JoystickSetVirtualButton(Pad_, b, verb == "release" ? SDL_RELEASED : SDL_PRESSED);
        if (verb == "press") {
            Releasing_ = b;
            Wait_ = 2 * HoldTurns;
        }
    }
}

}  // namespace kv
