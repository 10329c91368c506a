// The endurance countdown and the removal of boss phases on game over.
#include <cstdint>

#include "shell/Form1.h"
#include "shell/Rows.h"

namespace kv {

namespace {
// 32-bit score arithmetic wraps as the original integers did, without undefined behaviour.
int32_t Wrap(int64_t V) { return static_cast<int32_t>(static_cast<uint32_t>(V)); }
}  // namespace

void TForm1::Timer1Timer() {
    Handle([this] {
        if (!TaikyuuMode) return;
        TaikyuuCount = TaikyuuCount - 1;
        if (TaikyuuCount != 0) return;
        TaikyuuMode = false;
        PlaySound("Dead");
        const TEnduranceRow* row = FindEnduranceRow(AttackName);
        if (!row) return;
        const std::string attack = row->Attack;  // the row's last sprite may change AttackName
        TSprite* phase = row->Phase ? (this->*(row->Phase)).Get() : nullptr;
        if (phase) {
            const double x = phase->X, y = phase->Y;
            for (const TItemDrop& item : row->Items) CreateItem(*this, item.Kind, x + item.DX, y + item.DY);
            phase->Kill();
        }
        const int32_t bonus = Wrap(int64_t{row->Bonus} + int64_t{row->BonusPerHP} * HP);
        Score = Wrap(int64_t{Score} + bonus);
        Log.Write("endurance_end", {{"attack", attack}, {"bonus", int64_t{bonus}}, {"score", int64_t{Score}}});
        if (row->CreateLast) row->CreateLast(*this);
    });
}

void TForm1::TaikyuuReset() {
    TaikyuuMode = false;
    TaikyuuCount = 0;
}

void TForm1::BossNameCheck() {
    const TRemovalRow* row = FindRemovalRow(AttackName);
    if (!row || !row->Phase) return;
    if (TSprite* phase = (this->*(row->Phase)).Get()) phase->Kill();
}

}  // namespace kv
