#pragma once
// Sprites that show a picture of the image list.
#include <cmath>

#include "engine/Pictures.h"
#include "engine/Sprite.h"
#include "engine/SpriteCopy.h"

namespace kv {

class TImageSprite : public TSprite {
public:
    KV_SPRITE_COPY
    explicit TImageSprite(TSprite* AParent) : TSprite(AParent) {}

    void Render() override;
    // The animation advance. A sprite that was never animated stays as it is, which spares
    // the game's sprites (none is animated) a call each frame.
    void Step(int32_t MoveCount) override {
        if (PatternLoop || PatternCount > 0 || PatternPos != 0 || std::signbit(PatternPos) || PatternSpeed != 0 ||
            std::signbit(PatternSpeed))
            Animate(MoveCount);
    }
    TRect BoundsRect() override { return TSprite::BoundsRect(); }
    bool HitTest(TSprite*) override { return true; }

    int32_t PatternIndex() const { return static_cast<int32_t>(PatternPos) + PatternBase; }

    int32_t PatternCount = 0;
    bool PatternLoop = false;
    double PatternPos = 0;
    double PatternSpeed = 0;
    int32_t PatternBase = 0;
    TPictureCollectionItem* Image = nullptr;

private:
    void Animate(int32_t MoveCount);
};

class TImageSpriteEx : public TImageSprite {
public:
    KV_SPRITE_COPY
    explicit TImageSpriteEx(TSprite* AParent) : TImageSprite(AParent) {
        Alpha = 255;
        IsImageEx_ = true;
        if (Index_) Index_->Reclassify(this);
    }

    void Render() override;
    // Never culled: the rectangle used by the draw pass and the coarse collision test is the view.
    // Final: the collision walk relies on both when two image sprites meet.
    TRect BoundsRect() final;
    bool HitTest(TSprite* Other) final;

    int32_t Angle = 0;
    int32_t Alpha = 255;
};

// Standard image set-up: the named picture and its pattern size.
void SetImage(TImageSprite* Sprite, TPictureCollectionItem* Item);

}  // namespace kv
