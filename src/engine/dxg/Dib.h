#pragma once
// Device-independent bitmaps, as a BMP file image ("BM" file header, info header, palette,
// pixel rows) or as a bare DIB (the same without the file header).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/Pictures.h"

namespace kv::dxg {

// Limits that keep a bogus header from asking for gigabytes; far above any sprite sheet.
constexpr int32_t kMaxBitmapSide = 32768;
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 25;

// Info header sizes of the DIB versions read (core, info, the bit-field and V4/V5 headers).
bool IsDibHeaderSize(uint32_t Size);

// 1-, 4- and 8-bit palettised (8- and 4-bit also run-length encoded), 16-, 24- and 32-bit (plain
// or with bit-field masks), bottom-up or top-down. A 32-bit image keeps its alpha channel
// (HasAlpha) when its header gives an alpha mask, or without one when the fourth bytes look
// like alpha: they vary, and every pixel of KeyRgb (0x00RRGGBB, the colour key the picture is
// drawn with, if any) is fully transparent in them. Other images come out opaque. BaseOffset is
// where Data lies within the file named by Source, for error messages.
TBitmap DecodeDib(const uint8_t* Data, size_t Size, const std::string& Source, size_t BaseOffset,
                  std::optional<uint32_t> KeyRgb = std::nullopt);

// A BMP file image, bottom-up: 24-bit with a 40-byte header, or, when the bitmap HasAlpha,
// 32-bit with a 108-byte header whose bit-field masks include the alpha channel.
std::vector<uint8_t> EncodeBmp(const TBitmap& B);

}  // namespace kv::dxg
