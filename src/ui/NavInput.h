#pragma once
// Keys and pad buttons as the player's windows read them. Arrows, the move keys of the player's
// table and the d-pad or left stick move; Enter, the shot keys, the pad's A and Start press
// (on release, so a game started with a press begins with nothing held); X, Esc and B go back;
// Delete and the pad's Y clear.
#include <SDL.h>

#include <cstdint>

#include "engine/Input.h"
#include "ui/MenuCore.h"

namespace kv::ui {

struct TNavEvent {
    enum TKind { None, Move, PressDown, PressUp, Back, Clear } Kind = None;
    TNav Dir = TNav::Up;  // Move
    bool FromPad = false;
    bool TypingKey = false;  // a key that types a character in an edit field
    SDL_Scancode Key = SDL_SCANCODE_UNKNOWN;
};

class TNavInput {
public:
    explicit TNavInput(const TKeyAssignment& Keys) : Keys_(&Keys) {}
    void SetKeys(const TKeyAssignment& Keys) { Keys_ = &Keys; }
    TNavEvent Translate(const SDL_Event& E);

private:
    bool InSlots(int32_t State, SDL_Scancode Key) const;
    const TKeyAssignment* Keys_;
    int32_t StickX_ = 0, StickY_ = 0;  // -1, 0, 1: where the stick was last counted
};

}  // namespace kv::ui
