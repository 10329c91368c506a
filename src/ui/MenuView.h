#pragma once
// How a player window looks: a classic window over the playfield with a title bar, its entries
// as rows (or a grid of cells), the focused one highlighted, and a status line. The mouse works
// on the same entries: a click focuses and presses, the arrows beside a value change it.
#include "ui/MenuCore.h"

namespace kv {
class TSdlWidgets;
}

namespace kv::ui {

// Draws M in the current ImGui frame and returns what the mouse asked for; Pushed shows the
// focused entry held down.
struct TMenuMouse {
    bool Any = false;
    size_t Entry = 0;
    TNav Nav = TNav::Press;
};
TMenuMouse DrawMenu(TMenu& M, TSdlWidgets& Widgets, bool Pushed);

}  // namespace kv::ui
