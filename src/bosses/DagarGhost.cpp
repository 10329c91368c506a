// Dagar's endurance phase: the boss fades out, the ghost fades in and runs its timeline.
#include "bosses/Dagar.h"
#include "bosses/DagarShots.h"
#include "shell/GameSprite.h"

namespace kv {

namespace {

// Pictures of a spoke by ascending radius, from Radius 40 on.
constexpr int32_t kSpokeNumbers[4] = {3, 2, 1, 2};

}  // namespace

void TDagarFSprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    TForm1& F = FormOf(this);
    int32_t& count = F.BossCounters[bcDagarF];
    const int32_t n = ++count;
    if (!GhostMode) {
        Alpha = Alpha - 1;
        if (Alpha <= 0) {
            GhostMode = true;
            X = 0;
            Y = 0;
            SetupImage(this, "Ghost");
        }
        return;
    }
    if (Alpha < 128) {
        Alpha = Alpha + 2;
        if (Alpha >= 128) count = 0;  // the attack counts from 1 on the next step
        return;
    }

    // The ghost never moves; its emitters sit at fixed places on the playfield.
    TSpriteEngine* e = F.SpriteEngine();
    if (n >= 1 && n <= 299) {
        DagarShotC(this, X + 35, Y + 25, n, 2);
        DagarShotC(this, X + 95, Y + 25, -n, 2);
        DagarShotC(this, X + 155, Y + 25, n, 2);
        DagarShotC(this, X + 215, Y + 25, -n, 2);
        DagarShotC(this, X + 275, Y + 25, n, 2);
    }
    if (n >= 551 && n <= 1399) {
        const double x = X + 155, y = Y + 235, d = 3.0 * n;
        new TDagarShotCSprite(e, x, y, d, 2, 1);
        new TDagarShotCSprite(e, x, y, d - 360, 2, 2);
        new TDagarShotCSprite(e, x, y, d - 720, 2, 3);
        if (n > 700) new TDagarShotCSprite(e, x, y, d - 1080, 2, 2);
        if (n > 900) new TDagarShotCSprite(e, x, y, d - 1440, 2, 1);
    }
    if (n >= 1451 && n <= 2999) {
        // A converging spoke along the ray of direction 33n; it grows longer late in the attack.
        const double cx = X + 155, cy = Y + 235, d = 33.0 * n;
        int32_t last = 120;
        if (n > 2000) {
            F.TaikyuuMode = true;  // the countdown starts here, at 99
            last = 160;
        }
        if (n > 2500) last = 200;
        for (int32_t r = 40, k = 0; r <= last; r += 5, ++k)
            new TDagarShotESprite(e, cx, cy, r, d, 3, kSpokeNumbers[k % 4]);
    }
    if (n == 100)
        for (int32_t i = 1; i <= 45; ++i) new TDagarShotDSprite(e, X + 150, Y + 80, i, 2.5, 1);
    if (n == 200)
        for (int32_t i = 1; i <= 45; ++i) {
            new TDagarShotDSprite(e, X + 93.3, Y + 80, i, 2, 2);
            new TDagarShotDSprite(e, X + 93.3, Y + 80, i, 2.5, 3);
            new TDagarShotDSprite(e, X + 206.6, Y + 80, i, 2, 2);
            new TDagarShotDSprite(e, X + 206.6, Y + 80, i, 2.5, 3);
        }
    if (n == 300)
        for (int32_t i = 1; i <= 45; ++i)
            for (double x : {65.0, 150.0, 235.0}) {
                new TDagarShotDSprite(e, X + x, Y + 80, i, 2, 1);
                new TDagarShotDSprite(e, X + x, Y + 80, i, 2.5, 2);
                new TDagarShotDSprite(e, X + x, Y + 80, i, 3, 3);
            }
}

}  // namespace kv
