#include "engine/dxg/Dib.h"

#include <algorithm>
#include <bit>

#include "engine/dxg/ByteReader.h"

namespace kv::dxg {

namespace {

enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

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

bool IsDibHeaderSize(uint32_t Size) {
    return Size == 12 || Size == 40 || Size == 52 || Size == 56 || Size == 64 || Size == 108 || Size == 124;
}

namespace {

// Run-length encoded 8- or 4-bit rows, bottom row first, into one palette index per pixel.
// Pixels the runs never reach keep index 0; runs past the right edge are cut off there.
std::vector<uint8_t> DecodeRle(TByteReader& R, int64_t W, int64_t H, uint32_t Bpp) {
    std::vector<uint8_t> index(static_cast<size_t>(W * H), 0);
    int64_t x = 0, line = 0;
    auto put = [&](uint8_t V) {
        if (x < W && line < H) index[static_cast<size_t>(line * W + x)] = V;
        ++x;
    };
    // Some writers leave out the end-of-bitmap mark: the data's end is one as well.
    while (!R.AtEnd() && line < H) {
        const uint8_t count = R.U8("a run of the bitmap");
        const uint8_t value = R.U8("a run of the bitmap");
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(Bpp == 8 ? value : (i & 1 ? value & 0x0F : value >> 4));
        } else if (value == 0) {
            x = 0, ++line;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            x += R.U8("a move in the bitmap");
            line += R.U8("a move in the bitmap");
        } else {
            const size_t bytes = Bpp == 8 ? value : (value + 1u) / 2;
            const uint8_t* p = R.Bytes(bytes, "the pixels of the bitmap's literal run");
            for (int i = 0; i < value; ++i) put(Bpp == 8 ? p[i] : (i & 1 ? p[i / 2] & 0x0F : p[i / 2] >> 4));
            if (bytes & 1 && !R.AtEnd()) R.Skip(1, "the padding of a literal run");  // runs keep 16-bit alignment
        }
    }
    return index;
}

}  // namespace

TBitmap DecodeDib(const uint8_t* Data, size_t Size, const std::string& Source, size_t BaseOffset,
                  std::optional<uint32_t> KeyRgb) {
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
    } else if (IsDibHeaderSize(headerSize)) {
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
    const bool rle = (compression == BI_RLE8 && bpp == 8) || (compression == BI_RLE4 && bpp == 4);
    if (compression != BI_RGB && !rle && !(fields && (bpp == 16 || bpp == 32)))
        r.Fail("bitmap compression " + std::to_string(compression) + " with " + std::to_string(bpp) +
               " bits per pixel is not supported");
    const bool topDown = h < 0;
    if (topDown) h = -h;
    if (w <= 0 || h <= 0 || w > kMaxBitmapSide || h > kMaxBitmapSide || w * h > kMaxBitmapPixels)
        r.Fail("the bitmap size " + std::to_string(w) + " x " + std::to_string(h) + " is not usable");

    const uint64_t stride = (static_cast<uint64_t>(w) * bpp + 31) / 32 * 4;
    std::vector<uint32_t> palette;
    if (bpp <= 8) {
        const uint32_t n = colorsUsed ? colorsUsed : 1u << bpp;
        if (n > 256) r.Fail("the bitmap palette has " + std::to_string(n) + " entries (256 at most)");
        const uint8_t* p = r.Bytes(static_cast<size_t>(n) * paletteEntry, "the bitmap palette");
        for (uint32_t i = 0; i < n; ++i, p += paletteEntry)
            palette.push_back(0xFF000000u | p[2] << 16 | p[1] << 8 | p[0]);
    } else if (colorsUsed && !(fileImage && bitsOffset != 0)) {
        // A colour table that some writers put in front of 16-, 24- and 32-bit pixels; only a
        // bare DIB has to step over it (a file image says where its pixels start).
        const uint64_t table = uint64_t{colorsUsed} * paletteEntry;
        if (r.Left() >= table + stride * h) r.Skip(static_cast<size_t>(table), "the bitmap colour table");
    }
    if (fileImage && bitsOffset != 0) {
        if (bitsOffset < headerAt + headerSize || bitsOffset > Size)
            r.Fail("the bitmap's pixel offset " + std::to_string(bitsOffset) + " lies outside its data");
        r = TByteReader(Data + bitsOffset, Size - bitsOffset, Source, BaseOffset + bitsOffset);
    }

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
    auto outRow = [&](int64_t FileRow) { return &b.Pixels[static_cast<size_t>((topDown ? FileRow : h - 1 - FileRow) * w)]; };
    uint32_t alphaMin = 255, alphaMax = 0;
    bool keyShows = false;  // a pixel of the colour key is not fully transparent in the fourth bytes
    if (rle) {
        const std::vector<uint8_t> index = DecodeRle(r, w, h, bpp);
        for (int64_t y = 0; y < h; ++y) {
            uint32_t* out = outRow(y);
            for (int64_t x = 0; x < w; ++x) {
                const uint8_t i = index[static_cast<size_t>(y * w + x)];
                out[x] = i < palette.size() ? palette[i] : 0xFF000000u;
            }
        }
    } else {
        r.Need(stride * h, "the bitmap pixels");
        const size_t padding = static_cast<size_t>(stride - (static_cast<uint64_t>(w) * bpp + 7) / 8);
        for (int64_t y = 0; y < h; ++y) {
            uint32_t* out = outRow(y);
            if (bpp <= 8) {
                const uint8_t* row = r.Bytes(static_cast<size_t>(stride), "the bitmap pixels");
                for (int64_t x = 0; x < w; ++x) {
                    const uint32_t index = row[x * bpp / 8] >> (8 - bpp - x * bpp % 8) & ((1u << bpp) - 1);
                    out[x] = index < palette.size() ? palette[index] : 0xFF000000u;
                }
                continue;
            }
            for (int64_t x = 0; x < w; ++x) {
                if (bpp == 24) {
                    const uint8_t* p = r.Bytes(3, "the bitmap pixels");
                    out[x] = 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0];
                    continue;
                }
                const uint32_t v = bpp == 16 ? r.U16("the bitmap pixels") : r.U32("the bitmap pixels");
                const uint32_t a = alpha.Get(v, 255);
                const uint32_t rgb = red.Get(v, 0) << 16 | green.Get(v, 0) << 8 | blue.Get(v, 0);
                if (masks[3]) {
                    alphaMin = std::min(alphaMin, a), alphaMax = std::max(alphaMax, a);
                    keyShows = keyShows || (KeyRgb && rgb == *KeyRgb && a != 0);
                }
                out[x] = a << 24 | rgb;
            }
            r.Skip(padding, "the bitmap pixels");
        }
    }
    // Without an alpha mask, fourth bytes that are all alike carry no shape (padding, or an
    // opaque fill), and ones that leave the colour key visible are junk: the key stays.
    b.HasAlpha = masks[3] != 0 && (alphaMaskGiven || (alphaMin != alphaMax && !keyShows));
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
