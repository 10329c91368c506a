#include "stages/StageScript.h"

#include <algorithm>

#include "shell/Form1.h"

namespace kv {

void TStageSprite::Step(int32_t MoveCount) {
    TImageSprite::Step(MoveCount);
    if (!FormOf(this).Playing) Kill();
}

int32_t TStageSprite::NextCount(int32_t MoveCount) {
    TStageSprite::Step(MoveCount);
    TForm1& f = FormOf(this);
    if (!f.Playing) return 0;  // the counter stands still once the game is over
    return ++f.StageCount;
}

void SpawnAt(TSprite* Parent, std::span<const TSpawn> Timeline, int32_t Count) {
    auto first = std::lower_bound(Timeline.begin(), Timeline.end(), Count,
                                  [](const TSpawn& S, int32_t C) { return S.Count < C; });
    for (auto it = first; it != Timeline.end() && it->Count == Count; ++it) it->Create(Parent, it->X, it->Y);
}

}  // namespace kv
