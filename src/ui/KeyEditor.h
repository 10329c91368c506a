#pragma once
// The key table: the seven states the game reads and the rewind key, each with up to three
// keys. A slot is chosen, pressed, and takes the next key pressed (Esc gives up); Delete or the
// pad's Y empties it.
// Keys two states share are marked. Every change is written to keys.conf as --bind writes it.
#include <memory>

#include "ui/Window.h"

namespace kv::ui {

std::unique_ptr<TWindow> MakeKeyEditor(IUiContext& Ui);

}  // namespace kv::ui
