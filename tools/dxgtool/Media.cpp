#include "Media.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/FileReplace.h"
#include "engine/dxg/ByteReader.h"

namespace dxgtool {

kv::TBitmap LoadPng(const std::string& Path) {
    int w = 0, h = 0, n = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> px(stbi_load(Path.c_str(), &w, &h, &n, 4), stbi_image_free);
    if (!px) throw ToolError("cannot read the picture " + Path + ": " + stbi_failure_reason());
    kv::TBitmap b;
    b.Width = w, b.Height = h;
    b.Pixels.resize(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < b.Pixels.size(); ++i) {
        const stbi_uc* p = px.get() + 4 * i;
        b.Pixels[i] = static_cast<uint32_t>(p[3]) << 24 | p[0] << 16 | p[1] << 8 | p[2];
        b.HasAlpha = b.HasAlpha || p[3] != 255;
    }
    return b;
}

void SavePng(const std::string& Path, const kv::TBitmap& B) {
    const int n = B.HasAlpha ? 4 : 3;
    std::vector<uint8_t> out;
    out.reserve(B.Pixels.size() * n);
    for (uint32_t px : B.Pixels) {
        out.push_back(px >> 16 & 0xFF), out.push_back(px >> 8 & 0xFF), out.push_back(px & 0xFF);
        if (n == 4) out.push_back(px >> 24);
    }
    if (!stbi_write_png(Path.c_str(), B.Width, B.Height, n, out.data(), B.Width * n))
        throw ToolError("cannot write the picture " + Path);
}

double TWavInfo::Seconds() const {
    const double bytesPerSecond = static_cast<double>(Rate) * Channels * Bits / 8;
    return bytesPerSecond > 0 ? DataBytes / bytesPerSecond : 0;
}

TWavInfo InspectWav(const std::vector<uint8_t>& W) {
    if (W.size() < 12 || std::memcmp(W.data(), "RIFF", 4) != 0 || std::memcmp(W.data() + 8, "WAVE", 4) != 0)
        throw ToolError("not a RIFF WAVE image");
    kv::dxg::TByteReader riff(W.data(), W.size(), "the WAVE image");
    riff.Skip(4, "the RIFF header");
    const uint64_t end = std::min<uint64_t>(W.size(), uint64_t{riff.U32("the RIFF size")} + 8);
    // Chunks up to the end the RIFF header declares; a chunk cut short there ends the walk.
    kv::dxg::TByteReader r(W.data() + 12, static_cast<size_t>(end - 12), "the WAVE image", 12);
    TWavInfo info;
    bool fmt = false, data = false;
    while (r.Left() >= 8) {
        const uint8_t* id = r.Bytes(4, "a chunk id");
        const uint32_t size = r.U32("a chunk size");
        if (std::memcmp(id, "fmt ", 4) == 0 && size >= 16 && r.Left() >= 16) {
            kv::dxg::TByteReader f = r;
            info.Format = f.U16("the format"), info.Channels = f.U16("the format"), info.Rate = f.U32("the format");
            f.Skip(6, "the format");
            info.Bits = f.U16("the format");
            fmt = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            info.DataBytes = static_cast<uint32_t>(std::min<uint64_t>(size, r.Left()));
            data = true;
        }
        const uint64_t skip = uint64_t{size} + (size & 1);
        if (skip > r.Left()) break;
        r.Skip(static_cast<size_t>(skip), "a chunk");
    }
    if (!fmt || !data) throw ToolError("the WAVE image has no fmt or no data chunk");
    if (info.Channels == 0 || info.Rate == 0 || info.Bits == 0) throw ToolError("the WAVE format chunk is not usable");
    return info;
}

void WriteBytes(const std::string& Path, const std::vector<uint8_t>& Data) {
    try {
        kv::ReplaceFileAtomically(Path, std::string(Data.begin(), Data.end()));
    } catch (const std::runtime_error& e) {
        throw ToolError(e.what());
    }
}

}  // namespace dxgtool
