// Cuts small .dxg seeds for the fuzz target out of the game's own Pictures.dxg and Sounds.dxg:
// a few items each, pictures cropped to a corner, sounds cut to their first samples, written
// by the game's own writer; and adds the hand-built files of other writers from the tests.
//   fuzz_dxg_seeds build/run/Pictures.dxg build/run/Sounds.dxg fuzz/seeds/dxg
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/Errors.h"
#include "engine/dxg/ByteReader.h"
#include "engine/dxg/DxgFile.h"
#include "engine/dxg_TestData.h"

using namespace kv;

namespace {

constexpr int32_t kSide = 12;          // largest side of a cropped picture
constexpr uint32_t kSoundBytes = 256;  // sample bytes kept of a sound

void Save(const std::string& Path, const std::vector<uint8_t>& Data) {
    std::FILE* f = std::fopen(Path.c_str(), "wb");
    if (!f || std::fwrite(Data.data(), 1, Data.size(), f) != Data.size() || std::fclose(f) != 0)
        throw std::runtime_error("cannot write " + Path);
    std::printf("%s: %zu bytes\n", Path.c_str(), Data.size());
}

TPictureCollectionItem Crop(const TPictureCollectionItem& In) {
    TPictureCollectionItem out;
    out.Name = In.Name;
    out.Transparent = In.Transparent;
    out.TransparentColor = In.TransparentColor;
    out.SystemMemory = In.SystemMemory;
    const int32_t w = std::min(In.Picture.Width, kSide), h = std::min(In.Picture.Height, kSide);
    out.Picture.Width = w;
    out.Picture.Height = h;
    out.Picture.HasAlpha = In.Picture.HasAlpha;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) out.Picture.Pixels.push_back(In.Picture.At(x, y));
    // Patterns shrink with the picture so that a few of them still fit.
    if (In.PatternWidth > 0) out.PatternWidth = std::max(1, std::min(In.PatternWidth, w / 2));
    if (In.PatternHeight > 0) out.PatternHeight = std::max(1, std::min(In.PatternHeight, h / 2));
    out.SkipWidth = std::min(In.SkipWidth, 2);
    out.SkipHeight = std::min(In.SkipHeight, 2);
    return out;
}

void PutU32At(std::vector<uint8_t>& B, size_t At, uint32_t V) {
    for (int i = 0; i < 4; ++i) B[At + i] = static_cast<uint8_t>(V >> (8 * i));
}

// The RIFF image with its data chunk cut to its first bytes; the chunks before it stay.
std::vector<uint8_t> CutWave(const std::vector<uint8_t>& W) {
    for (size_t at = 12; at + 8 <= W.size();) {
        const uint32_t len = dxg::TByteReader(&W[at + 4], 4, "a sound").U32("a chunk size");
        if (std::memcmp(&W[at], "data", 4) == 0) {
            const uint32_t keep = std::min(len, kSoundBytes);
            std::vector<uint8_t> out(W.begin(), W.begin() + at + 8 + keep);
            PutU32At(out, at + 4, keep);
            PutU32At(out, 4, static_cast<uint32_t>(out.size() - 8));
            return out;
        }
        at += 8 + len + (len & 1);
    }
    throw std::runtime_error("a sound without a data chunk");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PICTURES.dxg SOUNDS.dxg OUTDIR\n", argv[0]);
        return 2;
    }
    try {
        const auto pictures = dxg::LoadPictures(argv[1]);
        const auto sounds = dxg::LoadWaves(argv[2]);
        const std::string dir = argv[3];
        // One picture of each kind the pack holds: opaque, with alpha, cut into patterns, and
        // one file of two pictures.
        const TPictureCollectionItem *opaque = nullptr, *alpha = nullptr, *patterned = nullptr;
        for (const auto& p : pictures) {
            if (!opaque && !p->Picture.HasAlpha && p->PatternWidth == 0) opaque = p.get();
            if (!alpha && p->Picture.HasAlpha) alpha = p.get();
            if (!patterned && p->PatternWidth > 0 && p->PatternHeight > 0) patterned = p.get();
        }
        std::vector<std::pair<std::string, std::vector<const TPictureCollectionItem*>>> picks;
        for (auto [tag, item] : {std::pair{"opaque", opaque}, {"alpha", alpha}, {"patterns", patterned}})
            if (item) picks.push_back({tag, {item}});
        if (pictures.size() >= 2) picks.push_back({"two", {pictures[0].get(), pictures[1].get()}});
        for (const auto& [tag, items] : picks) {
            std::vector<TPictureCollectionItem> cropped;
            for (const auto* it : items) cropped.push_back(Crop(*it));
            std::vector<const TPictureCollectionItem*> ptrs;
            for (const auto& c : cropped) ptrs.push_back(&c);
            Save(dir + "/pictures-" + tag + ".dxg", dxg::WritePictures(ptrs));
        }
        // One sound, and two of which one loops.
        std::vector<TWaveCollectionItem> cut;
        for (const auto& s : sounds) {
            if (cut.size() == 2) break;
            if (!cut.empty() && s->Looped == cut[0].Looped && s.get() != sounds.back().get()) continue;
            TWaveCollectionItem w;
            w.Name = s->Name;
            w.Looped = s->Looped;
            w.MaxPlayingCount = s->MaxPlayingCount;
            w.Wave = CutWave(s->Wave);
            cut.push_back(std::move(w));
        }
        if (cut.empty()) throw std::runtime_error("no sounds");
        Save(dir + "/sounds-one.dxg", dxg::WriteWaves({&cut[0]}));
        if (cut.size() == 2) Save(dir + "/sounds-two.dxg", dxg::WriteWaves({&cut[0], &cut[1]}));
        // Files of other writers, hand-built as the tests build them, and bare bitmaps of the
        // kinds only they write.
        Save(dir + "/pictures-foreign.dxg", dxgtest::ForeignPictures());
        Save(dir + "/sounds-foreign.dxg", dxgtest::ForeignWaves());
        Save(dir + "/dib-rle8.bin", dxgtest::Rle8Dib());
        Save(dir + "/dib-rle4.bin", dxgtest::Rle4Dib());
        Save(dir + "/dib-table.bin", dxgtest::TabledDib(32));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
