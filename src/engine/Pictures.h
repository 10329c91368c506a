#pragma once
// The picture list: named pattern sheets that image sprites draw.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/Geometry.h"

namespace kv {

class ISurface;

// 32-bit pixels, 0xAARRGGBB, rows top to bottom.
struct TBitmap {
    int32_t Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    bool HasAlpha = false;  // the source carried an alpha channel that must be honoured
    uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

class TPictureCollectionItem {
public:
    std::string Name;
    TBitmap Picture;
    int32_t PatternWidth = 0, PatternHeight = 0;
    int32_t SkipWidth = 0, SkipHeight = 0;
    bool Transparent = true;
    uint32_t TransparentColor = 0;  // 0x00BBGGRR
    bool SystemMemory = false;

    // Item size: the pattern size where set, else the picture's.
    int32_t Width() const { return PatternWidth > 0 ? PatternWidth : Picture.Width; }
    int32_t Height() const { return PatternHeight > 0 ? PatternHeight : Picture.Height; }
    int32_t PatternCount() const { return static_cast<int32_t>(Patterns.size()); }
    const std::vector<TRect>& PatternRects() const { return Patterns; }

    // Slice into patterns and hand the picture to the surface.
    void Prepare(ISurface* Surface);
    bool Prepared() const { return Prepared_; }

    void Draw(ISurface* Dest, int32_t X, int32_t Y, int32_t Pattern) const;
    void ScaleDraw(ISurface* Dest, const TRect& R, int32_t Pattern) const;
    void BlendDraw(ISurface* Dest, const TRect& R, int32_t Pattern, int32_t Alpha) const;
    void TurnDraw(ISurface* Dest, int32_t X, int32_t Y, int32_t W, int32_t H, int32_t Pattern,
                  double CenterX, double CenterY, int32_t Angle) const;
    void TurnBlendDraw(ISurface* Dest, int32_t X, int32_t Y, int32_t W, int32_t H, int32_t Pattern,
                       double CenterX, double CenterY, int32_t Angle, int32_t Alpha) const;

    // Per-surface data (a texture); owned by whoever prepared the item.
    std::shared_ptr<void> SurfaceData;

private:
    bool Usable(int32_t Pattern) const { return Prepared_ && Pattern >= 0 && Pattern < PatternCount(); }
    std::vector<TRect> Patterns;
    bool Prepared_ = false;
};

class TDXImageList {
public:
    // Replace the contents with the items of a .dxg picture file.
    void LoadList(const std::string& FileName);
    void SetItems(std::vector<std::unique_ptr<TPictureCollectionItem>> Items);
    // Case-insensitive; raises EPictureCollectionError for an unknown name.
    TPictureCollectionItem* Lookup(const std::string& Name) const;
    TPictureCollectionItem* Find(const std::string& Name) const;  // nullptr when absent
    const std::vector<std::unique_ptr<TPictureCollectionItem>>& Items() const { return Items_; }
    void AttachSurface(ISurface* S);  // prepares every item

private:
    std::vector<std::unique_ptr<TPictureCollectionItem>> Items_;
    std::unordered_map<std::string, TPictureCollectionItem*> ByName_;
    ISurface* Surface_ = nullptr;
};

}  // namespace kv
