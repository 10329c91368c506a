#include "engine/dxg/Dib.h"

#include <bit>

#include "engine/dxg/ByteReader.h"

namespace kv::dxg {

namespace {

enum : uint32_t { BI_RGB = 0, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

// One colour channel given by a contiguous bit mask, scaled to 0 … 255.
struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    uint64_t Max = 0;
    explicit TChannel(uint32_t M = 0) : Mask(M) {
        if (M) {
            Shift = std::countr_zero(M);
            Max = (uint64_t{1} << std::popcount(M >> Shift)) - 1;
        }
    }
    uint32_t Get(uint32_t Px, uint32_t Absent) const {
        if (!Mask) return Absent;
        const uint64_t v = ((Px & Mask) >> Shift) * 255 / Max;
        return v > 255 ? 255 : static_cast<uint32_t>(v);  // a mask with holes
    }
};

void PutU16(std::vector<uint8_t>& O, uint16_t V) { O.push_back(V & 0xFF), O.push_back(V >> 8); }
void PutU32(std::vector<uint8_t>& O, uint32_t V) {
    for (int i = 0; i < 4; ++i) O.push_back(static_cast<uint8_t>(V >> (8 * i)));
}

}  // namespace

TBitmap DecodeDib(const uint8_t* Data, size_t Size, const std::string& Source, size_t BaseOffset) {
    TByteReader r(Data, Size, Source, BaseOffset);
    const bool fileImage = Size >= 2 && Data[0] == 'B' && Data[1] == 'M';
    uint32_t bitsOffset = 0;
    if (fileImage) {
        r.Skip(10, "the bitmap file header");
        bitsOffset = r.U32("the bitmap file header");
    }
    const size_t headerAt = r.Pos();
    const uint32_t headerSize = r.U32("the bitmap info header");
    int64_t w = 0, h = 0;
    uint32_t bpp = 0, compression = BI_RGB, colorsUsed = 0, paletteEntry = 4;
    uint32_t masks[4] = {0, 0, 0, 0};
    bool alphaMaskGiven = false;
    if (headerSize == 12) {
        w = r.U16("the bitmap info header");
        h = r.U16("the bitmap info header");
        r.Skip(2, "the bitmap info header");
        bpp = r.U16("the bitmap info header");
        paletteEntry = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 || headerSize == 108 ||
               headerSize == 124) {
        w = static_cast<int32_t>(r.U32("the bitmap info header"));
        h = static_cast<int32_t>(r.U32("the bitmap info header"));
        r.Skip(2, "the bitmap info header");
        bpp = r.U16("the bitmap info header");
        compression = r.U32("the bitmap info header");
        r.Skip(12, "the bitmap info header");
        colorsUsed = r.U32("the bitmap info header");
        r.Skip(4, "the bitmap info header");
        // Masks are part of the longer headers, and follow the 40-byte one.
        const int maskCount = headerSize >= 56 || compression == BI_ALPHABITFIELDS ? 4
                              : headerSize >= 52 || compression == BI_BITFIELDS   ? 3
                                                                                  : 0;
        if (headerSize == 64) {
            r.Skip(24, "the bitmap info header");
        } else {
            for (int i = 0; i < maskCount; ++i) masks[i] = r.U32("the bitmap colour masks");
            alphaMaskGiven = maskCount == 4;
            // Past a 40-byte header the masks are inside it; only a 52-byte one is too short for four.
            const size_t read = r.Pos() - headerAt;
            if (headerSize > 40 && read > headerSize)
                r.Fail("a " + std::to_string(headerSize) + "-byte bitmap info header cannot hold " +
                           std::to_string(maskCount) + " colour masks",
                       BaseOffset + headerAt);
            if (headerSize > 40) r.Skip(headerSize - read, "the bitmap info header");
        }
    } else {
        r.Fail("the picture is not a device-independent bitmap (info header size " + std::to_string(headerSize) + ")",
               BaseOffset + headerAt);
    }

    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        r.Fail("a bitmap of " + std::to_string(bpp) + " bits per pixel is not supported");
    const bool fields = compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS;
    if (compression != BI_RGB && !(fields && (bpp == 16 || bpp == 32)))
        r.Fail("bitmap compression " + std::to_string(compression) + " with " + std::to_string(bpp) +
               " bits per pixel is not supported");
    const bool topDown = h < 0;
    if (topDown) h = -h;
    if (w <= 0 || h <= 0 || w > kMaxBitmapSide || h > kMaxBitmapSide || w * h > kMaxBitmapPixels)
        r.Fail("the bitmap size " + std::to_string(w) + " x " + std::to_string(h) + " is not usable");

    std::vector<uint32_t> palette;
    if (bpp <= 8) {
        const uint32_t n = colorsUsed ? colorsUsed : 1u << bpp;
        if (n > 256) r.Fail("the bitmap palette has " + std::to_string(n) + " entries (256 at most)");
        const uint8_t* p = r.Bytes(static_cast<size_t>(n) * paletteEntry, "the bitmap palette");
        for (uint32_t i = 0; i < n; ++i, p += paletteEntry)
            palette.push_back(0xFF000000u | p[2] << 16 | p[1] << 8 | p[0]);
    }
    if (fileImage && bitsOffset != 0) {
        if (bitsOffset < headerAt + headerSize || bitsOffset > Size)
            r.Fail("the bitmap's pixel offset " + std::to_string(bitsOffset) + " lies outside its data");
        r = TByteReader(Data + bitsOffset, Size - bitsOffset, Source, BaseOffset + bitsOffset);
    }
    const uint64_t stride = (static_cast<uint64_t>(w) * bpp + 31) / 32 * 4;
    const uint8_t* bits = r.Bytes(stride * h, "the bitmap pixels");

    if (!fields) {
        if (bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F, masks[3] = 0;
        if (bpp == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = 0xFF000000;
        alphaMaskGiven = false;
    }
    const TChannel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);

    TBitmap b;
    b.Width = static_cast<int32_t>(w);
    b.Height = static_cast<int32_t>(h);
    b.Pixels.resize(static_cast<size_t>(w * h));
    bool anyAlpha = false;
    for (int64_t y = 0; y < h; ++y) {
        const uint8_t* row = bits + stride * (topDown ? y : h - 1 - y);
        uint32_t* out = &b.Pixels[static_cast<size_t>(y * w)];
        for (int64_t x = 0; x < w; ++x) {
            uint32_t px;
            if (bpp <= 8) {
                const uint32_t index = row[x * bpp / 8] >> (8 - bpp - x * bpp % 8) & ((1u << bpp) - 1);
                px = index < palette.size() ? palette[index] : 0xFF000000u;
            } else if (bpp == 24) {
                const uint8_t* p = row + x * 3;
                px = 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0];
            } else {
                const uint8_t* p = row + x * (bpp / 8);
                const uint32_t v = bpp == 16 ? p[0] | p[1] << 8 : p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
                const uint32_t a = alpha.Get(v, 255);
                anyAlpha = anyAlpha || (v & masks[3]) != 0;
                px = a << 24 | red.Get(v, 0) << 16 | green.Get(v, 0) << 8 | blue.Get(v, 0);
            }
            out[x] = px;
        }
    }
    // Without an explicit alpha mask, a fourth byte that is zero everywhere is padding.
    b.HasAlpha = masks[3] != 0 && (alphaMaskGiven || anyAlpha);
    if (!b.HasAlpha)
        for (uint32_t& px : b.Pixels) px |= 0xFF000000u;
    return b;
}

std::vector<uint8_t> EncodeBmp(const TBitmap& B) {
    if (B.Width <= 0 || B.Height <= 0 || B.Width > kMaxBitmapSide || B.Height > kMaxBitmapSide ||
        static_cast<int64_t>(B.Width) * B.Height > kMaxBitmapPixels)
        throw EStreamError("a bitmap of " + std::to_string(B.Width) + " x " + std::to_string(B.Height) +
                           " pixels cannot be stored");
    if (B.Pixels.size() != static_cast<size_t>(B.Width) * B.Height)
        throw EStreamError("a bitmap's pixel count does not match its size");
    const uint32_t bpp = B.HasAlpha ? 32 : 24;
    const uint32_t headerSize = B.HasAlpha ? 108 : 40;
    const uint32_t stride = (B.Width * bpp + 31) / 32 * 4;
    const uint32_t imageSize = stride * B.Height;
    std::vector<uint8_t> o;
    o.reserve(14 + headerSize + imageSize);
    o.push_back('B'), o.push_back('M');
    PutU32(o, 14 + headerSize + imageSize);
    PutU32(o, 0);
    PutU32(o, 14 + headerSize);
    PutU32(o, headerSize);
    PutU32(o, static_cast<uint32_t>(B.Width));
    PutU32(o, static_cast<uint32_t>(B.Height));  // positive: bottom-up
    PutU16(o, 1);
    PutU16(o, static_cast<uint16_t>(bpp));
    PutU32(o, B.HasAlpha ? BI_BITFIELDS : BI_RGB);
    PutU32(o, imageSize);
    PutU32(o, 2835), PutU32(o, 2835);  // 72 dots per inch
    PutU32(o, 0), PutU32(o, 0);
    if (B.HasAlpha) {
        PutU32(o, 0x00FF0000), PutU32(o, 0x0000FF00), PutU32(o, 0x000000FF), PutU32(o, 0xFF000000);
        PutU32(o, 0x73524742);  // sRGB
        o.resize(o.size() + 48);  // colour end points and gamma: unused with sRGB
    }
    for (int32_t y = B.Height - 1; y >= 0; --y) {
        const size_t rowStart = o.size();
        for (int32_t x = 0; x < B.Width; ++x) {
            const uint32_t px = B.At(x, y);
            o.push_back(px & 0xFF), o.push_back(px >> 8 & 0xFF), o.push_back(px >> 16 & 0xFF);
            if (B.HasAlpha) o.push_back(px >> 24);
        }
        o.resize(rowStart + stride);
    }
    return o;
}

}  // namespace kv::dxg
