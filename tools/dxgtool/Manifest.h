#pragma once
// The manifest that pack reads and extract writes: UTF-8 text, '#' comment lines, first
// "kind pictures" or "kind sounds", then per item in file order a line "[Name]" and
// "key = value" lines.
//   pictures: file (PNG, relative to the manifest's folder), PatternWidth, PatternHeight,
//             SkipWidth, SkipHeight (integers, 0), Transparent (0/1, 1),
//             TransparentColor (decimal, 0x hex or a colour identifier, clBlack),
//             SystemMemory (0/1, 0)
//   sounds:   file (WAV), Looped (0/1, 0), MaxPlayingCount (integer, 0)
#include <cstdint>
#include <string>
#include <vector>

#include "engine/dxg/DxgFile.h"

namespace dxgtool {

struct TEntry {
    std::string Name;
    int Line = 0;      // of the [Name] line
    std::string File;  // as written
    int32_t PatternWidth = 0, PatternHeight = 0, SkipWidth = 0, SkipHeight = 0;
    bool Transparent = true;
    uint32_t TransparentColor = 0;
    bool SystemMemory = false;
    bool Looped = false;
    int32_t MaxPlayingCount = 0;
};

struct TManifest {
    kv::dxg::EKind Kind = kv::dxg::EKind::Pictures;
    std::vector<TEntry> Entries;
};

// ToolError "SOURCE:LINE: what is wrong" for anything the format does not allow.
TManifest ParseManifest(const std::string& Text, const std::string& Source);
// Every key written out, so that pack gives back exactly the same items.
std::string FormatManifest(const TManifest& M, const std::string& Comment);

}  // namespace dxgtool
