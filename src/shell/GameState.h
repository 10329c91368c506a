#pragma once
// The game's global state: what the game code reads and writes between its sprites. It is one
// object so that a snapshot copies all of it (a field added here is copied with the rest).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ImageSprite.h"
#include "engine/Sprite.h"

namespace kv {

// Indices of the 20 boss phase counters, in their order.
enum TBossCounter : int32_t {
    bcROneA, bcROneB, bcMarcoA, bcMarcoB, bcMarcoC, bcVelusA, bcVelusB, bcVelusC, bcVelusD,
    bcGadnicA, bcGadnicB, bcGadnicC, bcGadnicD, bcGadnicE,
    bcDagarA, bcDagarB, bcDagarC, bcDagarD, bcDagarE, bcDagarF,
    BossCounterCount
};

struct TGameState {
    TSpriteRef<TImageSpriteEx> TitleSprite;
    TSpriteRef<TImageSpriteEx> ZikiSprite;
    TSpriteRef<TImageSpriteEx> ZikiHanteiSprite;
    TSpriteRef<TSprite> ROneASprite, ROneBSprite, MarcoASprite, MarcoBSprite, MarcoCSprite, VelusASprite,
        VelusBSprite, VelusCSprite, VelusDSprite, GadnicFadeSprite, GEFadeSprite, GadnicASprite,
        GadnicBSprite, GadnicCSprite, GadnicDSprite, GadnicESprite, DagarASprite, DagarBSprite,
        DagarCSprite, DagarDSprite, DagarESprite, DagarFSprite;
    int32_t StageNo = 0;
    int32_t StageCount = 0;
    bool Playing = false;
    bool HudOn = false;
    int32_t Score = 0;
    int32_t HighScore = 0;
    std::string HighScoreName, HighScoreComment;  // UTF-8 in memory
    std::vector<std::string> ScoreLines;
    bool ScoreLinesCreated = false;
    int32_t ExtraOpen = 0;
    int32_t HP = 0;
    int32_t Bomb = 0;
    std::string BossName, AttackName;
    bool TaikyuuMode = false;
    int32_t TaikyuuCount = 0;
    bool MutekiMode = false;
    int32_t MutekiCount = 0;
    bool BombActive = false;
    int32_t KekkaiCount = 0;
    bool ROneDown = false;
    bool NameEntry = false;
    bool ResetDone = false;
    int32_t GameNo = 0;  // raised by every game start
    std::array<int32_t, BossCounterCount> BossCounters{};
    int32_t ZakoAACount = 0, ZakoABCount = 0, ZakoACCount = 0;
    // The eight frame counters of the Zako B and C classes, zeroed together by Shokika.
    std::array<int32_t, 8> ZakoBCCounts{};
    int32_t ShotCount = 0;  // the ship's fire cadence; never reset
    bool Invincible = false;  // testing aid (--invincible): the hit box takes no damage
    bool Practice = false;    // a practice game (--practice): its score is never recorded
    bool WatchingReplay = false;  // a saved replay plays: Score.dtf is never written
    int32_t GameOverCount = 0, GameClearCount = 0;

    // Last position of the hit box and ship, for code that aims after they were freed.
    double LastZikiX = 135, LastZikiY = 430, LastHanteiX = 156, LastHanteiY = 430;
    // The music: the track playing and the frame it started on (its position).
    std::string MediaFileName;  // the player's current FileName
    int64_t MusicStartFrame = 0;
};

}  // namespace kv
