#include "stages/StageScript.h"

#include <algorithm>

#include "shell/Form1.h"

namespace kv {

void TStageSprite::Step(int32_t MoveCount) {
    TImageSprite::Step(MoveCount);
    if (!FormOf(this).Playing) Kill();
}

void TStageSprite::Play(int32_t MoveCount, std::span<const TSpawn> Timeline, const TBossEntry& Boss) {
    TStageSprite::Step(MoveCount);
    TForm1& f = FormOf(this);
    if (!f.Playing) return;  // the counter stands still once the game is over
    const int32_t count = ++f.StageCount;
    SpawnAt(Engine, Timeline, count);
    if (count != Boss.Count) return;
    if (Boss.Track) f.BGMStop(Boss.Track);
    f.*(Boss.Ref) = Boss.Create(Engine);
    if (Boss.After == TBossEntry::CountOn) return;
    Kill();
    if (Boss.After == TBossEntry::EndScriptAndCount) f.StageCount = 0;
}

void SpawnAt(TSprite* Parent, std::span<const TSpawn> Timeline, int32_t Count) {
    auto first = std::lower_bound(Timeline.begin(), Timeline.end(), Count,
                                  [](const TSpawn& S, int32_t C) { return S.Count < C; });
    for (auto it = first; it != Timeline.end() && it->Count == Count; ++it) it->Create(Parent, it->X, it->Y);
}

}  // namespace kv
