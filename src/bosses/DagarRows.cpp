// How Dagar's phases end: the player's shots move the chain A → C → B → D → E → F on, the
// countdown ends F and with it the Extra Stage, and game over removes the phase on show.
#include "bosses/Dagar.h"
#include "player/HitReactions.h"
#include "shell/EndScreens.h"
#include "shell/GameSprite.h"
#include "shell/Rows.h"

namespace kv {

namespace {

constexpr TItemKind HP = TItemKind::HP;
constexpr TItemKind Bomb = TItemKind::Bomb;

template <class T>
TSprite* Create(TForm1& F) {
    return new T(F.SpriteEngine());
}

const TBossPhaseRowRegistrar kEndA{IsA<TDagarASprite>, 600, [](TForm1& F, TEnemySprite* O) {
    RunPhaseEnd(F, O, {"TDagarASprite", {{HP, 0, 0}, {HP, 60, 40}, {HP, 0, 40}, {HP, 60, 0}, {Bomb, 30, 20}},
                       Create<TDagarCSprite>, &TForm1::DagarCSprite, 100, 1000});
}};
const TBossPhaseRowRegistrar kEndC{IsA<TDagarCSprite>, 600, [](TForm1& F, TEnemySprite* O) {
    RunPhaseEnd(F, O, {"TDagarCSprite", {{Bomb, 0, 0}, {HP, 60, 40}, {HP, 0, 40}, {Bomb, 60, 0}, {Bomb, 30, 20}},
                       Create<TDagarBSprite>, &TForm1::DagarBSprite, 200, 2000});
}};
const TBossPhaseRowRegistrar kEndB{IsA<TDagarBSprite>, 1000, [](TForm1& F, TEnemySprite* O) {
    RunPhaseEnd(F, O, {"TDagarBSprite", {{Bomb, 0, 0}, {HP, 60, 40}, {HP, 0, 40}, {Bomb, 60, 0}, {HP, 30, 20}},
                       Create<TDagarDSprite>, &TForm1::DagarDSprite, 300, 3000});
}};
const TBossPhaseRowRegistrar kEndD{IsA<TDagarDSprite>, 1000, [](TForm1& F, TEnemySprite* O) {
    RunPhaseEnd(F, O, {"TDagarDSprite", {{Bomb, 0, 0}, {HP, 60, 40}, {HP, 0, 40}, {Bomb, 60, 0}, {Bomb, 30, 20}},
                       Create<TDagarESprite>, &TForm1::DagarESprite, 400, 4000});
}};
const TBossPhaseRowRegistrar kEndE{IsA<TDagarESprite>, 1000, [](TForm1& F, TEnemySprite* O) {
    RunPhaseEnd(F, O, {"TDagarESprite", {{Bomb, 30, 0}, {HP, 60, 40}, {HP, 0, 40}},
                       Create<TDagarFSprite>, &TForm1::DagarFSprite, 500, 5000});
}};

const TRemovalRowRegistrar kRemoval{
    {"怨弾「天地爆閃・其の壱」", &TForm1::DagarASprite},
    {"怨弾「天地爆閃・其の弐」", &TForm1::DagarCSprite},
    {"怨弾「天地爆閃・其の参」", &TForm1::DagarBSprite},
    {"怨槌「天地暴砕砲」", &TForm1::DagarDSprite},
    {"怨刀「天地裂斬砲」", &TForm1::DagarESprite},
    {"「天地爆閃砲」", &TForm1::DagarFSprite},
};

// The end of Dagar is the end of the Extra Stage.
const TEnduranceRowRegistrar kEnduranceEnd{{"「天地爆閃砲」", &TForm1::DagarFSprite, {}, 6000, 300,
                                            [](TForm1& F) { new TGameClearSprite(F.SpriteEngine()); }}};

}  // namespace

}  // namespace kv
