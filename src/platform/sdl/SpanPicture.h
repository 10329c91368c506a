#pragma once
// A picture in the back buffer's own pixel format (0xAARRGGBB) with, for each row, the runs of
// pixels that are not wholly transparent (short gaps included), and a blit of it that makes exactly the pixels SDL's
// software blitter makes when the renderer draws that picture's texture unscaled with alpha
// blending. The software renderer tests every pixel's alpha and runs a stack of calls per
// draw; this touches only the visible pixels, copies opaque runs and blends the rest.
#include <cstdint>
#include <vector>

namespace kv {

class TSpanPicture {
public:
    TSpanPicture() = default;
    // Pixels of Width × Height, rows Pitch pixels apart.
    TSpanPicture(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t Pitch);

    int32_t Width() const { return Width_; }
    int32_t Height() const { return Height_; }

    // Draws the part (SX, SY, W, H) of the picture, which must lie inside it, with its top-left
    // corner at (DX, DY) of the target (TargetW × TargetH, rows Pitch pixels apart), cut to the
    // target. Alpha 255 blends by each pixel's own alpha; 1 … 254 also weighs the picture by
    // Alpha / 255, as a texture's alpha modulation does.
    void Blit(int32_t SX, int32_t SY, int32_t W, int32_t H, uint32_t* Target, int32_t TargetW, int32_t TargetH,
              int32_t Pitch, int32_t DX, int32_t DY, int32_t Alpha) const;

private:
    struct TRun {
        int32_t X, Len;
        bool Opaque;  // every pixel's alpha is 255; otherwise any alpha, transparent ones too
    };
    int32_t Width_ = 0, Height_ = 0;
    std::vector<uint32_t> Pixels_;
    std::vector<uint32_t> Own_;   // each pixel's own share of a blend by its alpha
    std::vector<uint16_t> Keep_;  // and the weight it leaves the target, in 256ths
    std::vector<TRun> Runs_;
    std::vector<uint32_t> RowRuns_;  // the runs of row y are Runs_[RowRuns_[y]] … Runs_[RowRuns_[y + 1] - 1]
};

}  // namespace kv
