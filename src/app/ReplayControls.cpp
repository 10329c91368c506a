#include "app/ReplayControls.h"

namespace kv::app {

namespace {

TWatchCommand JumpTo(TReplayScrubber::EJump J) {
    TWatchCommand c;
    c.Kind = TWatchCommand::Jump;
    c.To = J;
    return c;
}

TWatchCommand Of(TWatchCommand::EKind K) {
    TWatchCommand c;
    c.Kind = K;
    return c;
}

}  // namespace

TWatchCommand WatchCommandOf(const SDL_Event& E) {
    if (E.type == SDL_KEYDOWN) {
        const SDL_Scancode k = E.key.keysym.scancode;
        // A held step key runs frame by frame; everything else once a press.
        if (k == SDL_SCANCODE_PERIOD || k == SDL_SCANCODE_KP_PERIOD) return Of(TWatchCommand::Step);
        if (E.key.repeat) return {};
        if (E.key.keysym.mod & (KMOD_ALT | KMOD_CTRL)) return {};
        switch (k) {
            case SDL_SCANCODE_LEFT: return JumpTo(TReplayScrubber::Back5s);
            case SDL_SCANCODE_RIGHT: return JumpTo(TReplayScrubber::Forward5s);
            case SDL_SCANCODE_PAGEUP: return JumpTo(TReplayScrubber::PreviousMark);
            case SDL_SCANCODE_PAGEDOWN: return JumpTo(TReplayScrubber::NextMark);
            case SDL_SCANCODE_MINUS:
            case SDL_SCANCODE_KP_MINUS: return Of(TWatchCommand::Slower);
            case SDL_SCANCODE_EQUALS:
            case SDL_SCANCODE_KP_PLUS: return Of(TWatchCommand::Faster);
            case SDL_SCANCODE_ESCAPE: return Of(TWatchCommand::Stop);
            case SDL_SCANCODE_T: return Of(TWatchCommand::TakeOver);
            default: break;
        }
        if (k >= SDL_SCANCODE_1 && k <= SDL_SCANCODE_6) {
            TWatchCommand c = Of(TWatchCommand::Speed);
            c.NewSpeed = static_cast<TReplayScrubber::ESpeed>(k - SDL_SCANCODE_1);
            return c;
        }
        return {};
    }
    if (E.type != SDL_CONTROLLERBUTTONDOWN) return {};
    switch (E.cbutton.button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return JumpTo(TReplayScrubber::Back5s);
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return JumpTo(TReplayScrubber::Forward5s);
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return JumpTo(TReplayScrubber::PreviousMark);
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return JumpTo(TReplayScrubber::NextMark);
        case SDL_CONTROLLER_BUTTON_A: return Of(TWatchCommand::Step);
        case SDL_CONTROLLER_BUTTON_B: return Of(TWatchCommand::Stop);
        case SDL_CONTROLLER_BUTTON_Y: return Of(TWatchCommand::TakeOver);
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return Of(TWatchCommand::Slower);
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return Of(TWatchCommand::Faster);
        default: return {};
    }
}

}  // namespace kv::app
