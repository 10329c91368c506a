#pragma once
// What a player's shot does to the sprite it hits: one row per shootable class (subclasses
// included), registered by the module that brings the class.
//
//   static const TSmallEnemyRowRegistrar zakoAA{IsA<TZakoAASprite>, 8, [](TForm1& F, TEnemySprite* O) {...}};
//   static const TBossPhaseRowRegistrar roneA{IsA<TROneASprite>, 150, [](TForm1& F, TEnemySprite* O) {
//       RunPhaseEnd(F, O, {"TROneASprite", {{TItemKind::HP, 0, 0}}, MakeNext, &TForm1::ROneBSprite, 1000, 5000});
//   }};
#include <cstdint>
#include <vector>

#include "bullets/Bases.h"
#include "shell/Rows.h"

namespace kv {

using TClassTest = bool (*)(const TSprite*);

// Small enemies die when the new Life is below −N (strictly; repeated on a dying sprite).
struct TSmallEnemyRow {
    TClassTest Is = nullptr;
    int32_t N = 0;
    void (*OnDeath)(TForm1& Form, TEnemySprite* Other) = nullptr;
};
// Boss phases end when the new Life is exactly −K (once).
struct TBossPhaseRow {
    TClassTest Is = nullptr;
    int32_t K = 0;
    void (*OnEnd)(TForm1& Form, TEnemySprite* Other) = nullptr;
};

std::vector<TSmallEnemyRow>& SmallEnemyRows();
std::vector<TBossPhaseRow>& BossPhaseRows();
struct TSmallEnemyRowRegistrar {
    TSmallEnemyRowRegistrar(TClassTest Is, int32_t N, void (*OnDeath)(TForm1&, TEnemySprite*));
};
struct TBossPhaseRowRegistrar {
    TBossPhaseRowRegistrar(TClassTest Is, int32_t K, void (*OnEnd)(TForm1&, TEnemySprite*));
};

// Whether a shot reacts to the sprite at all (the autopilot aims at such sprites).
bool IsShootable(const TSprite* S);

// The standard end of a boss phase: items, "Dead", kill, extra step, next phase stored in its
// reference, bonus a × HP + b. Rows that deviate call the pieces below in their own order.
struct TPhaseEnd {
    const char* ClassName = "";
    std::vector<TItemDrop> Items;
    TSprite* (*CreateNext)(TForm1& Form) = nullptr;
    TPhaseRef Ref = nullptr;
    int32_t BonusPerHP = 0;  // a
    int32_t Bonus = 0;       // b
    void (*Extra)(TForm1& Form) = nullptr;
};
void RunPhaseEnd(TForm1& Form, TEnemySprite* Other, const TPhaseEnd& End);

void DropItems(TForm1& Form, const TSprite* Phase, const std::vector<TItemDrop>& Items);
void StoreNextPhase(TForm1& Form, TPhaseRef Ref, TSprite* Next);
// Adds the bonus and writes the phase_end event.
void AddPhaseBonus(TForm1& Form, const char* ClassName, int32_t BonusPerHP, int32_t Bonus);

}  // namespace kv
