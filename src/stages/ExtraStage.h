#pragma once
// The Extra Stage script: its timeline ends with Dagar, and it keeps counting afterwards.
#include <cstdint>

#include "stages/StageScript.h"

namespace kv {

class TExtraStageSprite : public TStageSprite {
public:
    KV_SPRITE_COPY
    explicit TExtraStageSprite(TSprite* Parent);
    void Step(int32_t MoveCount) override;

    static constexpr int32_t BossCount = 2100;
};

}  // namespace kv
