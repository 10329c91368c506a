#pragma once
// Stage 1: 1500 frames of Zako A, D, E and J, then R-One.
#include "stages/StageScript.h"

namespace kv {

class TFirstStageSprite : public TStageSprite {
public:
    KV_SPRITE_COPY
    explicit TFirstStageSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;

    static constexpr int32_t BossCount = 1500;  // the step that brings in R-One
};

}  // namespace kv
