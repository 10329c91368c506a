#pragma once
// Stage 3: 1800 frames of Sign emitters on the corners, edges and middle lines, then Velus.
#include "stages/StageScript.h"

namespace kv {

class TThirdStageSprite : public TStageSprite {
public:
    KV_SPRITE_COPY
    explicit TThirdStageSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;

    static constexpr int32_t BossCount = 1800;  // the step that brings in Velus
};

}  // namespace kv
