#pragma once
// The invisible sprite that drives a stage: it counts frames in StageCount and performs the
// stage's timeline entries on their exact frames.
#include <cstdint>
#include <span>

#include "engine/ImageSprite.h"

namespace kv {

class TForm1;

class TStageSprite : public TImageSprite {
public:
    explicit TStageSprite(TSprite* Parent) : TImageSprite(Parent) {}
    // Removes the script once no game is running.
    void Step(int32_t MoveCount) override;

protected:
    // The shared part of every stage's Step: the base step, then, while a game runs, the
    // next count. Returns the new StageCount, or 0 when the game is over (nothing fires).
    int32_t NextCount(int32_t MoveCount);
};

// A timeline entry that creates one enemy at (X, Y); entries of one frame keep their order.
struct TSpawn {
    int32_t Count;
    TSprite* (*Create)(TSprite* Parent, double X, double Y);
    double X, Y;
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

}  // namespace kv
