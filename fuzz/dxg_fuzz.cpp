// The .dxg reader on arbitrary bytes: it either reads the file or raises EStreamError naming
// the problem. What it reads as pictures or sounds is written back and must read the same.
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <vector>

#include "engine/Errors.h"
#include "engine/dxg/Dib.h"
#include "engine/dxg/DxgFile.h"
#include "Broken.h"

using namespace kv;

namespace {

std::vector<const TPictureCollectionItem*> Ptrs(const std::vector<std::unique_ptr<TPictureCollectionItem>>& V) {
    std::vector<const TPictureCollectionItem*> out;
    for (auto& p : V) out.push_back(p.get());
    return out;
}

std::vector<const TWaveCollectionItem*> Ptrs(const std::vector<std::unique_ptr<TWaveCollectionItem>>& V) {
    std::vector<const TWaveCollectionItem*> out;
    for (auto& p : V) out.push_back(p.get());
    return out;
}

void Pictures(const std::vector<uint8_t>& Data) {
    std::vector<std::unique_ptr<TPictureCollectionItem>> items;
    try {
        items = dxg::ReadPictures(Data, "fuzz.dxg");
    } catch (const EStreamError&) {
        return;
    }
    // Patterns are cut from sizes the file gives.
    for (auto& it : items) it->Prepare(nullptr);
    std::vector<uint8_t> again;
    try {
        again = dxg::WritePictures(Ptrs(items));
    } catch (const EStreamError&) {
        return;  // a name longer than a short string, say: the writer refuses it by name
    }
    const auto back = dxg::ReadPictures(again, "again.dxg");
    if (back.size() != items.size()) Broken("dxg", "the pictures written back are not as many");
    for (size_t i = 0; i < items.size(); ++i) {
        const TPictureCollectionItem &a = *items[i], &b = *back[i];
        if (a.Name != b.Name || a.PatternWidth != b.PatternWidth || a.PatternHeight != b.PatternHeight ||
            a.SkipWidth != b.SkipWidth || a.SkipHeight != b.SkipHeight || a.Transparent != b.Transparent ||
            a.TransparentColor != b.TransparentColor || a.SystemMemory != b.SystemMemory)
            Broken("dxg", "a picture's properties read back differently");
        if (a.Picture.Width != b.Picture.Width || a.Picture.Height != b.Picture.Height ||
            a.Picture.HasAlpha != b.Picture.HasAlpha || a.Picture.Pixels != b.Picture.Pixels)
            Broken("dxg", "a picture's pixels read back differently");
    }
}

void Waves(const std::vector<uint8_t>& Data) {
    std::vector<std::unique_ptr<TWaveCollectionItem>> items;
    try {
        items = dxg::ReadWaves(Data, "fuzz.dxg");
    } catch (const EStreamError&) {
        return;
    }
    std::vector<uint8_t> again;
    try {
        again = dxg::WriteWaves(Ptrs(items));
    } catch (const EStreamError&) {
        return;
    }
    const auto back = dxg::ReadWaves(again, "again.dxg");
    if (back.size() != items.size()) Broken("dxg", "the sounds written back are not as many");
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i]->Name != back[i]->Name || items[i]->Wave != back[i]->Wave ||
            items[i]->Looped != back[i]->Looped || items[i]->MaxPlayingCount != back[i]->MaxPlayingCount)
            Broken("dxg", "a sound reads back differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::vector<uint8_t> data(Data, Data + Size);
    try {
        dxg::ProbeKind(data, "fuzz.dxg");
    } catch (const EStreamError&) {
    }
    Pictures(data);
    Waves(data);
    // The bitmap decoder on its own, as a picture's data would hand it the bytes.
    try {
        dxg::DecodeDib(Data, Size, "fuzz.bmp", 0);
    } catch (const EStreamError&) {
    }
    return 0;
}
