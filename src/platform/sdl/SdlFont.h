#pragma once
// Where the game's gothic face lives, and how a point size becomes pixels.
#include <cstdint>
#include <string>

namespace kv {

// The file of IPA P Gothic (ipagp.ttf). KALVENTO_FONT overrides the search; otherwise the usual
// Debian place and then the system font folders are searched. Raises EFOpenError naming the
// places looked at when the face is not installed.
std::string FindGothicFont();

// Point sizes are meant for a 96 DPI display: 12 pt is 16 pixels.
inline int32_t PointsToPixels(int32_t Points) { return (Points * 96 + 36) / 72; }

// A font height of the window's controls: negative is the character height in pixels,
// positive a cell height (about an eighth larger than the characters).
inline int32_t FontHeightToPixels(int32_t Height) {
    if (Height < 0) return -Height;
    if (Height == 0) return 12;
    return (Height * 7 + 4) / 8;
}

}  // namespace kv
