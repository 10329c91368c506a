#pragma once
// What dxgtool reads and writes besides .dxg files: PNG pictures, WAV sounds, text files.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/Pictures.h"

namespace dxgtool {

// A failure the user can fix (bad file, bad manifest line): reported, exit status 1.
struct ToolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// RGBA or RGB PNG → TBitmap; HasAlpha when any pixel is not fully opaque.
kv::TBitmap LoadPng(const std::string& Path);
// RGBA when the bitmap HasAlpha, else RGB.
void SavePng(const std::string& Path, const kv::TBitmap& B);

struct TWavInfo {
    uint16_t Format = 0, Channels = 0, Bits = 0;
    uint32_t Rate = 0, DataBytes = 0;
    double Seconds() const;
};
// The format of a RIFF WAVE image; ToolError when it has no usable fmt and data chunks.
TWavInfo InspectWav(const std::vector<uint8_t>& Wave);

void WriteBytes(const std::string& Path, const std::vector<uint8_t>& Data);

}  // namespace dxgtool
