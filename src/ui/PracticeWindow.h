#pragma once
// Practice starts: each stage and each boss phase in the order a game meets them, with the boss
// and attack names the HUD shows and, beside each attack, how often it was reached and ended
// without losing HP. The Extra Stage and Dagar's phases are listed once it is unlocked.
#include <memory>

#include "ui/Window.h"

namespace kv::ui {

std::unique_ptr<TWindow> MakePracticeWindow(IUiContext& Ui);

}  // namespace kv::ui
