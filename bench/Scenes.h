#pragma once
// Scenes shared by the benchmark programs.
#include <cstdint>

#include "player/Play.h"
#include "player/Shots.h"
#include "support/World.h"

namespace kvbench {

// 5,000 standing bullets, ten of the player's shots on their way up, and a bomb's two barriers
// erasing bullets around the hit box: every shot, barrier and the hit box walk the whole field.
// The slowest of the shots leaves the field after 36 frames.
inline constexpr int BulletFieldFrames = 36;
// The 5,000 bullets alone, at the same places every run, in a game that plays.
inline void StandingBullets(kvtest::TWorld& w) {
    kvtest::StartPlaying(w);
    uint32_t r = 12345;
    auto next = [&r](int Range) {
        r = r * 1103515245u + 12345u;
        return static_cast<double>((r >> 8) % static_cast<uint32_t>(Range));
    };
    for (int i = 0; i < 5000; ++i) kvtest::StandingBullet(w, next(311), next(400));
}
inline void BulletField(kvtest::TWorld& w) {
    StandingBullets(w);
    const int32_t spread[] = {0, 6, 11, 13, 18, 24};
    for (int i = 0; i < 10; ++i) new kv::TShotASprite(w.E(), spread[i % 6]);
    w.Press(kv::isButton2);
    w.Frame();
    w.Release(kv::isButton2);
}

}  // namespace kvbench
