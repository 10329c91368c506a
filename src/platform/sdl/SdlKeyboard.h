#pragma once
// The keyboard as SDL sees it: key codes are SDL scancodes (USB HID usages).
#include <SDL.h>

#include "engine/Input.h"

namespace kv {

class TSdlKeyboard : public IKeyboardSource {
public:
    // Window: the window whose keyboard focus makes the game the foreground application.
    explicit TSdlKeyboard(SDL_Window* Window) : Window_(Window) {}
    bool Foreground() const override;
    // The Shift slot of the key table is LShift: either shift key reports it.
    bool KeyDown(uint16_t Code) const override;

private:
    SDL_Window* Window_;
};

}  // namespace kv
