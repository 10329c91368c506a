// Gadnic's phases A to E and the rows that end and remove them.
#include "bosses/Gadnic.h"

#include <cmath>

#include "bullets/GadnicShots.h"
#include "bullets/Laser.h"
#include "enemies/Sign.h"
#include "player/HitReactions.h"
#include "shell/EndScreens.h"
#include "shell/GameSprite.h"
#include "shell/Rows.h"
#include "i18n/Tr.h"

namespace kv {

const char* const GadnicGuardName = N_("ガドニック");
const char* const GadnicKingName = N_("ガドニック王");
const char* const GadnicAAttackName = N_("転生「龍王再誕」");
const char* const GadnicBAttackName = N_("炎牙「劫火災厄」");
const char* const GadnicCAttackName = N_("氷牙「絶対零度」");
const char* const GadnicDAttackName = N_("雷牙「轟音雷神」");
const char* const GadnicEAttackName = N_("魂弾「天地爆閃弾・極」");

namespace {

constexpr int32_t kGridCycle = 220;

// Step of the cycle, column, row: six sweeps on a 62 × 94 grid from 0, then five on the same
// grid shifted by half a cell.
struct TGridStep {
    int32_t N;
    double Column, Row;
};
constexpr TGridStep kGrid[] = {
    {1, 0, 0},      {21, 62, 94},   {41, 124, 188}, {61, 186, 282}, {81, 248, 376}, {101, 310, 470},
    {121, 31, 47},  {141, 93, 141}, {161, 155, 235}, {181, 217, 329}, {201, 279, 423},
};
constexpr int32_t kRingStep = 101;  // phase A's ring, with the sixth sweep
constexpr int32_t kSignStep = 121;  // phase C's Sign, with the seventh

// The lasers of step N, vertical first; true if there were any.
bool Sweep(TSprite* Engine, int32_t N) {
    double column, row;
    if (!GadnicGridAt(N, column, row)) return false;
    new TlazerASprite(Engine, column, -480, "青", "縦");
    new TlazerASprite(Engine, -480, row, "赤", "左右");
    return true;
}

void Sign(TSprite* Engine, double X, double Y, int32_t Mode) { new TSignASprite(Engine, X, Y, Mode); }

// Where the king fades in and phases B and E stand; C and D, made on their own, start there.
constexpr double kKingX = 120, kKingY = 60;

// ---- phase ends ----

TSprite* CreateGadnicC(TForm1& F) { return new TGadnicCSprite(F.SpriteEngine()); }
TSprite* CreateGadnicD(TForm1& F) { return new TGadnicDSprite(F.SpriteEngine()); }
TSprite* CreateGadnicE(TForm1& F) { return new TGadnicESprite(F.SpriteEngine()); }

const std::vector<TItemDrop> kKingItems{{TItemKind::HP, 15, 15}, {TItemKind::Bomb, 45, 15}};

// The king's phases pay their bonus before the next phase begins.
void EndKingPhase(TForm1& F, TEnemySprite* O, const char* ClassName, TSprite* (*CreateNext)(TForm1&),
                  TPhaseRef Ref) {
    DropItems(F, O, kKingItems);
    F.PlaySound("Dead");
    O->Kill();
    AddPhaseBonus(F, ClassName, 200, 2500);
    StoreNextPhase(F, Ref, CreateNext(F));
}

// The guard's defeat fades it out; the names are cleared for the cross-fade before the bonus.
const TBossPhaseRowRegistrar kGadnicARow{IsA<TGadnicASprite>, 350, [](TForm1& F, TEnemySprite* O) {
    DropItems(F, O, {{TItemKind::HP, 5, 15}, {TItemKind::HP, 25, 15}});
    F.PlaySound("Dead");
    O->Kill();
    StoreNextPhase(F, &TForm1::GadnicFadeSprite, new TGadnicFadeSprite(F.SpriteEngine(), 0));
    F.BSReset();
    AddPhaseBonus(F, "TGadnicASprite", 200, 2500);
}};
const TBossPhaseRowRegistrar kGadnicBRow{IsA<TGadnicBSprite>, 300, [](TForm1& F, TEnemySprite* O) {
    EndKingPhase(F, O, "TGadnicBSprite", CreateGadnicC, &TForm1::GadnicCSprite);
}};
const TBossPhaseRowRegistrar kGadnicCRow{IsA<TGadnicCSprite>, 180, [](TForm1& F, TEnemySprite* O) {
    EndKingPhase(F, O, "TGadnicCSprite", CreateGadnicD, &TForm1::GadnicDSprite);
}};
const TBossPhaseRowRegistrar kGadnicDRow{IsA<TGadnicDSprite>, 200, [](TForm1& F, TEnemySprite* O) {
    EndKingPhase(F, O, "TGadnicDSprite", CreateGadnicE, &TForm1::GadnicESprite);
}};

const TRemovalRowRegistrar kGadnicRemoval{{GadnicAAttackName, &TForm1::GadnicASprite},
                                          {GadnicBAttackName, &TForm1::GadnicBSprite},
                                          {GadnicCAttackName, &TForm1::GadnicCSprite},
                                          {GadnicDAttackName, &TForm1::GadnicDSprite},
                                          {GadnicEAttackName, &TForm1::GadnicESprite}};

// Outlasting the king clears a normal game.
void CreateGameClear(TForm1& F) { new TGameClearSprite(F.SpriteEngine()); }
const TEnduranceRowRegistrar kGadnicEnduranceRow{
    {GadnicEAttackName, &TForm1::GadnicESprite, {}, 5000, 500, CreateGameClear}};

}  // namespace

bool GadnicGridAt(int32_t N, double& Column, double& Row) {
    for (const TGridStep& g : kGrid)
        if (g.N == N) {
            Column = g.Column;
            Row = g.Row;
            return true;
        }
    return false;
}

// ---- phase A ----

TGadnicASprite::TGadnicASprite(TSprite* Parent) : TBossSprite(Parent) {
    SetupImage(this, "衛兵ガドニック");
    X = 135;
    Y = 60;
    TForm1& f = FormOf(this);
    f.BossName = GadnicGuardName;
    f.AttackName = GadnicAAttackName;
    f.PhaseStarted("TGadnicASprite");
}

void TGadnicASprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& f = FormOf(this);
    int32_t& count = f.BossCounters[bcGadnicA];
    const int32_t n = ++count;
    TSprite* e = f.SpriteEngine();
    Sweep(e, n);
    if (n == kRingStep) {
        // Three scattered rings: 45 whole-radian directions at speeds 6, 5 and 4.
        for (int32_t d = 0; d <= 44; ++d) new TGadnicShotASprite(e, X + 15, Y + 15, d);
        for (int32_t d = 0; d <= 44; ++d) new TGadnicShotBSprite(e, X + 15, Y + 15, d);
        for (int32_t d = 0; d <= 44; ++d) new TGadnicShotCSprite(e, X + 15, Y + 15, d);
    }
    if (n == kGridCycle) count = 0;
}

// ---- phase B ----

TGadnicBSprite::TGadnicBSprite(TSprite* Parent) : TBossSprite(Parent) {
    SetupImage(this, "ガドニック");
    X = kKingX;
    Y = kKingY;
    TForm1& f = FormOf(this);
    f.BossName = GadnicKingName;
    f.AttackName = GadnicBAttackName;
    f.PhaseStarted("TGadnicBSprite");
}

void TGadnicBSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& f = FormOf(this);
    const int32_t n = ++f.BossCounters[bcGadnicB];
    TSprite* e = f.SpriteEngine();
    const double d = 31.0 * n, x = X + 30, y = Y + 30;
    // Faster bullets at the 100th and 200th hit.
    if (Life >= -99) {
        new TGadnicShotCSprite(e, x, y, d);
        new TGadnicShotCSprite(e, x, y, -d);
    } else if (Life >= -199) {
        new TGadnicShotBSprite(e, x, y, d);
        new TGadnicShotBSprite(e, x, y, -d);
    } else if (Life >= -299) {
        new TGadnicShotASprite(e, x, y, d);
        new TGadnicShotASprite(e, x, y, -d);
    }
}

// ---- phase C ----

TGadnicCSprite::TGadnicCSprite(TSprite* Parent) : TBossSprite(Parent) {
    SetupImage(this, "ガドニック");
    TForm1& f = FormOf(this);
    TakePlace(this, f.GadnicBSprite, kKingX, kKingY);
    f.AttackName = GadnicCAttackName;
    f.PhaseStarted("TGadnicCSprite");
}

void TGadnicCSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& f = FormOf(this);
    int32_t& count = f.BossCounters[bcGadnicC];
    const int32_t n = ++count;
    TSprite* e = f.SpriteEngine();
    Sweep(e, n);
    // A ring of 22 where the ship is now, bursting 85 steps later.
    if (n == kSignStep) Sign(e, f.ZikiX() + 10, f.ZikiY() + 10, 1);
    if (n == kGridCycle) count = 0;
}

// ---- phase D ----

TGadnicDSprite::TGadnicDSprite(TSprite* Parent) : TBossSprite(Parent) {
    SetupImage(this, "ガドニック");
    TForm1& f = FormOf(this);
    TakePlace(this, f.GadnicCSprite, kKingX, kKingY);
    f.AttackName = GadnicDAttackName;
    f.PhaseStarted("TGadnicDSprite");
}

void TGadnicDSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& f = FormOf(this);
    // Towards 35 pixels left of and above the hit box, one axis at a time: the second half
    // aims again from the new X.
    const double tx = f.HanteiX() - 35, ty = f.HanteiY() - 35;
    X = X + 2 * std::cos(std::atan2(ty - Y, tx - X));
    Y = Y + 2 * std::sin(std::atan2(ty - Y, tx - X));
    int32_t& count = f.BossCounters[bcGadnicD];
    const int32_t n = ++count;
    if (n == 31) {
        TSprite* e = f.SpriteEngine();
        Sign(e, X + 15, Y + 15, 0);
        Sign(e, X - 35, Y + 15, 0);
        Sign(e, X + 65, Y + 15, 0);
    }
    if (n == 60) count = 0;
}

// ---- phase E ----

TGadnicESprite::TGadnicESprite(TSprite* Parent) : TImageSpriteEx(Parent) {
    SetupImage(this, "ガドニック");
    X = kKingX;
    Y = kKingY;
    Alpha = 64;
    TForm1& f = FormOf(this);
    f.AttackName = GadnicEAttackName;
    f.TaikyuuMode = true;
    f.TaikyuuCount = 80;
    f.PhaseStarted("TGadnicESprite");
}

void TGadnicESprite::Step(int32_t MoveCount) {
    TImageSprite::Step(MoveCount);  // not an enemy: no end-of-game test
    TForm1& f = FormOf(this);
    int32_t& count = f.BossCounters[bcGadnicE];
    const int32_t n = ++count;
    TSprite* e = f.SpriteEngine();
    // Around the ship (not its hit box), where it is at this step.
    const double sx = f.ZikiX(), sy = f.ZikiY();
    auto row = [&] {
        Sign(e, sx - 50, sy, 0);
        Sign(e, sx, sy, 0);
        Sign(e, sx + 50, sy, 0);
        Sign(e, sx - 100, sy, 0);
        Sign(e, sx + 100, sy, 0);
    };
    switch (n) {
        case 21: case 61: case 101: case 141: case 181:
            row();
            break;
        case 251: case 301: case 341: case 371: case 391:
            row();
            Sign(e, sx, sy - 100, 0);
            Sign(e, sx, sy - 50, 0);
            Sign(e, sx, sy + 50, 0);
            Sign(e, sx, sy + 100, 0);
            break;
        case 530:
            // Five rings of 45 only in the second half of the countdown.
            if (f.TaikyuuCount < 40) Sign(e, sx, sy, 3);
            count = 0;
            break;
        default:
            if (n >= 401 && n <= 491 && (n - 401) % 10 == 0) Sign(e, sx, sy, 1);
            break;
    }
}

}  // namespace kv
