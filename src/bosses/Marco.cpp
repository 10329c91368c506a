#include "bosses/Marco.h"

#include "player/HitReactions.h"
#include "shell/GameSprite.h"
#include "shell/Rows.h"
#include "i18n/Tr.h"

namespace kv {

const char* const MarcoBossName = N_("防御兵マルコ");
const char* const MarcoAAttackName = N_("防壁「漆黒の城壁」");
const char* const MarcoBAttackName = N_("呪壁「轟く城壁」");
const char* const MarcoCAttackName = N_("魂弾「天地爆閃弾β」");

namespace {

// Where phase 2 stands; phase 3 takes its place.
constexpr double StandX = 130, StandY = 0;

// The phase sprite a reference names, or Fallback when that phase is gone (its bullets read
// the phase through the reference, not through themselves).
const TSprite* PhaseOr(const TSpriteRef<TSprite>& Ref, const TSprite* Fallback) {
    const TSprite* s = Ref.Get();
    return s ? s : Fallback;
}

void StarVolley(TMarcoASprite* Self, std::initializer_list<int32_t> Directions) {
    TForm1& F = FormOf(Self);
    const TSprite* o = PhaseOr(F.MarcoASprite, Self);
    for (int32_t d : Directions) new TMarcoAShotASprite(F.SpriteEngine(), o->X + 15, o->Y + 15, d);
}

// One bullet of each of the five ring classes, slowest last, each for every direction.
void FiveSpeedFan(TForm1& F, double X, double Y, std::initializer_list<int32_t> Directions) {
    TSprite* e = F.SpriteEngine();
    for (int32_t d : Directions) new TMarcoAShotBSprite(e, X, Y, d);
    for (int32_t d : Directions) new TMarcoAShotCSprite(e, X, Y, d);
    for (int32_t d : Directions) new TMarcoAShotDSprite(e, X, Y, d);
    for (int32_t d : Directions) new TMarcoAShotESprite(e, X, Y, d);
    for (int32_t d : Directions) new TMarcoAShotFSprite(e, X, Y, d);
}

// Phase 3's bullets start 20 pixels right of and below it.
void PhaseCOrigin(TForm1& F, double& X, double& Y) {
    if (const TSprite* c = F.MarcoCSprite.Get()) {
        X = c->X + 20;
        Y = c->Y + 20;
    } else {
        X = StandX + 20;
        Y = StandY + 20;
    }
}

}  // namespace

// ---- phase 1 ----

TMarcoASprite::TMarcoASprite(TSprite* Parent) : TBossSprite(Parent) {
    SetupImage(this, "マルコ");
    X = 130;
    Y = -60;
    TForm1& F = FormOf(this);
    F.BossName = MarcoBossName;
    F.AttackName = MarcoAAttackName;
    F.PhaseStarted("TMarcoASprite");
}

void TMarcoASprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& F = FormOf(this);
    if (Y < 0) Y = Y + 1;  // also while parked at -100
    int32_t& count = F.BossCounters[bcMarcoA];
    count = count + 1;
    switch (count) {
        case 30: StarVolley(this, {0}); break;
        case 80: StarVolley(this, {64}); break;
        case 130: StarVolley(this, {128}); break;
        case 180: StarVolley(this, {0, 64, 128}); break;
        case 200:
        case 300:
            X = -100;
            Y = -100;
            break;
        case 250:
        case 350:
            X = F.Random(260);
            Y = 0;
            break;
        case 270:
        case 370: StarVolley(this, {0, 64, 128}); break;
        case 400: count = 199; break;
        default: break;
    }
}

// ---- phase 2 ----

TMarcoBSprite::TMarcoBSprite(TSprite* Parent) : TBossSprite(Parent) {
    SetupImage(this, "マルコ");
    X = StandX;
    Y = StandY;
    TForm1& F = FormOf(this);
    F.AttackName = MarcoBAttackName;
    F.PhaseStarted("TMarcoBSprite");
}

void TMarcoBSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& F = FormOf(this);
    int32_t& count = F.BossCounters[bcMarcoB];
    count = count + 1;
    const TSprite* o = PhaseOr(F.MarcoBSprite, this);
    const double cx = o->X + 20, cy = o->Y + 20;
    switch (count) {
        case 1:  // the corner walls
            FiveSpeedFan(F, 0, 460, {208, 224, 240});
            FiveSpeedFan(F, 300, 460, {16, 32, 48});
            FiveSpeedFan(F, 0, 0, {144, 160, 176});
            FiveSpeedFan(F, 300, 0, {80, 96, 112});
            break;
        case 71:
        case 81:
        case 91:
        case 101:
            for (int32_t d : {112, 128, 144}) new TMarcoAShotBSprite(F.SpriteEngine(), cx, cy, d);
            break;
        case 111: FiveSpeedFan(F, cx, cy, {112, 128, 144}); break;
        case 121: count = 0; break;
        default: break;
    }
}

// ---- phase 3 ----

TMarcoCSprite::TMarcoCSprite(TSprite* Parent) : TImageSpriteEx(Parent) {
    SetupImage(this, "マルコ");
    TForm1& F = FormOf(this);
    if (const TSprite* b = F.MarcoBSprite.Get()) {
        X = b->X;
        Y = b->Y;
    } else {
        X = StandX;
        Y = StandY;
    }
    F.AttackName = MarcoCAttackName;
    Alpha = 96;
    F.TaikyuuMode = true;
    F.TaikyuuCount = 45;
    F.PhaseStarted("TMarcoCSprite");
}

void TMarcoCSprite::Step(int32_t MoveCount) {
    TImageSprite::Step(MoveCount);  // not an enemy: no end-of-game test
    TForm1& F = FormOf(this);
    int32_t& count = F.BossCounters[bcMarcoC];
    count = count + 1;
    if (count < 200) return;
    TSprite* e = F.SpriteEngine();
    if (count <= 310 && count % 10 == 0)
        for (int32_t d : {48, 80, 176, 208}) new TMarcoCShotDSprite(e, d);
    switch (count) {
        case 210: {
            double x, y;
            PhaseCOrigin(F, x, y);
            new TMarcoCShotASprite(e, x, y);
            new TMarcoCShotBSprite(e, x, y);
            new TMarcoCShotCSprite(e, x, y);
            break;
        }
        case 240:
            if (F.TaikyuuCount < 30)
                for (int32_t d = 0; d <= 44; d += 2) new TMarcoCShotGSprite(e, d);
            break;
        case 260:
            if (F.TaikyuuCount < 10)
                for (int32_t d = 1; d <= 43; d += 2) new TMarcoCShotGSprite(e, d);
            break;
        case 319: count = 199; break;
        default: break;
    }
}

// ---- the star ----

TMarcoAShotASprite::TMarcoAShotASprite(TSprite* Parent, double AX, double AY, int32_t Direction)
    : TTamaSprite(Parent) {
    SetupImage(this, "Star1-1");
    X = AX;
    Y = AY;
    Angle = Direction;
}

void TMarcoAShotASprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    bool burst = false;
    switch (Angle) {
        case 0:
            X = X - 2.8;
            Y = Y + 2.8;
            burst = Y > 100;
            break;
        case 64:
            Y = Y + 5;
            burst = Y > 120;
            break;
        case 128:
            X = X + 2.8;
            Y = Y + 2.8;
            burst = Y > 100;
            break;
        default: return;  // never moves, never bursts
    }
    if (!burst) return;
    TSprite* e = FormOf(this).SpriteEngine();
    const double px = X + 5, py = Y + 5;
    for (int32_t d = 0; d < 256; d += 16) new TMarcoAShotBSprite(e, px, py, d);
    for (int32_t d = 0; d < 256; d += 16) new TMarcoAShotCSprite(e, px, py, d);
    for (int32_t d = 0; d < 256; d += 16) new TMarcoAShotDSprite(e, px, py, d);
    Kill();
}

// ---- ring bullets ----

TMarcoRingShotSprite::TMarcoRingShotSprite(TSprite* Parent, const char* Picture, const TRingSpeeds& Speeds,
                                           double AX, double AY, int32_t Direction)
    : TTamaSprite(Parent), Speeds_(Speeds) {
    SetupImage(this, Picture);
    X = AX;
    Y = AY;
    Angle = Direction;
}

void TMarcoRingShotSprite::StepFor(const TRingSpeeds& V, int32_t A, double& DX, double& DY) {
    DX = 0;
    DY = 0;
    if (A < 0 || A > 240 || A % 16 != 0) return;
    // The first quarter turn (up towards left); the other three are it turned by 90° steps.
    const double qx[4] = {0, -V.p, -V.d, -V.q};
    const double qy[4] = {-V.S, -V.q, -V.d, -V.p};
    const int k = A / 16, quarter = k / 4, i = k % 4;
    double x = qx[i], y = qy[i];
    for (int r = 0; r < quarter; ++r) {  // a quarter turn counter-clockwise on screen: (x, y) -> (y, -x)
        const double t = x;
        x = y;
        y = -t;
    }
    DX = x + 0.0;  // no negative zero
    DY = y + 0.0;
}

void TMarcoRingShotSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    double dx, dy;
    StepFor(Speeds_, Angle, dx, dy);
    X = X + dx;
    Y = Y + dy;
    if (X < -20 || X > 320 || Y < -20 || Y > 480) Kill();
}

TMarcoAShotBSprite::TMarcoAShotBSprite(TSprite* P, double AX, double AY, int32_t D)
    : TMarcoRingShotSprite(P, "Bullet1", Speeds, AX, AY, D) {}
TMarcoAShotCSprite::TMarcoAShotCSprite(TSprite* P, double AX, double AY, int32_t D)
    : TMarcoRingShotSprite(P, "Bullet2", Speeds, AX, AY, D) {}
TMarcoAShotDSprite::TMarcoAShotDSprite(TSprite* P, double AX, double AY, int32_t D)
    : TMarcoRingShotSprite(P, "Bullet3", Speeds, AX, AY, D) {}
TMarcoAShotESprite::TMarcoAShotESprite(TSprite* P, double AX, double AY, int32_t D)
    : TMarcoRingShotSprite(P, "Bullet4", Speeds, AX, AY, D) {}
TMarcoAShotFSprite::TMarcoAShotFSprite(TSprite* P, double AX, double AY, int32_t D)
    : TMarcoRingShotSprite(P, "Bullet5", Speeds, AX, AY, D) {}

// ---- straight bullets ----

TMarcoCShotESprite::TMarcoCShotESprite(TSprite* P, double AX, double AY) : TMarcoStraightShotSprite(P, "Bullet1", -20) {
    X = AX;
    Y = AY;
    AimAtHitBox(-10, -200, 7);
}
TMarcoCShotFSprite::TMarcoCShotFSprite(TSprite* P, double AX, double AY) : TMarcoStraightShotSprite(P, "Bullet1", -20) {
    X = AX;
    Y = AY;
    AimAtHitBox(-10, 200, 7);
}

TMarcoCShotGSprite::TMarcoCShotGSprite(TSprite* P, int32_t ADirection) : TMarcoStraightShotSprite(P, "Bullet2", -20) {
    double x, y;
    PhaseCOrigin(FormOf(this), x, y);
    X = x;
    Y = y;
    SetCourse(ADirection, 4);
}

// ---- the side bullet ----

TMarcoCShotDSprite::TMarcoCShotDSprite(TSprite* Parent, int32_t Direction) : TTamaSprite(Parent) {
    SetupImage(this, "Bullet1");
    double x, y;
    PhaseCOrigin(FormOf(this), x, y);
    X = x;
    Y = y;
    Angle = Direction;
}

void TMarcoCShotDSprite::Step(int32_t MoveCount) {
    TTamaSprite::Step(MoveCount);
    TSprite* e = FormOf(this).SpriteEngine();
    switch (Angle) {
        case 48:
            X = X + 5;
            if (X > 295) {
                TurnX_ = X;
                TurnY_ = Y;
                Kill();
                new TMarcoCShotESprite(e, TurnX_, TurnY_);
            }
            break;
        case 80:
            X = X + 5;
            Y = Y + 2;
            if (X > 295) {
                TurnX_ = X;
                TurnY_ = Y;
                Kill();
                new TMarcoCShotFSprite(e, TurnX_, TurnY_);
            }
            break;
        case 176:
            X = X - 5;
            Y = Y + 2;
            if (X < 25) {
                TurnX_ = X;
                TurnY_ = Y;
                Kill();
                new TMarcoCShotFSprite(e, TurnX_, TurnY_);
            }
            break;
        case 208:
            X = X - 5;
            if (X < 25) {
                TurnX_ = X;
                TurnY_ = Y;
                Kill();
                new TMarcoCShotESprite(e, TurnX_, TurnY_);
            }
            break;
        default: break;
    }
    if (X < -30 || Y < -30 || X > 320 || Y > 480) Kill();
}

// ---- rows ----

namespace {

TSprite* CreateMarcoB(TForm1& F) { return new TMarcoBSprite(F.SpriteEngine()); }

const TBossPhaseRowRegistrar MarcoARow{IsA<TMarcoASprite>, 100, [](TForm1& F, TEnemySprite* O) {
    RunPhaseEnd(F, O, {"TMarcoASprite", {{TItemKind::HP, 10, 15}}, CreateMarcoB, &TForm1::MarcoBSprite, 100, 1500});
}};

// Phase 2 pays its bonus before phase 3 begins.
const TBossPhaseRowRegistrar MarcoBRow{IsA<TMarcoBSprite>, 150, [](TForm1& F, TEnemySprite* O) {
    DropItems(F, O, {{TItemKind::Bomb, 20, 20}});
    F.PlaySound("Dead");
    O->Kill();
    AddPhaseBonus(F, "TMarcoBSprite", 100, 1800);
    StoreNextPhase(F, &TForm1::MarcoCSprite, new TMarcoCSprite(F.SpriteEngine()));
}};

const TRemovalRowRegistrar MarcoRemovalRows{
    {MarcoAAttackName, &TForm1::MarcoASprite},
    {MarcoBAttackName, &TForm1::MarcoBSprite},
    {MarcoCAttackName, &TForm1::MarcoCSprite},
};

}  // namespace

}  // namespace kv
