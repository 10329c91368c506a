#include "bosses/Velus.h"

#include <cmath>

#include "bullets/MarcoShots.h"
#include "player/HitReactions.h"
#include "shell/GameSprite.h"
#include "shell/Rows.h"
#include "i18n/Tr.h"

namespace kv {

const char* const VelusBossName = N_("直属兵ヴェルス");
const char* const VelusAAttackName = N_("地砲「爆散砲」");
const char* const VelusBAttackName = N_("天砲「裂空砲」");
const char* const VelusCAttackName = N_("極砲「天の三柱」");
const char* const VelusDAttackName = N_("魂弾「天地爆閃弾γ」");

namespace {

// Phase D's streams by the seconds left: the multiplier of the counter for its three bullets,
// or the six-bullet fan in the last seconds.
struct TDBand {
    int32_t From;  // lowest TaikyuuCount of the band
    double Turn;
};
constexpr TDBand kDBands[] = {
    {45, 0}, {40, 6}, {35, -6}, {30, 19}, {25, -19}, {20, 6}, {15, -6}, {10, 19}, {5, -19},
};

TSprite* CreateVelusB(TForm1& F) { return new TVelusBSprite(F.SpriteEngine()); }
TSprite* CreateVelusC(TForm1& F) { return new TVelusCSprite(F.SpriteEngine()); }
TSprite* CreateVelusD(TForm1& F) { return new TVelusDSprite(F.SpriteEngine()); }

const TBossPhaseRowRegistrar kVelusARow{IsA<TVelusASprite>, 200, [](TForm1& F, TEnemySprite* O) {
    RunPhaseEnd(F, O, {"TVelusASprite", {{TItemKind::HP, 10, 15}, {TItemKind::HP, 30, 15}}, CreateVelusB,
                       &TForm1::VelusBSprite, 200, 2000});
}};
const TBossPhaseRowRegistrar kVelusBRow{IsA<TVelusBSprite>, 200, [](TForm1& F, TEnemySprite* O) {
    RunPhaseEnd(F, O, {"TVelusBSprite", {{TItemKind::HP, 10, 15}, {TItemKind::Bomb, 30, 15}}, CreateVelusC,
                       &TForm1::VelusCSprite, 200, 2500});
}};
const TBossPhaseRowRegistrar kVelusCRow{IsA<TVelusCSprite>, 200, [](TForm1& F, TEnemySprite* O) {
    RunPhaseEnd(F, O, {"TVelusCSprite", {{TItemKind::HP, 10, 15}, {TItemKind::Bomb, 30, 15}}, CreateVelusD,
                       &TForm1::VelusDSprite, 200, 2500});
}};

const TRemovalRowRegistrar kVelusRemoval{{VelusAAttackName, &TForm1::VelusASprite},
                                         {VelusBAttackName, &TForm1::VelusBSprite},
                                         {VelusCAttackName, &TForm1::VelusCSprite},
                                         {VelusDAttackName, &TForm1::VelusDSprite}};

}  // namespace

// ---- phase A ----

TVelusASprite::TVelusASprite(TSprite* Parent) : TVelusSprite(Parent) {
    SetupImage(this, "ヴェルス");
    X = 130;
    Y = -60;
    TForm1& f = FormOf(this);
    f.BossName = VelusBossName;
    f.AttackName = VelusAAttackName;
    f.PhaseStarted("TVelusASprite");
}

void TVelusASprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    if (Y < 0) Y = Y + 1;
    TForm1& f = FormOf(this);
    int32_t& count = f.BossCounters[bcVelusA];
    const int32_t c = count;  // this step acts on the value before the raise
    count = c + 1;
    TSprite* e = f.SpriteEngine();
    if (c == 0 || c == 30 || c == 60) {
        // Each burst starts at a point of its own in the top band, not at Velus.
        const double bx = f.Random(310);
        const double by = f.Random(90);
        for (int32_t d = 0; d <= 44; d += 2) new TVelusShotASprite(e, bx, by, d);
    } else if (c == 89) {
        new TMarcoCShotASprite(e, X + 15, Y + 15);
        if (Life < -100) new TMarcoCShotBSprite(e, X + 15, Y + 15);
        if (Life < -200) new TMarcoCShotCSprite(e, X + 15, Y + 15);
        count = 0;
    }
}

// ---- phase B ----

TVelusBSprite::TVelusBSprite(TSprite* Parent) : TVelusSprite(Parent) {
    SetupImage(this, "ヴェルス");
    TForm1& f = FormOf(this);
    TakePlace(this, f.VelusASprite, 130, 0);
    f.AttackName = VelusBAttackName;
    f.PhaseStarted("TVelusBSprite");
}

void TVelusBSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& f = FormOf(this);
    const int32_t n = ++f.BossCounters[bcVelusB];
    if (Y < 70) Y = Y + 7;
    TSprite* e = f.SpriteEngine();
    const double d = n;
    new TVelusShotASprite(e, X + 20, Y + 20, d);
    if (Life < -100) new TVelusShotBSprite(e, X + 20, Y + 20, d);
    if (Life < -200) new TVelusShotCSprite(e, X + 20, Y + 20, d);
}

// ---- phase C ----

TVelusCSprite::TVelusCSprite(TSprite* Parent) : TVelusSprite(Parent) {
    SetupImage(this, "ヴェルス");
    TForm1& f = FormOf(this);
    TakePlace(this, f.VelusBSprite, 130, 70);
    f.AttackName = VelusCAttackName;
    f.PhaseStarted("TVelusCSprite");
}

void TVelusCSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& f = FormOf(this);
    const int32_t n = ++f.BossCounters[bcVelusC];
    TSprite* e = f.SpriteEngine();
    const double d = 3.0 * n;
    // This phase switches on the 100th hit, one hit earlier than A and B add bullets.
    if (Life > -100) {
        new TVelusShotASprite(e, X + 20, Y + 20, d);
        new TVelusShotASprite(e, X + 20, Y + 20, -d);
    } else if (Life > -200) {
        new TVelusShotBSprite(e, X + 20, Y + 20, d);
        new TVelusShotBSprite(e, X + 20, Y + 20, -d);
    }
}

// ---- phase D ----

TVelusDSprite::TVelusDSprite(TSprite* Parent) : TImageSpriteEx(Parent) {
    SetupImage(this, "ヴェルス");
    TForm1& f = FormOf(this);
    TakePlace(this, f.VelusCSprite, 130, 70);
    Alpha = 96;
    f.AttackName = VelusDAttackName;
    f.TaikyuuMode = true;
    f.TaikyuuCount = 50;
    f.PhaseStarted("TVelusDSprite");
}

void TVelusDSprite::Step(int32_t MoveCount) {
    TImageSprite::Step(MoveCount);  // not an enemy: no end-of-game test
    TForm1& f = FormOf(this);
    const int32_t n = ++f.BossCounters[bcVelusD];
    TSprite* e = f.SpriteEngine();
    const double x = X + 20, y = Y + 20;
    for (const TDBand& b : kDBands) {
        if (f.TaikyuuCount < b.From) continue;
        if (b.Turn != 0) {
            const double d = b.Turn * n;
            new TVelusShotASprite(e, x, y, d);
            new TVelusShotBSprite(e, x, y, d);
            new TVelusShotCSprite(e, x, y, d);
        }
        return;
    }
    // The last seconds, and on until the shell removes the phase: three pairs of spirals.
    const double d = n;
    new TVelusShotASprite(e, x, y, d);
    new TVelusShotBSprite(e, x, y, 2 * d);
    new TVelusShotCSprite(e, x, y, 4 * d);
    new TVelusShotASprite(e, x, y, -d);
    new TVelusShotBSprite(e, x, y, -2 * d);
    new TVelusShotCSprite(e, x, y, -4 * d);
}

// ---- bullets ----

TVelusShotASprite::TVelusShotASprite(TSprite* Parent, double AX, double AY, double ADirection)
    : TVelusShotSprite(Parent, "Bullet1", Speed, AX, AY, ADirection) {}
TVelusShotBSprite::TVelusShotBSprite(TSprite* Parent, double AX, double AY, double ADirection)
    : TVelusShotSprite(Parent, "Bullet2", Speed, AX, AY, ADirection) {}
TVelusShotCSprite::TVelusShotCSprite(TSprite* Parent, double AX, double AY, double ADirection)
    : TVelusShotSprite(Parent, "Bullet3", Speed, AX, AY, ADirection) {}

}  // namespace kv
