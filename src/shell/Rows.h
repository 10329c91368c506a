#pragma once
// The rows the bosses and stages give the shell: which phase shows which attack name (removed
// on game over), and what happens when an endurance attack has been outlasted. Each module
// registers its own rows with a static registrar, e.g.
//   static const TRemovalRowRegistrar r{{"輝式「光閃の守護」", &TForm1::ROneASprite}};
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/Sprite.h"

namespace kv {

class TForm1;

// ---- items dropped by a finished phase ----
enum class TItemKind { HP, Bomb };
using TItemFactory = void (*)(TForm1& Form, TItemKind Kind, double X, double Y);
// Set by the module that brings the item sprites; until then no item appears.
inline TItemFactory& ItemFactory() {
    static TItemFactory factory = nullptr;
    return factory;
}
inline void CreateItem(TForm1& Form, TItemKind Kind, double X, double Y) {
    if (TItemFactory f = ItemFactory()) f(Form, Kind, X, Y);
}

// A boss phase reference of the window.
using TPhaseRef = TSpriteRef<TSprite> TForm1::*;

// ---- removal on game over ----
struct TRemovalRow {
    std::string Attack;
    TPhaseRef Phase = nullptr;
};
std::vector<TRemovalRow>& RemovalRows();
struct TRemovalRowRegistrar {
    TRemovalRowRegistrar(std::initializer_list<TRemovalRow> Rows);
};

// ---- the end of an endurance attack ----
struct TItemDrop {
    TItemKind Kind = TItemKind::HP;
    double DX = 0, DY = 0;  // from the phase's X, Y
};
struct TEnduranceRow {
    std::string Attack;
    TPhaseRef Phase = nullptr;
    std::vector<TItemDrop> Items;  // created in this order
    int32_t Bonus = 0;             // Score += Bonus + BonusPerHP × HP
    int32_t BonusPerHP = 0;
    void (*CreateLast)(TForm1& Form) = nullptr;  // the next stage script or the game-clear screen
};
std::vector<TEnduranceRow>& EnduranceRows();
struct TEnduranceRowRegistrar {
    explicit TEnduranceRowRegistrar(TEnduranceRow Row);
};

const TRemovalRow* FindRemovalRow(const std::string& Attack);
const TEnduranceRow* FindEnduranceRow(const std::string& Attack);

}  // namespace kv
