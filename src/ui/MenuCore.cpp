#include "ui/MenuCore.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace kv::ui {

TEntry& TMenu::Add(std::string Label, std::function<void()> OnPress, std::string Value) {
    int32_t row = 0;
    for (const TEntry& e : Entries) row = std::max(row, e.Row + 1);
    TEntry& e = Entries.emplace_back();
    e.Label = std::move(Label);
    e.Value = std::move(Value);
    e.OnPress = std::move(OnPress);
    e.Row = row;
    e.Span = Layout == Grid ? Columns : 1;
    return e;
}

TEntry* TMenu::Focused() {
    ClampFocus();
    return Focus < Entries.size() ? &Entries[Focus] : nullptr;
}

void TMenu::ClampFocus() {
    if (Focus < Entries.size() && Entries[Focus].Enabled) return;
    for (size_t i = 0; i < Entries.size(); ++i)
        if (Entries[i].Enabled) {
            Focus = i;
            return;
        }
    Focus = 0;
}

void TMenu::FocusLabel(const std::string& Label) {
    for (size_t i = 0; i < Entries.size(); ++i)
        if (Entries[i].Label == Label && Entries[i].Enabled) Focus = i;
}

// The nearest row above or below with an enabled entry, wrapping round; in it the entry whose
// columns are nearest the focused one's.
bool TMenu::MoveRow(int32_t Dir) {
    const TEntry* cur = Focused();
    if (!cur) return false;
    const int32_t row = cur->Row, col = cur->Col;
    int32_t best = INT_MAX, target = INT_MIN, lo = INT_MAX, hi = INT_MIN;
    for (const TEntry& e : Entries) {
        if (!e.Enabled || e.Row == row) continue;
        lo = std::min(lo, e.Row);
        hi = std::max(hi, e.Row);
        const int32_t d = (e.Row - row) * Dir;
        if (d > 0 && d < best) {
            best = d;
            target = e.Row;
        }
    }
    if (target == INT_MIN) {
        if (lo == INT_MAX) return false;  // a single row
        target = Dir > 0 ? lo : hi;
    }
    size_t pick = Focus;
    int32_t dist = INT_MAX;
    for (size_t i = 0; i < Entries.size(); ++i) {
        const TEntry& e = Entries[i];
        if (!e.Enabled || e.Row != target) continue;
        const int32_t d = col < e.Col ? e.Col - col : col >= e.Col + e.Span ? col - (e.Col + e.Span - 1) : 0;
        if (d < dist) {
            dist = d;
            pick = i;
        }
    }
    Focus = pick;
    return true;
}

bool TMenu::MoveCol(int32_t Dir) {
    TEntry* cur = Focused();
    if (!cur) return false;
    size_t pick = Entries.size();
    int32_t best = INT_MAX;
    for (size_t i = 0; i < Entries.size(); ++i) {
        const TEntry& e = Entries[i];
        const int32_t d = (e.Col - cur->Col) * Dir;
        if (e.Enabled && e.Row == cur->Row && d > 0 && d < best) {
            best = d;
            pick = i;
        }
    }
    if (pick < Entries.size()) {
        Focus = pick;
        return true;
    }
    if (cur->OnAdjust) {
        cur->OnAdjust(Dir);
        return true;
    }
    return false;
}

bool TMenu::Handle(TNav Nav) {
    switch (Nav) {
        case TNav::Up: return MoveRow(-1);
        case TNav::Down: return MoveRow(1);
        case TNav::Left: return MoveCol(-1);
        case TNav::Right: return MoveCol(1);
        case TNav::Press: {
            TEntry* e = Focused();
            if (!e || !e->Enabled) return false;
            if (e->OnPress) {
                // The action may rebuild this menu: take it out first.
                auto f = e->OnPress;
                f();
                return true;
            }
            if (e->OnAdjust) {
                e->OnAdjust(1);
                return true;
            }
            return false;
        }
        case TNav::Back:
            if (!OnBack) return false;
            {
                auto f = OnBack;
                f();
            }
            return true;
        case TNav::Clear: {
            TEntry* e = Focused();
            if (!e || !e->OnClear) return false;
            auto f = e->OnClear;
            f();
            return true;
        }
    }
    return false;
}

}  // namespace kv::ui
