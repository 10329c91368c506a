#pragma once
// The shared core of the player's windows: a window is a list of entries with actions, and one
// focused entry. Keyboard, gamepad and mouse all reach the same entries through TNav, so each
// window only says what its entries are and what they do.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv::ui {

// What a key, a pad button or the mouse asks of a window.
enum class TNav { Up, Down, Left, Right, Press, Back, Clear };

struct TEntry {
    std::string Label;          // the game's own text; shown in the player's language
    std::string Shown;          // set when the window puts the shown label together itself
    std::string Value;          // shown on the right of a list row ("80 %", a key's name …)
    int32_t Row = 0, Col = 0;   // where it sits; navigation moves by rows and columns
    int32_t Span = 1;           // columns it covers in a grid
    bool Enabled = true;
    bool Warn = false;          // drawn as a problem (a key that two states share)
    std::function<void()> OnPress;
    std::function<void(int32_t Step)> OnAdjust;  // left or right where the row has nothing else
    std::function<void()> OnClear;               // Delete, or the pad's Y
};

class TMenu {
public:
    enum TLayout { List, Grid };

    std::string Title;
    TLayout Layout = List;
    int32_t Columns = 1;                 // Grid: cells in a row
    std::vector<std::string> RowLabels;  // Grid: a caption before each row ("" for none)
    std::vector<TEntry> Entries;
    std::string Status;                  // a line under the entries (help, problems)
    bool StatusAsTyped = false;          // the status is the player's own text: never translated
    std::function<void()> OnBack;        // X, Esc, B; unset: Back does nothing
    size_t Focus = 0;
    int32_t FirstRow = 0;  // the first row shown when they do not all fit

    // Appends an entry on a row of its own.
    TEntry& Add(std::string Label, std::function<void()> OnPress = {}, std::string Value = {});
    // Whether the request did something.
    bool Handle(TNav Nav);
    // Keeps Focus on an enabled entry (the first, when the old one is gone).
    void ClampFocus();
    TEntry* Focused();
    // Focus the entry whose label is Label (kept when there is none).
    void FocusLabel(const std::string& Label);

private:
    bool MoveRow(int32_t Dir);
    bool MoveCol(int32_t Dir);
};

}  // namespace kv::ui
