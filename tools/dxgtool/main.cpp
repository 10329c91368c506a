// dxgtool: list, extract, pack and review .dxg picture and sound lists.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>

#include "Manifest.h"
#include "Media.h"
#include "Sheet.h"
#include "engine/Errors.h"
#include "engine/Names.h"
#include "engine/dxg/DxgFile.h"

namespace fs = std::filesystem;
using namespace kv;
using namespace dxgtool;

namespace {

const char* const kUsage =
    "usage: dxgtool list FILE            names, sizes, patterns and flags of a .dxg file\n"
    "       dxgtool extract FILE DIR     a PNG or WAV per item and DIR/manifest.txt\n"
    "       dxgtool pack MANIFEST OUT    build a .dxg file from a manifest\n"
    "       dxgtool sheet FILE OUT.png   a contact sheet of a picture file\n";

const char* const kFont = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";

struct UsageError {};

std::string ColorText(uint32_t C) {
    const std::string id = dxg::ColorIdent(C);
    if (!id.empty()) return id;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%06X", C);
    return hex;
}

void List(const std::string& File) {
    const auto data = dxg::ReadFileBytes(File);
    if (dxg::ProbeKind(data, File) == dxg::EKind::Pictures) {
        const auto items = dxg::ReadPictures(data, File);
        std::cout << File << ": " << items.size() << " pictures\n";
        for (size_t i = 0; i < items.size(); ++i) {
            auto& it = *items[i];
            it.Prepare(nullptr);
            std::cout << "  " << i + 1 << "  " << it.Name << "  " << it.Picture.Width << "x" << it.Picture.Height
                      << "  pattern " << it.PatternWidth << "x" << it.PatternHeight << "  skip " << it.SkipWidth << "x"
                      << it.SkipHeight << "  patterns " << it.PatternCount() << "  "
                      << (it.Transparent ? "transparent " + ColorText(it.TransparentColor) : "opaque")
                      << (it.Picture.HasAlpha ? "  alpha" : "") << (it.SystemMemory ? "  system-memory" : "")
                      << (it.Picture.Pixels.empty() ? "  (no picture data)" : "") << "\n";
        }
    } else {
        const auto items = dxg::ReadWaves(data, File);
        std::cout << File << ": " << items.size() << " sounds\n";
        for (size_t i = 0; i < items.size(); ++i) {
            const auto& it = *items[i];
            std::cout << "  " << i + 1 << "  " << it.Name << "  " << it.Wave.size() << " bytes  ";
            try {
                if (it.Wave.empty()) throw ToolError("no sound data");
                const TWavInfo w = InspectWav(it.Wave);
                char buf[96];
                std::snprintf(buf, sizeof buf, "%u Hz %u-bit %s %.2f s", w.Rate, w.Bits,
                              w.Channels == 1 ? "mono" : w.Channels == 2 ? "stereo" : "multi-channel", w.Seconds());
                std::cout << buf;
            } catch (const ToolError& e) {
                std::cout << "(" << e.what() << ")";
            }
            std::cout << (it.Looped ? "  looped" : "") << "  max playing " << it.MaxPlayingCount << "\n";
        }
    }
}

// A file name for an item: its name with characters no file system likes replaced, unique
// within the folder even where names differ only in case.
std::string FileNameFor(const std::string& Name, const char* Ext, std::set<std::string>& Used) {
    std::string base;
    for (char c : Name) base += (static_cast<unsigned char>(c) < 0x20 || std::string("/\\:*?\"<>|").find(c) != std::string::npos) ? '_' : c;
    if (base.empty() || base == "." || base == "..") base = "item";
    std::string name = base + Ext;
    for (int n = 2; !Used.insert(FoldName(name)).second; ++n) name = base + "-" + std::to_string(n) + Ext;
    return name;
}

void CheckManifestName(const std::string& Name) {
    if (Name.empty() || Name.find_first_of("\r\n") != std::string::npos || Name.front() == ' ' || Name.back() == ' ' ||
        Name.front() == '\t' || Name.back() == '\t')
        throw ToolError("the item name '" + Name + "' cannot be written to a manifest");
}

void Extract(const std::string& File, const std::string& Dir) {
    const auto data = dxg::ReadFileBytes(File);
    TManifest m;
    m.Kind = dxg::ProbeKind(data, File);
    fs::create_directories(Dir);
    std::set<std::string> used = {FoldName("manifest.txt")};
    if (m.Kind == dxg::EKind::Pictures) {
        for (const auto& it : dxg::ReadPictures(data, File)) {
            if (it->Picture.Pixels.empty()) {
                std::cerr << "dxgtool: '" << it->Name << "' has no picture data and is left out\n";
                continue;
            }
            CheckManifestName(it->Name);
            TEntry e;
            e.Name = it->Name, e.File = FileNameFor(it->Name, ".png", used);
            e.PatternWidth = it->PatternWidth, e.PatternHeight = it->PatternHeight;
            e.SkipWidth = it->SkipWidth, e.SkipHeight = it->SkipHeight;
            e.Transparent = it->Transparent, e.TransparentColor = it->TransparentColor, e.SystemMemory = it->SystemMemory;
            SavePng((fs::path(Dir) / e.File).string(), it->Picture);
            m.Entries.push_back(std::move(e));
        }
    } else {
        for (const auto& it : dxg::ReadWaves(data, File)) {
            if (it->Wave.empty()) {
                std::cerr << "dxgtool: '" << it->Name << "' has no sound data and is left out\n";
                continue;
            }
            CheckManifestName(it->Name);
            TEntry e;
            e.Name = it->Name, e.File = FileNameFor(it->Name, ".wav", used);
            e.Looped = it->Looped, e.MaxPlayingCount = it->MaxPlayingCount;
            WriteBytes((fs::path(Dir) / e.File).string(), it->Wave);
            m.Entries.push_back(std::move(e));
        }
    }
    const std::string text = FormatManifest(m, "extracted from " + fs::path(File).filename().string() + " by dxgtool");
    WriteBytes((fs::path(Dir) / "manifest.txt").string(), std::vector<uint8_t>(text.begin(), text.end()));
    std::cout << Dir << ": " << m.Entries.size() << " items and manifest.txt\n";
}

void Pack(const std::string& ManifestPath, const std::string& Out) {
    const auto bytes = dxg::ReadFileBytes(ManifestPath);
    const TManifest m = ParseManifest(std::string(bytes.begin(), bytes.end()), ManifestPath);
    const fs::path base = fs::path(ManifestPath).parent_path();
    auto where = [&](const TEntry& e) { return ManifestPath + ":" + std::to_string(e.Line) + ": [" + e.Name + "]: "; };
    if (const fs::path dir = fs::path(Out).parent_path(); !dir.empty()) fs::create_directories(dir);
    if (m.Kind == dxg::EKind::Pictures) {
        std::vector<std::unique_ptr<TPictureCollectionItem>> items;
        for (const TEntry& e : m.Entries) {
            auto it = std::make_unique<TPictureCollectionItem>();
            it->Name = e.Name;
            try {
                it->Picture = LoadPng((base / e.File).string());
            } catch (const ToolError& err) {
                throw ToolError(where(e) + err.what());
            }
            it->PatternWidth = e.PatternWidth, it->PatternHeight = e.PatternHeight;
            it->SkipWidth = e.SkipWidth, it->SkipHeight = e.SkipHeight;
            it->Transparent = e.Transparent, it->TransparentColor = e.TransparentColor, it->SystemMemory = e.SystemMemory;
            it->Prepare(nullptr);
            if (it->PatternCount() == 0)
                throw ToolError(where(e) + "a pattern of " + std::to_string(it->Width()) + "x" +
                                std::to_string(it->Height()) + " does not fit the picture of " +
                                std::to_string(it->Picture.Width) + "x" + std::to_string(it->Picture.Height));
            items.push_back(std::move(it));
        }
        std::vector<const TPictureCollectionItem*> ptrs;
        for (auto& it : items) ptrs.push_back(it.get());
        dxg::SavePictures(Out, ptrs);
    } else {
        std::vector<TWaveCollectionItem> items(m.Entries.size());
        std::vector<const TWaveCollectionItem*> ptrs;
        for (size_t i = 0; i < m.Entries.size(); ++i) {
            const TEntry& e = m.Entries[i];
            TWaveCollectionItem& it = items[i];
            it.Name = e.Name, it.Looped = e.Looped, it.MaxPlayingCount = e.MaxPlayingCount;
            try {
                it.Wave = dxg::ReadFileBytes((base / e.File).string());
                InspectWav(it.Wave);
            } catch (const ToolError& err) {
                throw ToolError(where(e) + e.File + ": " + err.what());
            } catch (const EFrameworkError& err) {
                throw ToolError(where(e) + err.what());
            }
            ptrs.push_back(&it);
        }
        dxg::SaveWaves(Out, ptrs);
    }
    std::cout << Out << ": " << m.Entries.size() << (m.Kind == dxg::EKind::Pictures ? " pictures\n" : " sounds\n");
}

void Sheet(const std::string& File, const std::string& Out) {
    const auto data = dxg::ReadFileBytes(File);
    if (dxg::ProbeKind(data, File) != dxg::EKind::Pictures) throw ToolError(File + " holds sounds, not pictures");
    WriteSheet(dxg::ReadPictures(data, File), Out, kFont);
    std::cout << Out << "\n";
}

int Run(const std::vector<std::string>& A) {
    if (A.size() == 1 && (A[0] == "-h" || A[0] == "--help")) {
        std::cout << kUsage;
        return 0;
    }
    if (A.empty()) throw UsageError{};
    const std::string& cmd = A[0];
    if (cmd == "list" && A.size() == 2) List(A[1]);
    else if (cmd == "extract" && A.size() == 3) Extract(A[1], A[2]);
    else if (cmd == "pack" && A.size() == 3) Pack(A[1], A[2]);
    else if (cmd == "sheet" && A.size() == 3) Sheet(A[1], A[2]);
    else throw UsageError{};
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError&) {
        std::cerr << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "dxgtool: " << e.what() << "\n";
        return 1;
    }
}
