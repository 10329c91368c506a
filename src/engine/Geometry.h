#pragma once
#include <cstdint>

namespace kv {

// Left/top inclusive, right/bottom exclusive.
struct TRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

inline TRect Bounds(int32_t x, int32_t y, int32_t w, int32_t h) { return {x, y, x + w, y + h}; }

// Strict overlap: touching edges do not overlap.
inline bool OverlapRect(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

struct TColor {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TColor&) const = default;
};

}  // namespace kv
