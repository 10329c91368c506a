// Dagar's phase set-up and the first three phases fought: A, C and B.
#include "bosses/Dagar.h"

#include "bosses/DagarShots.h"
#include "shell/GameSprite.h"
#include "i18n/Tr.h"

namespace kv {

const char* const DagarBossName = N_("モーリア・ダガー");
const char* const DagarGhostName = N_("？？？");

namespace {

// Every phase appears at (120, 80) with the Dagar picture; none takes over its predecessor's place.
void SetUpPhase(TImageSpriteEx* Phase, int32_t Alpha, const char* BossName, const char* AttackName,
                const char* ClassName) {
    SetupImage(Phase, "ダガー");
    Phase->X = 120;
    Phase->Y = 80;
    Phase->Alpha = Alpha;
    TForm1& F = FormOf(Phase);
    F.BossName = BossName;
    F.AttackName = AttackName;
    F.PhaseStarted(ClassName);
}

}  // namespace

TDagarShotCSprite* DagarShotC(TSprite* Phase, double X, double Y, double Direction, double Speed) {
    TForm1& F = FormOf(Phase);
    const int32_t number = F.Random(3) + 1;
    return new TDagarShotCSprite(F.SpriteEngine(), X, Y, Direction, Speed, number);
}

TDagarASprite::TDagarASprite(TSprite* Parent) : TBossSprite(Parent) {
    SetUpPhase(this, 0, DagarBossName, N_("怨弾「天地爆閃・其の壱」"), "TDagarASprite");
}

TDagarCSprite::TDagarCSprite(TSprite* Parent) : TBossSprite(Parent) {
    SetUpPhase(this, 255, DagarBossName, N_("怨弾「天地爆閃・其の弐」"), "TDagarCSprite");
}

TDagarBSprite::TDagarBSprite(TSprite* Parent) : TBossSprite(Parent) {
    SetUpPhase(this, 255, DagarBossName, N_("怨弾「天地爆閃・其の参」"), "TDagarBSprite");
}

TDagarDSprite::TDagarDSprite(TSprite* Parent) : TBossSprite(Parent) {
    SetUpPhase(this, 255, DagarBossName, N_("怨槌「天地暴砕砲」"), "TDagarDSprite");
}

TDagarESprite::TDagarESprite(TSprite* Parent) : TBossSprite(Parent) {
    SetUpPhase(this, 255, DagarBossName, N_("怨刀「天地裂斬砲」"), "TDagarESprite");
}

TDagarFSprite::TDagarFSprite(TSprite* Parent) : TImageSpriteEx(Parent) {
    GhostMode = false;
    // Shows 99 from the start; the countdown itself is started later by the ghost's timeline.
    FormOf(this).TaikyuuCount = 99;
    SetUpPhase(this, 255, DagarGhostName, N_("「天地爆閃砲」"), "TDagarFSprite");
}

// ---- A: a 50-step cycle of rings, then a jump ----

void TDagarASprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& F = FormOf(this);
    if (Alpha < 255) Alpha = Alpha + 1;  // can be hit while still transparent
    const int32_t n = ++F.BossCounters[bcDagarA];
    if (n == 20) {
        TSpriteEngine* e = F.SpriteEngine();
        const double x = X + 35, y = Y + 25;
        for (int32_t i = 1; i <= 22; ++i) {
            new TDagarShotASprite(e, x, y, i, 1.5, 1);
            new TDagarShotASprite(e, x, y, i, 2, 2);
            new TDagarShotASprite(e, x, y, i, 2.5, 3);
            new TDagarShotASprite(e, x, y, i, 3, 4);
            if (Life < -200) new TDagarShotASprite(e, x, y, i, 3.5, 1);
            if (Life < -400) new TDagarShotASprite(e, x, y, i, 4, 2);
        }
    }
    if (n == 50) {
        X = F.Random(240);
        F.BossCounters[bcDagarA] = 0;
    }
}

// ---- C: two counter-rotating streams, a 750-step cycle of five tempos ----

void TDagarCSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& F = FormOf(this);
    int32_t& count = F.BossCounters[bcDagarC];
    const int32_t n = ++count;
    if (n == 755) {
        count = 5;
        return;
    }
    double k = 0, speed = 0;
    if (n >= 5 && n <= 154) {
        k = 1.7;
        speed = 1.5;
    } else if (n >= 155 && n <= 304) {
        k = 2.3;
        speed = 2.5;
    } else if (n >= 305 && n <= 454) {
        k = 1.9;
        speed = 3.5;
    } else if (n >= 455 && n <= 604) {
        k = 5.9;
        speed = 2.5;
    } else if (n >= 605 && n <= 754) {
        k = 7.3;
        speed = 2;
    } else {
        return;  // the first four steps are quiet
    }
    DagarShotC(this, X + 35, Y + 25, k * n, speed);
    DagarShotC(this, X + 35, Y + 25, -k * n, speed);
}

// ---- B: three-way streams in a rhythm set by the damage, and the rebounding salvo ----

namespace {

struct TRebound {
    double DX, DY, AimX, AimY;
    int32_t Number;
};
// The sideways course and the aim offset from the hit box, in firing order.
constexpr TRebound kSalvo[18] = {
    {3, 1, 0, -80, 1},      {-3, 1, 0, -80, 1},     {4, 0.5, 60, 0, 2},     {-4, 0.5, -60, 0, 2},
    {5, 0, 80, 0, 3},       {-5, 0, -80, 0, 3},     {3.5, -1, 0, -120, 1},  {-3.5, -1, 0, -120, 1},
    {4.5, -0.5, 100, 0, 2}, {-4.5, -0.5, -100, 0, 2}, {5.5, -2, 140, 0, 3}, {-5.5, -2, -140, 0, 3},
    {2.5, 3, 0, -100, 2},   {-2.5, 3, 0, -100, 2},  {6.5, 4, 150, 0, 1},    {-6.5, 4, -150, 0, 1},
    {7.5, 6, 0, -250, 3},   {-7.5, 6, 0, -250, 3},
};

}  // namespace

void TDagarBSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& F = FormOf(this);
    TSpriteEngine* e = F.SpriteEngine();
    int32_t& count = F.BossCounters[bcDagarB];
    count = count + 1;
    Turn = Turn + 1;
    Volley = Volley + 1;
    const double x = X + 35, y = Y + 25;
    auto volley = [&](int32_t K) {
        new TDagarShotCSprite(e, x, y, Turn, 2, K);
        new TDagarShotCSprite(e, x, y, Turn - 180, 2, K);
        new TDagarShotCSprite(e, x, y, Turn - 360, 2, K);
    };
    switch (Volley) {
        case 2:
            volley(1);
            if (Life >= -300) Volley = 0;
            break;
        case 3:
            if (Life < -600) volley(2);
            break;
        case 4:
            volley(3);
            if (-600 < Life && Life < -300) Volley = 0;
            if (Life <= -600) Volley = 1;
            break;
        default:
            break;
    }
    if (count == 3)
        for (const TRebound& r : kSalvo) new TDagarShotBSprite(e, x, y, r.DX, r.DY, r.AimX, r.AimY, 3, r.Number);
    if (count == 4) count = 1;
}

}  // namespace kv
