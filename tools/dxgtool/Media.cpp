#include "Media.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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
    auto u16 = [&](size_t at) { return static_cast<uint16_t>(W[at] | W[at + 1] << 8); };
    auto u32 = [&](size_t at) { return static_cast<uint32_t>(u16(at) | u16(at + 2) << 16); };
    if (W.size() < 12 || std::memcmp(W.data(), "RIFF", 4) != 0 || std::memcmp(W.data() + 8, "WAVE", 4) != 0)
        throw ToolError("not a RIFF WAVE image");
    const uint64_t end = std::min<uint64_t>(W.size(), uint64_t{u32(4)} + 8);
    TWavInfo info;
    bool fmt = false, data = false;
    for (uint64_t at = 12; at + 8 <= end;) {
        const uint32_t size = u32(at + 4);
        if (std::memcmp(&W[at], "fmt ", 4) == 0 && size >= 16 && at + 8 + 16 <= end) {
            info.Format = u16(at + 8), info.Channels = u16(at + 10), info.Rate = u32(at + 12), info.Bits = u16(at + 22);
            fmt = true;
        } else if (std::memcmp(&W[at], "data", 4) == 0) {
            info.DataBytes = static_cast<uint32_t>(std::min<uint64_t>(size, end - at - 8));
            data = true;
        }
        at += 8 + uint64_t{size} + (size & 1);
    }
    if (!fmt || !data) throw ToolError("the WAVE image has no fmt or no data chunk");
    if (info.Channels == 0 || info.Rate == 0 || info.Bits == 0) throw ToolError("the WAVE format chunk is not usable");
    return info;
}

void WriteBytes(const std::string& Path, const std::vector<uint8_t>& Data) {
    std::FILE* f = std::fopen(Path.c_str(), "wb");
    if (!f) throw ToolError("cannot create " + Path + ": " + std::strerror(errno));
    const bool ok = std::fwrite(Data.data(), 1, Data.size(), f) == Data.size();
    if (std::fclose(f) != 0 || !ok) throw ToolError("cannot write " + Path + ": " + std::strerror(errno));
}

}  // namespace dxgtool
