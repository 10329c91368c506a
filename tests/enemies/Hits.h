#pragma once
// Hits by the player's real shots, without flying them there: each hit is one new shot's
// reaction to the target, as the collision walk would report it.
#include "player/Shots.h"
#include "player/Ship.h"
#include "support/World.h"

namespace kvtest {

inline void HitWithShots(TWorld& w, kv::TSprite* Target, int Times) {
    if (!w.F().ZikiSprite) w.F().ZikiSprite = new kv::TZikiSprite(w.E());
    for (int i = 0; i < Times; ++i) {
        auto* shot = new kv::TShotASprite(w.E(), 11);
        bool done = false;
        shot->OnHit(Target, done);
    }
}

}  // namespace kvtest
