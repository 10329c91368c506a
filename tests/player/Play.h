#pragma once
// Test helpers: a game in progress without a stage script, and bits of the scene placed by hand.
#include <string>
#include <vector>

#include "enemies/ZakoA.h"
#include "player/HitBox.h"
#include "player/Ship.h"
#include "shell/GameSprite.h"
#include "support/World.h"

namespace kvtest {

// The globals a game start sets, with the ship at (135, 430) and its hit box at (156, 430).
inline void StartPlaying(TWorld& w) {
    kv::TForm1& F = w.F();
    F.Playing = true;
    F.HudOn = true;
    F.ResetDone = false;
    F.HP = 10;
    F.Bomb = 3;
    F.ZikiSprite = new kv::TZikiSprite(w.E());
    F.ZikiHanteiSprite = new kv::TZikiHanteiSprite(w.E());
}

// A bullet that stands where it is put (no row of its table matches the direction).
inline kv::TZakoAShotASprite* StandingBullet(TWorld& w, double X, double Y) {
    return new kv::TZakoAShotASprite(w.E(), X, Y, 99);
}

inline std::vector<std::string> Events(TWorld& w, const std::string& Name) {
    std::vector<std::string> out;
    for (const std::string& l : w.F().Log.Lines())
        if (l.find("\"event\":\"" + Name + "\"") != std::string::npos) out.push_back(l);
    return out;
}

}  // namespace kvtest
