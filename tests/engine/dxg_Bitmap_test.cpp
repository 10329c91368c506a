// Device-independent bitmaps inside picture items, built byte by byte.
#include <gtest/gtest.h>

#include "engine/dxg/Dib.h"
#include "engine/dxg/DxgFile.h"
#include "engine/dxg_TestData.h"

using namespace kv;
using namespace dxgtest;

namespace {

TBitmap Decode(const Bytes& PictureData) {
    auto items = dxg::ReadPictures(PictureFile({PictureItem("p", PictureData)}), "b.dxg");
    return items.at(0)->Picture;
}

// A 108-byte header with bit-field masks.
Bytes V4Header(int32_t W, int32_t H, uint16_t Bpp, const uint32_t (&Masks)[4]) {
    Bytes b = InfoHeader(W, H, Bpp, 3);
    b[0] = 108;
    for (uint32_t m : Masks) Put32(b, m);
    b.resize(108);
    return b;
}

}  // namespace

TEST(DxgBitmap, EightBitPalettisedBottomUpWithPaddedRows) {
    Bytes d = InfoHeader(3, 2, 8, 0, 4);
    Palette(d, {0x112233, 0x445566, 0x778899, 0xAABBCC});
    Append(d, {0, 1, 2, 0xEE});  // bottom row, one padding byte
    Append(d, {3, 0, 9, 0xEE});  // top row; index 9 is past the palette
    const TBitmap b = Decode(d);
    ASSERT_EQ(b.Width, 3);
    ASSERT_EQ(b.Height, 2);
    EXPECT_FALSE(b.HasAlpha);
    EXPECT_EQ(b.At(0, 0), 0xFFAABBCCu);
    EXPECT_EQ(b.At(1, 0), 0xFF112233u);
    EXPECT_EQ(b.At(2, 0), 0xFF000000u);
    EXPECT_EQ(b.At(0, 1), 0xFF112233u);
    EXPECT_EQ(b.At(2, 1), 0xFF778899u);
}

TEST(DxgBitmap, OneAndFourBitPixelsAreReadHighBitsFirst) {
    Bytes one = InfoHeader(9, 1, 1);
    Palette(one, {0x000000, 0xFFFFFF});
    Append(one, {0b10100000, 0b10000000, 0, 0});
    const TBitmap b1 = Decode(one);
    const uint32_t W = 0xFFFFFFFF, K = 0xFF000000;
    const uint32_t want1[9] = {W, K, W, K, K, K, K, K, W};
    for (int x = 0; x < 9; ++x) EXPECT_EQ(b1.At(x, 0), want1[x]) << x;

    Bytes four = InfoHeader(3, 1, 4, 0, 3);
    Palette(four, {0x0000FF, 0x00FF00, 0xFF0000});
    Append(four, {0x21, 0x00, 0, 0});
    const TBitmap b4 = Decode(four);
    EXPECT_EQ(b4.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(b4.At(1, 0), 0xFF00FF00u);
    EXPECT_EQ(b4.At(2, 0), 0xFF0000FFu);
}

TEST(DxgBitmap, TwentyFourBitTopDown) {
    Bytes d = InfoHeader(2, -2, 24);
    Append(d, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0, 0});  // top row
    Append(d, {0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0, 0});
    const TBitmap b = Decode(d);
    EXPECT_EQ(b.At(0, 0), 0xFF030201u);
    EXPECT_EQ(b.At(1, 0), 0xFF060504u);
    EXPECT_EQ(b.At(0, 1), 0xFF090807u);
    EXPECT_EQ(b.At(1, 1), 0xFF0C0B0Au);
}

TEST(DxgBitmap, ThirtyTwoBitAlphaIsHonouredWhenPresent) {
    Bytes alpha = InfoHeader(2, 1, 32);
    Append(alpha, {0x10, 0x20, 0x30, 0x80, 0x11, 0x21, 0x31, 0x00});
    const TBitmap a = Decode(alpha);
    EXPECT_TRUE(a.HasAlpha);
    EXPECT_EQ(a.At(0, 0), 0x80302010u);
    EXPECT_EQ(a.At(1, 0), 0x00312111u);

    // A fourth byte that is zero everywhere is padding: the picture is opaque.
    Bytes padding = InfoHeader(2, 1, 32);
    Append(padding, {0x10, 0x20, 0x30, 0, 0x11, 0x21, 0x31, 0});
    const TBitmap p = Decode(padding);
    EXPECT_FALSE(p.HasAlpha);
    EXPECT_EQ(p.At(1, 0), 0xFF312111u);

    // With an explicit alpha mask even an all-transparent image keeps its alpha.
    Bytes masked = V4Header(1, 1, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000});
    Append(masked, {0x44, 0x55, 0x66, 0x00});
    const TBitmap m = Decode(masked);
    EXPECT_TRUE(m.HasAlpha);
    EXPECT_EQ(m.At(0, 0), 0x00665544u);
}

TEST(DxgBitmap, BitFieldMasksAndCoreHeaders) {
    Bytes rgb565 = InfoHeader(2, 1, 16, 3);
    Put32(rgb565, 0xF800), Put32(rgb565, 0x07E0), Put32(rgb565, 0x001F);
    Put16(rgb565, 0xF800), Put16(rgb565, 0x07FF);
    const TBitmap b = Decode(rgb565);
    EXPECT_EQ(b.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(b.At(1, 0), 0xFF00FFFFu);

    Bytes core;
    Put32(core, 12), Put16(core, 1), Put16(core, 1), Put16(core, 1), Put16(core, 8);
    for (int i = 0; i < 256; ++i) core.push_back(static_cast<uint8_t>(i)), core.push_back(0), core.push_back(0xFF);
    Append(core, {7, 0, 0, 0});
    EXPECT_EQ(Decode(core).At(0, 0), 0xFFFF0007u);
}

TEST(DxgBitmap, AHeaderTooShortForItsMasksIsNamed) {
    // Alpha bit fields ask for a fourth mask that a 52-byte header has no room for.
    Bytes b = InfoHeader(1, 1, 32, 6);
    b[0] = 52;
    Put32(b, 0xFF0000), Put32(b, 0xFF00), Put32(b, 0xFF), Put32(b, 0xFF000000);
    Append(b, {1, 2, 3, 4});
    try {
        Decode(b);
        FAIL() << "decoded";
    } catch (const EStreamError& e) {
        EXPECT_NE(std::string(e.what()).find("a 52-byte bitmap info header cannot hold 4 colour masks"),
                  std::string::npos)
            << e.what();
    }
}

TEST(DxgBitmap, PictureDataLayoutsAllDecode) {
    Bytes dib = InfoHeader(1, 1, 24);
    Append(dib, {0xAA, 0xBB, 0xCC, 0});
    const Bytes file = FileImage(dib, 40);
    Bytes counted;
    Put32(counted, static_cast<uint32_t>(file.size()));
    Append(counted, file);
    Bytes named = {7, 'T', 'B', 'i', 't', 'm', 'a', 'p'};
    Append(named, counted);
    Bytes countedDib;
    Put32(countedDib, static_cast<uint32_t>(dib.size()));
    Append(countedDib, dib);
    for (const Bytes& d : {dib, file, counted, named, countedDib}) EXPECT_EQ(Decode(d).At(0, 0), 0xFFCCBBAAu);
    const auto items = dxg::ReadPictures(PictureFile({PictureItem("p", named, "Picture")}), "b.dxg");
    EXPECT_EQ(items[0]->Picture.At(0, 0), 0xFFCCBBAAu);
}

TEST(DxgBitmap, EncodedImagesDecodeToTheSamePixels) {
    for (const bool alpha : {false, true}) {
        TBitmap b;
        b.Width = 3, b.Height = 2, b.HasAlpha = alpha;
        b.Pixels = {0xFF010203, 0x80040506, 0x00070809, 0xFF0A0B0C, 0x7F0D0E0F, 0xFF101112};
        if (!alpha)
            for (auto& p : b.Pixels) p |= 0xFF000000;
        const auto bmp = dxg::EncodeBmp(b);
        EXPECT_EQ(bmp[28], alpha ? 32 : 24);
        const TBitmap back = dxg::DecodeDib(bmp.data(), bmp.size(), "m", 0);
        EXPECT_EQ(back.HasAlpha, alpha);
        EXPECT_EQ(back.Pixels, b.Pixels);
    }
}

TEST(DxgBitmap, RunLengthEncodedRowsDecode) {
    auto expect = [](const TBitmap& B, const std::vector<std::vector<int>>& Rows) {
        ASSERT_EQ(B.Height, static_cast<int32_t>(Rows.size()));
        for (int32_t y = 0; y < B.Height; ++y)
            for (int32_t x = 0; x < B.Width; ++x)
                EXPECT_EQ(B.At(x, y), 0xFF000000u | kRlePalette[Rows[y][x]]) << x << "," << y;
    };
    expect(Decode(Rle8Dib()), {{0, 0, 3, 3}, {3, 2, 1, 0}, {1, 1, 1, 2}});
    expect(Decode(Rle4Dib()), {{3, 1, 2, 3, 1, 0}, {1, 2, 1, 2, 1, 2}});
    // In a file image the runs start where the file header says.
    const Bytes rle = Rle8Dib();
    expect(Decode(FileImage(rle, 40 + 16)), {{0, 0, 3, 3}, {3, 2, 1, 0}, {1, 1, 1, 2}});

    Bytes cut = Rle8Dib();
    cut.resize(cut.size() - 5);  // inside the literal run
    EXPECT_THROW(Decode(cut), EStreamError);
}

TEST(DxgBitmap, AColourTableInFrontOfTrueColourPixelsIsSkipped) {
    for (const uint16_t bpp : {24, 32}) {
        const TBitmap b = Decode(TabledDib(bpp));
        EXPECT_EQ(b.At(0, 0), 0xFF102030u) << bpp;
        EXPECT_EQ(b.At(1, 0), 0xFF405060u) << bpp;
    }
}

TEST(DxgBitmap, FourthBytesThatAreNoAlphaKeepTheColourKey) {
    // Key fuchsia; the first pixel is fuchsia, the second red.
    auto read = [](uint8_t KeyAlpha, uint8_t OtherAlpha) {
        Bytes d = InfoHeader(2, 1, 32);
        Append(d, {0xFF, 0x00, 0xFF, KeyAlpha, 0x00, 0x00, 0xFF, OtherAlpha});
        const auto items = dxg::ReadPictures(PictureFile({[&](TPropertyWriter& w) {
            PictureItem("p", d)(w);
            w.Property("TransparentColor"), w.Ident("clFuchsia");
        }}), "b.dxg");
        return items.at(0)->Picture;
    };
    const TBitmap opaqueFill = read(0xFF, 0xFF);  // all alike: no shape in them
    EXPECT_FALSE(opaqueFill.HasAlpha);
    const TBitmap keyShows = read(0x80, 0xFF);  // would leave the key colour half visible
    EXPECT_FALSE(keyShows.HasAlpha);
    EXPECT_EQ(keyShows.At(0, 0), 0xFFFF00FFu);
    const TBitmap alpha = read(0x00, 0x80);  // a real channel: the key pixel is clear in it
    EXPECT_TRUE(alpha.HasAlpha);
    EXPECT_EQ(alpha.At(1, 0), 0x80FF0000u);
}
