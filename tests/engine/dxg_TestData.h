#pragma once
// Hand-built .dxg images for the container tests: a resource header, the component stream
// around a List collection, and device-independent bitmaps byte by byte.
#include <cstdint>
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

}  // namespace dxgtest
