#pragma once
// Hand-built .dxg images for the container tests and the fuzz seeds: a resource header, the
// component stream around a List collection, and device-independent bitmaps byte by byte.
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/dxg/PropertyStream.h"

namespace dxgtest {

using Bytes = std::vector<uint8_t>;
using kv::dxg::TPropertyWriter;
using ItemFn = std::function<void(TPropertyWriter&)>;

inline void Put16(Bytes& B, uint16_t V) { B.push_back(V & 0xFF), B.push_back(V >> 8); }
inline void Put32(Bytes& B, uint32_t V) {
    for (int i = 0; i < 4; ++i) B.push_back(static_cast<uint8_t>(V >> (8 * i)));
}
inline void Append(Bytes& B, const Bytes& More) { B.insert(B.end(), More.begin(), More.end()); }

// 0xFF, type 10, name, flags, size, then the stream.
inline Bytes Resource(const Bytes& Stream, uint16_t Type = 10, const std::string& Name = "X") {
    Bytes b{0xFF};
    Put16(b, Type);
    b.insert(b.end(), Name.begin(), Name.end());
    b.push_back(0);
    Put16(b, 0x1030);
    Put32(b, static_cast<uint32_t>(Stream.size()));
    Append(b, Stream);
    return b;
}

// A component of the class whose List holds one item per function; each writes its properties.
inline Bytes ListFile(const std::string& ClassName, const std::vector<ItemFn>& Items) {
    TPropertyWriter w;
    w.Signature();
    w.BeginComponent(ClassName, "L");
    w.Property("List");
    w.BeginCollection();
    for (const ItemFn& f : Items) {
        w.BeginList();
        f(w);
        w.EndList();
    }
    w.EndList(), w.EndList(), w.EndList();
    return Resource(w.Out);
}

inline Bytes PictureFile(const std::vector<ItemFn>& Items) { return ListFile("TPictureCollectionComponent", Items); }
inline Bytes WaveFile(const std::vector<ItemFn>& Items) { return ListFile("TWaveCollectionComponent", Items); }

// A 40-byte BITMAPINFOHEADER.
inline Bytes InfoHeader(int32_t W, int32_t H, uint16_t Bpp, uint32_t Compression = 0, uint32_t ColorsUsed = 0) {
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(W));
    Put32(b, static_cast<uint32_t>(H));
    Put16(b, 1);
    Put16(b, Bpp);
    Put32(b, Compression);
    Put32(b, 0), Put32(b, 0), Put32(b, 0);
    Put32(b, ColorsUsed);
    Put32(b, 0);
    return b;
}

// "BM" file header in front of a DIB whose pixels start after HeaderAndPalette bytes.
inline Bytes FileImage(const Bytes& Dib, uint32_t HeaderAndPalette) {
    Bytes b{'B', 'M'};
    Put32(b, static_cast<uint32_t>(14 + Dib.size()));
    Put32(b, 0);
    Put32(b, 14 + HeaderAndPalette);
    Append(b, Dib);
    return b;
}

// A picture item whose Picture.Data is the given binary, with a name.
inline ItemFn PictureItem(const std::string& Name, const Bytes& Data, const std::string& Prop = "Picture.Data") {
    return [=](TPropertyWriter& w) {
        w.Property("Name"), w.String(Name);
        w.Property(Prop), w.Binary(Data);
    };
}

// BGR0 palette entries.
inline void Palette(Bytes& B, std::initializer_list<uint32_t> Rgb) {
    for (uint32_t c : Rgb) B.push_back(c & 0xFF), B.push_back(c >> 8 & 0xFF), B.push_back(c >> 16 & 0xFF), B.push_back(0);
}

// The palette of the run-length encoded samples: index 0 black, 1 red, 2 green, 3 blue.
inline const uint32_t kRlePalette[4] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

// An 8-bit run-length encoded 4 x 3 bitmap. Rows top to bottom, as palette indices:
// {0,0,3,3} (a move, then a run), {3,2,1,0} (a padded literal run, the line ended early),
// {1,1,1,2} (runs, the last one cut off at the right edge).
inline Bytes Rle8Dib() {
    Bytes b = InfoHeader(4, 3, 8, 1, 4);
    Palette(b, {kRlePalette[0], kRlePalette[1], kRlePalette[2], kRlePalette[3]});
    Append(b, {3, 1, 2, 2, 0, 0});           // bottom row
    Append(b, {0, 3, 3, 2, 1, 0xEE, 0, 0});  // literal run of 3 with its padding byte
    Append(b, {0, 2, 2, 0, 2, 3, 0, 1});     // move 2 right, two blue, end of bitmap
    return b;
}

// A 4-bit run-length encoded 6 x 2 bitmap: {3,1,2,3,1,0} (a padded literal run of five),
// {1,2,1,2,1,2} (one run of alternating nibbles); no end-of-bitmap mark.
inline Bytes Rle4Dib() {
    Bytes b = InfoHeader(6, 2, 4, 2, 4);
    Palette(b, {kRlePalette[0], kRlePalette[1], kRlePalette[2], kRlePalette[3]});
    Append(b, {6, 0x12, 0, 0});
    Append(b, {0, 5, 0x31, 0x23, 0x10, 0xEE, 0, 0});
    return b;
}

// A bare 2 x 1 DIB of Bpp (24 or 32) bits with a two-entry colour table in front of its pixels
// 0x102030 and 0x405060.
inline Bytes TabledDib(uint16_t Bpp) {
    Bytes b = InfoHeader(2, 1, Bpp, 0, 2);
    Palette(b, {0xABCDEF, 0x123456});
    for (uint32_t c : {0x102030u, 0x405060u}) {
        b.push_back(c & 0xFF), b.push_back(c >> 8 & 0xFF), b.push_back(c >> 16);
        if (Bpp == 32) b.push_back(0);
    }
    if (Bpp == 24) Append(b, {0, 0});
    return b;
}

// Value type 21 as the writers that store an 8-byte double under it write it.
inline void Double21(TPropertyWriter& W, double V) {
    uint64_t bits;
    std::memcpy(&bits, &V, sizeof bits);
    W.Byte(kv::dxg::vaUString), W.U32(static_cast<uint32_t>(bits)), W.U32(static_cast<uint32_t>(bits >> 32));
}

// A tiny RIFF WAVE image: 8-bit mono 8 kHz, N samples.
inline Bytes Riff(uint32_t Samples) {
    Bytes b{'R', 'I', 'F', 'F'};
    Put32(b, 36 + Samples);
    for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<uint8_t>(c));
    Put32(b, 16);
    Put16(b, 1), Put16(b, 1);
    Put32(b, 8000), Put32(b, 8000);
    Put16(b, 1), Put16(b, 8);
    for (char c : std::string("data")) b.push_back(static_cast<uint8_t>(c));
    Put32(b, Samples);
    for (uint32_t i = 0; i < Samples; ++i) b.push_back(static_cast<uint8_t>(128 + (i % 7) * 9));
    return b;
}

// A picture list from other writers, one item of each kind they make: another graphic class,
// system and web colours, doubles under value type 21, items without picture data, run-length
// encoded bitmaps, a colour table in front of true-colour pixels, 32-bit pixels whose fourth
// bytes are no alpha; and a resource size of 0.
inline Bytes ForeignPictures() {
    Bytes dib = InfoHeader(1, 1, 24);
    Append(dib, {0xFF, 0x00, 0xFF, 0});
    Bytes classed = {4, 'T', 'D', 'I', 'B'};
    Put32(classed, static_cast<uint32_t>(dib.size()) + 14);
    Append(classed, FileImage(dib, 40));
    Bytes junk = InfoHeader(2, 1, 32);
    Append(junk, {0xFF, 0x00, 0xFF, 0xFF, 0x10, 0x20, 0x30, 0xFF});
    auto keyed = [](ItemFn Item, const std::string& Color) {
        return [=](TPropertyWriter& w) {
            Item(w);
            w.Property("Transparent"), w.Boolean(true);
            w.Property("TransparentColor"), w.Ident(Color);
        };
    };
    Bytes file = PictureFile({
        keyed(PictureItem("classed", classed), "clBtnFace"),
        [&](TPropertyWriter& w) {
            w.Property("Scale"), Double21(w, 1.0);
            PictureItem("web", dib)(w);
            w.Property("Zoom"), Double21(w, 2.75);
            w.Property("TransparentColor"), w.Ident("clWebOrange");
        },
        [](TPropertyWriter& w) { w.Property("Name"), w.String("none"); },
        PictureItem("zero", {7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 0, 0, 0, 0}),
        PictureItem("rle8", Rle8Dib()),
        PictureItem("rle4", Rle4Dib()),
        PictureItem("table", TabledDib(24)),
        keyed(PictureItem("junk", junk), "clFuchsia"),
    });
    for (size_t i = 7; i < 11; ++i) file[i] = 0;  // the resource size
    return file;
}

// A sound list from other writers: no sound data, empty sound data, a name as a UTF-16 string
// under value type 21 followed by a double under the same code; and a resource size of 0.
inline Bytes ForeignWaves() {
    Bytes file = WaveFile({
        [](TPropertyWriter& w) { w.Property("Name"), w.String("none"); },
        [](TPropertyWriter& w) {
            w.Property("Name"), w.String("zero");
            w.Property("Wave.Data"), w.Binary({});
        },
        [](TPropertyWriter& w) {
            w.Property("Name"), w.Byte(kv::dxg::vaUString), w.U32(4);
            for (char c : std::string("Dead")) w.U16(static_cast<uint16_t>(c));
            w.Property("Volume"), Double21(w, 0.5);
            w.Property("Wave.Data"), w.Binary(Riff(8));
        },
    });
    for (size_t i = 7; i < 11; ++i) file[i] = 0;
    return file;
}

}  // namespace dxgtest
