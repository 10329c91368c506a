// Dagar's phases D and E: the big bursts and the laser grid, each on a 120-step cycle.
#include "bosses/Dagar.h"
#include "bosses/DagarShots.h"
#include "bullets/Laser.h"

namespace kv {

namespace {

struct TShotKind {
    double Speed;
    int32_t Number;
};

constexpr TShotKind kDBurst[9] = {{1.5, 3}, {1.75, 2}, {2, 1}, {2.25, 2}, {2.5, 3},
                                  {2.75, 2}, {3, 1}, {3.25, 2}, {3.5, 3}};
constexpr TShotKind kEBurst[5] = {{2, 1}, {2.25, 2}, {2.5, 3}, {2.75, 2}, {3, 1}};
constexpr TShotKind kESlow[4] = {{1, 1}, {1.25, 2}, {1.5, 3}, {1.75, 2}};
constexpr TShotKind kEFast[4] = {{4, 1}, {3.25, 2}, {3.5, 3}, {3.75, 2}};

template <size_t N>
void ShotsC(TSpriteEngine* E, double X, double Y, double Direction, const TShotKind (&Kinds)[N]) {
    for (const TShotKind& k : Kinds) new TDagarShotCSprite(E, X, Y, Direction, k.Speed, k.Number);
}

}  // namespace

void TDagarDSprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& F = FormOf(this);
    int32_t& count = F.BossCounters[bcDagarD];
    const int32_t n = ++count;
    if (n == 1) {
        TSpriteEngine* e = F.SpriteEngine();
        for (int32_t i = 1; i <= 45; ++i)
            for (const TShotKind& k : kDBurst) new TDagarShotDSprite(e, X + 30, Y + 20, i, k.Speed, k.Number);
    }
    if (n == 120) count = 0;
    // The stream also fires on the reset step, with direction 0.
    const double direction = 9.0 * count;
    const double x = X + 35, y = Y + 25;
    if (Life > -150) {
        DagarShotC(this, x, y, direction, 1.5);
    } else if (Life > -400) {
        DagarShotC(this, x, y, direction, 1.5);
        DagarShotC(this, x, y, direction, 1);
    } else {
        DagarShotC(this, x, y, direction, 1);
        DagarShotC(this, x, y, direction, 1.5);
        DagarShotC(this, x, y, direction, 2);
    }
}

void TDagarESprite::Step(int32_t MoveCount) {
    TEnemySprite::Step(MoveCount);
    TForm1& F = FormOf(this);
    TSpriteEngine* e = F.SpriteEngine();
    int32_t& count = F.BossCounters[bcDagarE];
    const int32_t n = ++count;
    if (n == 1) {
        // 900 bullets; 1620 from the 301st hit; 2340 from the 501st.
        const double left = X, right = X + 70, y = Y + 25;
        for (int32_t i = 1; i <= 90; ++i) {
            ShotsC(e, left, y, i, kEBurst);
            ShotsC(e, right, y, i, kEBurst);
            if (Life < -300) {
                ShotsC(e, left, y, i, kESlow);
                ShotsC(e, right, y, i, kESlow);
            }
            if (Life < -500) {
                ShotsC(e, left, y, i, kEFast);
                ShotsC(e, right, y, i, kEFast);
            }
        }
    }
    if (n == 40) {
        for (int32_t column = 0; column <= 300; column += 30) new TlazerASprite(e, column, -480, "青", "縦");
        for (int32_t row = 0; row <= 450; row += 30) new TlazerASprite(e, -480, row, "赤", "左右");
    }
    if (n == 120) count = 0;
}

}  // namespace kv
