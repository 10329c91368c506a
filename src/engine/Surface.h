#pragma once
// The drawing surface (the display's back buffer) as the game sees it.
#include <cstdint>
#include <string>

#include "engine/Geometry.h"

namespace kv {

class TPictureCollectionItem;

// Where and how one pattern of a picture is put on the surface. The destination rectangle
// is (DstX, DstY, DstW, DstH); with Angle != 0 it is turned by Angle degrees clockwise about
// the point (CenterX, CenterY) given in surface coordinates.
struct TDrawParams {
    TRect Src;
    double DstX = 0, DstY = 0, DstW = 0, DstH = 0;
    double AngleDegrees = 0;
    double CenterX = 0, CenterY = 0;
    int32_t Alpha = 255;  // 1 … 255
};

class ISurface {
public:
    virtual ~ISurface() = default;
    virtual int32_t SurfaceWidth() const = 0;
    virtual int32_t SurfaceHeight() const = 0;
    // Fill the whole back buffer with a colour given as 0x00BBGGRR.
    virtual void Fill(uint32_t Color) = 0;
    // Make a picture ready for drawing (upload, colour key). Called when the list is loaded.
    virtual void Prepare(TPictureCollectionItem& Item) = 0;
    virtual void DrawPicture(const TPictureCollectionItem& Item, const TDrawParams& P) = 0;
    // Text with a clear brush: top-left of the text at (X, Y), size in points.
    virtual void TextOut(int32_t X, int32_t Y, const std::string& Utf8, TColor Color, int32_t Points) = 0;
    // Nothing drawn on it is kept or shown, so the frame loop need not draw.
    virtual bool Blind() const { return false; }
};

// The back buffer's text canvas: font colour and size are state that each HUD block sets.
class TCanvas {
public:
    explicit TCanvas(ISurface* S) : Surface_(S) {}
    void BrushClear() { BrushClear_ = true; }
    TColor FontColor;
    int32_t FontSize = 9;
    void TextOut(int32_t X, int32_t Y, const std::string& Utf8) {
        if (Surface_) Surface_->TextOut(X, Y, Utf8, FontColor, FontSize);
    }
    void Release() { Released_ = true; }

private:
    ISurface* Surface_;
    bool BrushClear_ = false;
    bool Released_ = false;
};

}  // namespace kv
