#include "bosses/ROne.h"

#include <array>

#include "player/HitReactions.h"
#include "shell/GameSprite.h"
#include "shell/Rows.h"
#include "i18n/Tr.h"

namespace kv {

const char* const ROneBossName = N_("迎撃兵R-1");
const char* const ROneAAttackName = N_("輝式「光閃の守護」");
const char* const ROneBAttackName = N_("魂弾「天地爆閃弾α」");

namespace {

// Per-frame moves by direction, in the order 0, 32, …, 224 (triples) or 16, 48, …, 240 (ring).
struct TMove {
    double DX, DY;
};
constexpr std::array<TMove, 8> TripleMoves(double Axis, double Diag) {
    return {{{0, -Axis}, {-Diag, -Diag}, {-Axis, 0}, {-Diag, Diag}, {0, Axis}, {Diag, Diag}, {Axis, 0}, {Diag, -Diag}}};
}
constexpr std::array<TMove, 8> kMovesA = TripleMoves(5, 3.2);
constexpr std::array<TMove, 8> kMovesB = TripleMoves(4, 2.8);
constexpr std::array<TMove, 8> kMovesC = TripleMoves(3, 2.5);
constexpr std::array<TMove, 8> kMovesD = {
    {{-1.25, -3.75}, {-3.75, -1.25}, {-3.75, 1.25}, {-1.25, 3.75}, {1.25, 3.75}, {3.75, 1.25}, {3.75, -1.25}, {1.25, -3.75}}};

// The phase the bullets come from; empty only if that phase was never stored.
TSprite* Origin(TForm1& F) { return F.ROneDown ? F.ROneBSprite.Get() : F.ROneASprite.Get(); }

void Place(TImageSpriteEx* Shot, const char* Picture, int32_t Direction, double Offset) {
    SetupImage(Shot, Picture);
    Shot->Angle = Direction;
    if (TSprite* o = Origin(FormOf(Shot))) {
        Shot->X = o->X + Offset;
        Shot->Y = o->Y + Offset;
    } else {
        Shot->Kill();  // nothing to fire from
    }
}

// Moves by the row of the bullet's Angle (First is the direction of row 0), then leaves
// past the margin L above or left, or past the right or bottom edge.
void Fly(TImageSpriteEx* Shot, const std::array<TMove, 8>& Moves, int32_t First, double L) {
    const int32_t a = Shot->Angle - First;
    if (a >= 0 && a < 256 && a % 32 == 0) {
        Shot->X += Moves[a / 32].DX;
        Shot->Y += Moves[a / 32].DY;
    }
    if (Shot->X < L || Shot->X > 320 || Shot->Y < L || Shot->Y > 480) Shot->Kill();
}

void Triple(TSprite* Parent, int32_t Direction) {
    new TROneAShotASprite(Parent, Direction);
    new TROneAShotBSprite(Parent, Direction);
    new TROneAShotCSprite(Parent, Direction);
}

void Ring(TSprite* Parent) {
    for (int32_t d = 16; d < 256; d += 32) new TROneAShotDSprite(Parent, d);
}

// One count of the 130-frame cycle. Jump(C) runs before the volley of count C and on count
// 130: the first phase only follows the ship there, the endurance phase also jumps before
// some volleys.
template <class FJump>
void Cycle(TSprite* Phase, int32_t C, FJump&& Jump) {
    if (C > 130) return;
    if (C <= 76 && (C - 1) % 5 == 0) {
        Jump(C);
        Triple(Phase->Engine, 32 * (((C - 1) / 5) % 8));
    } else if (C >= 81 && C <= 126 && (C - 81) % 5 == 0) {
        Jump(C);
        Ring(Phase->Engine);
    } else if (C == 130) {
        Jump(C);
    }
}

TSprite* CreateROneB(TForm1& F) { return new TROneBSprite(F.SpriteEngine()); }

// The 200th hit ends the first phase: an HP item, the endurance phase, 100 × HP + 1000.
const TBossPhaseRowRegistrar kROneARow{IsA<TROneASprite>, 200, [](TForm1& F, TEnemySprite* O) {
                                           RunPhaseEnd(F, O,
                                                       {"TROneASprite",
                                                        {{TItemKind::HP, 15, 15}},
                                                        CreateROneB,
                                                        &TForm1::ROneBSprite,
                                                        100,
                                                        1000,
                                                        [](TForm1& F) { F.ROneDown = true; }});
                                       }};

const TRemovalRowRegistrar kROneRemoval{{ROneAAttackName, &TForm1::ROneASprite},
                                        {ROneBAttackName, &TForm1::ROneBSprite}};

}  // namespace

TROneASprite::TROneASprite(TSprite* Parent) : TROneSprite(Parent) {
    SetupImage(this, "アールワン");
    X = 135;
    Y = -50;
    TForm1& f = FormOf(this);
    f.BossName = ROneBossName;
    f.AttackName = ROneAAttackName;
    f.PhaseStarted("TROneASprite");
}

void TROneASprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    if (Y >= 60)
        Angle -= 7;
    else
        Y += 1;
    TForm1& f = FormOf(this);
    int32_t& count = f.BossCounters[bcROneA];
    const int32_t c = ++count;
    Cycle(this, c, [&](int32_t C) {
        if (C != 130) return;
        X = f.ZikiX();  // jump above the ship
        count = 0;
    });
}

TROneBSprite::TROneBSprite(TSprite* Parent) : TImageSpriteEx(Parent) {
    SetupImage(this, "アールワン");
    TForm1& f = FormOf(this);
    // The first phase is killed in the same call but not freed yet.
    if (TSprite* a = f.ROneASprite.Get()) {
        X = a->X;
        Y = a->Y;
    } else {
        X = 135;
        Y = 60;
    }
    Alpha = 96;
    f.AttackName = ROneBAttackName;
    f.TaikyuuMode = true;
    f.TaikyuuCount = 40;
    f.PhaseStarted("TROneBSprite");
}

void TROneBSprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    TForm1& f = FormOf(this);
    int32_t& count = f.BossCounters[bcROneB];
    const int32_t c = ++count;
    Angle += 13;
    Cycle(this, c, [&](int32_t C) {
        if (C == 41 || C == 81 || C == 106 || C == 130) X = f.Random(270);
        if (C == 130) count = 0;
    });
}

TROneAShotASprite::TROneAShotASprite(TSprite* Parent, int32_t Direction) : TTamaSprite(Parent) {
    Place(this, "Ring1", Direction, 10);
}
void TROneAShotASprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    Fly(this, kMovesA, 0, -30);
}

TROneAShotBSprite::TROneAShotBSprite(TSprite* Parent, int32_t Direction) : TTamaSprite(Parent) {
    Place(this, "Ring2", Direction, 10);
}
void TROneAShotBSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    Fly(this, kMovesB, 0, -30);
}

TROneAShotCSprite::TROneAShotCSprite(TSprite* Parent, int32_t Direction) : TTamaSprite(Parent) {
    Place(this, "Ring3", Direction, 10);
}
void TROneAShotCSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    Fly(this, kMovesC, 0, -30);
}

TROneAShotDSprite::TROneAShotDSprite(TSprite* Parent, int32_t Direction) : TTamaSprite(Parent) {
    Place(this, FormOf(this).ROneDown ? "Bullet1" : "Bullet2", Direction, 15);
}
void TROneAShotDSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    Fly(this, kMovesD, 16, -20);
}

}  // namespace kv
