#include "ui/NavInput.h"

namespace kv::ui {

namespace {
constexpr int32_t StickOn = 20000, StickOff = 10000;
}

bool TNavInput::InSlots(int32_t State, SDL_Scancode Key) const {
    for (uint16_t k : (*Keys_)[State]) {
        if (k == 0) continue;
        if (k == Key || (k == keys::LShift && (Key == SDL_SCANCODE_LSHIFT || Key == SDL_SCANCODE_RSHIFT))) return true;
    }
    return false;
}

TNavEvent TNavInput::Translate(const SDL_Event& E) {
    TNavEvent n;
    auto move = [&](TNav d) {
        n.Kind = TNavEvent::Move;
        n.Dir = d;
    };
    if (E.type == SDL_KEYDOWN || E.type == SDL_KEYUP) {
        const SDL_Scancode k = E.key.keysym.scancode;
        n.Key = k;
        const bool down = E.type == SDL_KEYDOWN;
        const SDL_Keycode sym = E.key.keysym.sym;
        n.TypingKey = sym >= 0x20 && sym < 0x7F && !(E.key.keysym.mod & (KMOD_CTRL | KMOD_ALT));
        if (k == SDL_SCANCODE_RETURN || k == SDL_SCANCODE_KP_ENTER || InSlots(isButton1, k)) {
            if (!E.key.repeat) n.Kind = down ? TNavEvent::PressDown : TNavEvent::PressUp;
            return n;
        }
        if (!down) return n;
        if (k == SDL_SCANCODE_UP || k == SDL_SCANCODE_KP_8 || InSlots(isUp, k)) move(TNav::Up);
        else if (k == SDL_SCANCODE_DOWN || k == SDL_SCANCODE_KP_2 || InSlots(isDown, k)) move(TNav::Down);
        else if (k == SDL_SCANCODE_LEFT || k == SDL_SCANCODE_KP_4 || InSlots(isLeft, k)) move(TNav::Left);
        else if (k == SDL_SCANCODE_RIGHT || k == SDL_SCANCODE_KP_6 || InSlots(isRight, k)) move(TNav::Right);
        else if (k == SDL_SCANCODE_TAB) move(E.key.keysym.mod & KMOD_SHIFT ? TNav::Up : TNav::Down);
        else if (k == SDL_SCANCODE_ESCAPE || k == SDL_SCANCODE_X || InSlots(isButton2, k)) {
            if (!E.key.repeat) n.Kind = TNavEvent::Back;
        } else if (k == SDL_SCANCODE_DELETE || k == SDL_SCANCODE_BACKSPACE) {
            n.Kind = TNavEvent::Clear;
        }
        return n;
    }
    if (E.type == SDL_CONTROLLERBUTTONDOWN || E.type == SDL_CONTROLLERBUTTONUP) {
        n.FromPad = true;
        const bool down = E.type == SDL_CONTROLLERBUTTONDOWN;
        switch (E.cbutton.button) {
            case SDL_CONTROLLER_BUTTON_A:
            case SDL_CONTROLLER_BUTTON_START:
                n.Kind = down ? TNavEvent::PressDown : TNavEvent::PressUp;
                break;
            case SDL_CONTROLLER_BUTTON_B:
                if (down) n.Kind = TNavEvent::Back;
                break;
            case SDL_CONTROLLER_BUTTON_Y:
                if (down) n.Kind = TNavEvent::Clear;
                break;
            case SDL_CONTROLLER_BUTTON_DPAD_UP:
                if (down) move(TNav::Up);
                break;
            case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
                if (down) move(TNav::Down);
                break;
            case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
                if (down) move(TNav::Left);
                break;
            case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
                if (down) move(TNav::Right);
                break;
            default:
                break;
        }
        return n;
    }
    if (E.type == SDL_CONTROLLERAXISMOTION &&
        (E.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX || E.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)) {
        n.FromPad = true;
        const bool x = E.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX;
        int32_t& was = x ? StickX_ : StickY_;
        const int32_t v = E.caxis.value;
        const int32_t now = v > StickOn ? 1 : v < -StickOn ? -1 : (v > -StickOff && v < StickOff) ? 0 : was;
        // One step each time the stick is pushed out of the middle.
        if (now != 0 && now != was) move(x ? (now < 0 ? TNav::Left : TNav::Right) : (now < 0 ? TNav::Up : TNav::Down));
        was = now;
    }
    return n;
}

}  // namespace kv::ui
