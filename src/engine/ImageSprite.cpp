#include "engine/ImageSprite.h"

#include <cmath>

namespace kv {

void SetImage(TImageSprite* Sprite, TPictureCollectionItem* Item) {
    Sprite->Image = Item;
    Sprite->Width = Item->Width();
    Sprite->Height = Item->Height();
}

void TImageSprite::Animate(int32_t MoveCount) {
    PatternPos = PatternPos + MoveCount * PatternSpeed;
    if (PatternLoop) {
        if (PatternCount > 0) {
            int64_t whole = static_cast<int64_t>(std::trunc(PatternPos / PatternCount)) * PatternCount;
            PatternPos = PatternPos - static_cast<double>(whole);
            if (PatternPos < 0) PatternPos += PatternCount;
        } else {
            PatternPos = 0;
        }
    } else {
        if (PatternPos >= PatternCount) {
            PatternPos = PatternCount - 1;
            PatternSpeed = 0;
        }
        if (PatternPos < 0) {
            PatternPos = 0;
            PatternSpeed = 0;
        }
    }
}

void TImageSprite::Render() {
    if (!Image || !Engine) return;
    TRect r = BoundsRect();
    int32_t dx = (Width - Image->Width()) / 2;
    int32_t dy = (Height - Image->Height()) / 2;
    Image->Draw(Engine->Surface, r.Left + dx, r.Top + dy, PatternIndex());
}

TRect TImageSpriteEx::BoundsRect() { return Engine ? Engine->ViewRect : TRect{}; }

bool TImageSpriteEx::HitTest(TSprite* Other) {
    TRect r1 = OwnRect();
    TRect r2 = Other->IsImageSpriteEx() ? Other->OwnRect() : Other->BoundsRect();
    return OverlapRect(r2, r1);
}

void TImageSpriteEx::Render() {
    if (!Image || !Engine) return;
    TRect r = OwnRect();
    int32_t p = PatternIndex();
    ISurface* s = Engine->Surface;
    if ((Angle & 255) == 0) {
        if (Alpha >= 255)
            Image->ScaleDraw(s, r, p);
        else
            Image->BlendDraw(s, r, p, Alpha);
    } else {
        int32_t cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
        if (Alpha >= 255)
            Image->TurnDraw(s, cx, cy, Width, Height, p, 0.5, 0.5, Angle);
        else
            Image->TurnBlendDraw(s, cx, cy, Width, Height, p, 0.5, 0.5, Angle, Alpha);
    }
}

}  // namespace kv
