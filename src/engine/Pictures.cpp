#include "engine/Pictures.h"

#include <algorithm>

#include "engine/Errors.h"
#include "engine/Names.h"
#include "engine/Surface.h"
#include "engine/dxg/DxgFile.h"
#include "i18n/Tr.h"

namespace kv {

void TPictureCollectionItem::Prepare(ISurface* Surface) {
    Patterns.clear();
    const int32_t w = Width(), h = Height();
    const int32_t pw = Picture.Width, ph = Picture.Height;
    if (pw <= 0 || ph <= 0) {
        // An item without picture data has no patterns: every draw of it draws nothing.
    } else if (w == pw && h == ph) {
        Patterns.push_back({0, 0, pw, ph});
    } else if (w > 0 && h > 0) {
        // 64-bit: skip sizes come from the file and may be anything.
        const int64_t sx = int64_t{w} + SkipWidth, sy = int64_t{h} + SkipHeight;
        const int64_t cols = sx > 0 ? std::max<int64_t>(0, pw + int64_t{SkipWidth}) / sx : 0;
        const int64_t rows = sy > 0 ? std::max<int64_t>(0, ph + int64_t{SkipHeight}) / sy : 0;
        for (int64_t r = 0; r < rows; ++r)
            for (int64_t c = 0; c < cols; ++c)
                Patterns.push_back(Bounds(static_cast<int32_t>(c * sx), static_cast<int32_t>(r * sy), w, h));
    }
    if (Surface) Surface->Prepare(*this);
    Prepared_ = Surface != nullptr;
}

void TPictureCollectionItem::Draw(ISurface* Dest, int32_t X, int32_t Y, int32_t Pattern) const {
    if (!Dest || !Usable(Pattern)) return;
    const TRect& s = Patterns[Pattern];
    TDrawParams p;
    p.Src = s;
    p.DstX = X;
    p.DstY = Y;
    p.DstW = s.Width();
    p.DstH = s.Height();
    Dest->DrawPicture(*this, p);
}

void TPictureCollectionItem::ScaleDraw(ISurface* Dest, const TRect& R, int32_t Pattern) const {
    BlendDraw(Dest, R, Pattern, 255);
}

void TPictureCollectionItem::BlendDraw(ISurface* Dest, const TRect& R, int32_t Pattern, int32_t Alpha) const {
    if (!Dest || !Usable(Pattern) || Alpha <= 0 || R.Width() <= 0 || R.Height() <= 0) return;
    TDrawParams p;
    p.Src = Patterns[Pattern];
    p.DstX = R.Left;
    p.DstY = R.Top;
    p.DstW = R.Width();
    p.DstH = R.Height();
    p.Alpha = Alpha > 255 ? 255 : Alpha;
    Dest->DrawPicture(*this, p);
}

void TPictureCollectionItem::TurnDraw(ISurface* Dest, int32_t X, int32_t Y, int32_t W, int32_t H, int32_t Pattern,
                                      double CenterX, double CenterY, int32_t Angle) const {
    TurnBlendDraw(Dest, X, Y, W, H, Pattern, CenterX, CenterY, Angle, 255);
}

void TPictureCollectionItem::TurnBlendDraw(ISurface* Dest, int32_t X, int32_t Y, int32_t W, int32_t H,
                                           int32_t Pattern, double CenterX, double CenterY, int32_t Angle,
                                           int32_t Alpha) const {
    if (!Dest || !Usable(Pattern) || Alpha <= 0 || W == 0 || H == 0) return;
    TDrawParams p;
    p.Src = Patterns[Pattern];
    p.DstX = X - CenterX * W;
    p.DstY = Y - CenterY * H;
    p.DstW = W;
    p.DstH = H;
    p.AngleDegrees = (Angle & 255) * 360.0 / 256.0;
    p.CenterX = X;
    p.CenterY = Y;
    p.Alpha = Alpha > 255 ? 255 : Alpha;
    Dest->DrawPicture(*this, p);
}

void TDXImageList::LoadList(const std::string& FileName) { SetItems(dxg::LoadPictures(FileName)); }

void TDXImageList::SetItems(std::vector<std::unique_ptr<TPictureCollectionItem>> Items) {
    Items_ = std::move(Items);
    ByName_.clear();
    for (auto& it : Items_) ByName_.emplace(FoldName(it->Name), it.get());  // first of equal names wins
    if (Surface_)
        for (auto& it : Items_) it->Prepare(Surface_);
}

TPictureCollectionItem* TDXImageList::Find(const std::string& Name) const {
    auto it = ByName_.find(FoldName(Name));
    return it == ByName_.end() ? nullptr : it->second;
}

TPictureCollectionItem* TDXImageList::Lookup(const std::string& Name) const {
    if (auto* p = Find(Name)) return p;
    throw EPictureCollectionError(i18n::Format(N_("画像 '%s' が見つかりません"), {Name}));
}

void TDXImageList::AttachSurface(ISurface* S) {
    Surface_ = S;
    for (auto& it : Items_) it->Prepare(S);
}

}  // namespace kv
