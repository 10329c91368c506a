#pragma once
// The invisible sprite that drives a stage: it counts frames in StageCount and performs the
// stage's timeline entries on their exact frames.
#include <cstdint>
#include <span>

#include "engine/ImageSprite.h"
#include "enemies/Sign.h"

namespace kv {

class TForm1;

// A timeline entry that creates one enemy at (X, Y); entries of one frame keep their order.
struct TSpawn {
    int32_t Count;
    TSprite* (*Create)(TSprite* Parent, double X, double Y);
    double X, Y;
};

// The entry that ends a stage's timeline: on step Count, the boss music (none: the boss
// brings its own later), the boss's first sprite into its reference, and what becomes of the
// script.
struct TBossEntry {
    enum TAfter { EndScript, EndScriptAndCount, CountOn };
    int32_t Count;
    const char* Track;
    TSpriteRef<TSprite> TForm1::*Ref;
    TSprite* (*Create)(TSprite* Parent);
    TAfter After = EndScript;
};

class TStageSprite : public TImageSprite {
public:
    KV_SPRITE_COPY
    explicit TStageSprite(TSprite* Parent) : TImageSprite(Parent) {}
    // Removes the script once no game is running.
    void Step(int32_t MoveCount) override;

protected:
    // Every stage's Step: while a game runs, the next count, its timeline entries and, on its
    // step, the boss entry.
    void Play(int32_t MoveCount, std::span<const TSpawn> Timeline, const TBossEntry& Boss);
};

// Creates every enemy of the entries for Count, in the listed order; the entries are sorted.
void SpawnAt(TSprite* Parent, std::span<const TSpawn> Timeline, int32_t Count);

template <class T>
TSprite* SpawnXY(TSprite* Parent, double X, double Y) {
    return new T(Parent, X, Y);
}
// For the classes whose constructor takes only X (they start at a height of their own).
template <class T>
TSprite* SpawnX(TSprite* Parent, double X, double) {
    return new T(Parent, X);
}
// A Sign emitter of the given mode.
template <int32_t Mode>
TSprite* SpawnSign(TSprite* Parent, double X, double Y) {
    return new TSignASprite(Parent, X, Y, Mode);
}
// A boss's first sprite, for the boss entry.
template <class T>
TSprite* SpawnBoss(TSprite* Parent) {
    return new T(Parent);
}

}  // namespace kv
