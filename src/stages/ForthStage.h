#pragma once
// Stage 4: two rows of Zako I sprayers, three bursts of Signs, then Gadnic's fade.
#include "stages/StageScript.h"

namespace kv {

class TForthStageSprite : public TStageSprite {
public:
    KV_SPRITE_COPY
    explicit TForthStageSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;

    static constexpr int32_t BossCount = 1001;  // the step that brings in Gadnic
};

}  // namespace kv
