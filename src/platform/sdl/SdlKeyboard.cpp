#include "platform/sdl/SdlKeyboard.h"

namespace kv {

bool TSdlKeyboard::Foreground() const { return Window_ && SDL_GetKeyboardFocus() == Window_; }

bool TSdlKeyboard::KeyDown(uint16_t Code) const {
    int n = 0;
    const Uint8* state = SDL_GetKeyboardState(&n);
    auto down = [&](int c) { return c > 0 && c < n && state[c] != 0; };
    if (Code == keys::LShift) return down(SDL_SCANCODE_LSHIFT) || down(SDL_SCANCODE_RSHIFT);
    // Alt+Enter switches full screen; it drops no bomb on the way.
    if ((Code == SDL_SCANCODE_RETURN || Code == SDL_SCANCODE_KP_ENTER) && (down(SDL_SCANCODE_LALT) || down(SDL_SCANCODE_RALT)))
        return false;
    return down(Code);
}

}  // namespace kv
