#pragma once
// Stage 2: 1800 frames of Zako A, E, H and I craft and corner Signs, then Marco.
#include "stages/StageScript.h"

namespace kv {

class TSecondStageSprite : public TStageSprite {
public:
    KV_SPRITE_COPY
    explicit TSecondStageSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;

    static constexpr int32_t BossCount = 1800;  // the step that brings in Marco
};

}  // namespace kv
