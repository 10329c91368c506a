#pragma once
// The .dxg container: a resource header followed by the binary component stream of one
// picture or sound collection component.
//
// Layout written (and read; the reader also takes the variants noted):
//   resource header: 0xFF; u16 type 10; the component class name in capitals, zero-terminated;
//                    u16 flags 0x1030; u32 size of the component stream that follows (read:
//                    not trusted, the stream runs to the end of the file).
//   component stream: "TPF0", class TPictureCollectionComponent or TWaveCollectionComponent,
//                    object name, property List = a collection with one item per picture or
//                    sound, end of properties, end of (no) children.
//   picture item:    Name (string), Picture.Data (binary; none for an empty picture), PatternWidth, PatternHeight,
//                    SkipWidth, SkipHeight (integers), SystemMemory, Transparent (booleans),
//                    TransparentColor (a colour identifier where the colour has one, else an
//                    integer 0x00BBGGRR; read also: system and web colour identifiers, and
//                    system colours as numbers, see Colors.h).
//                    Picture.Data = short string "TBitmap", u32 byte count, BMP file image
//                    (24-bit, or 32-bit with an alpha mask when the picture has alpha). Read
//                    also: the data without the class name, without the count, or a bare DIB;
//                    another graphic class name in front of the same; any property named
//                    Picture… with a binary value. An item without picture data, or whose data
//                    is empty, is read as an empty picture (it draws nothing).
//   sound item:      Name, Wave.Data (binary: the RIFF WAVE image; none for an empty sound), Looped (boolean),
//                    MaxPlayingCount (integer). Read also: any property named Wave… with a
//                    binary value, the image after a class name and/or a u32 byte count; no
//                    sound data or empty sound data (the item plays nothing).
//   Strings are written as short strings when ASCII, else as UTF-8 strings; 8-bit strings that
//   are not valid UTF-8 are read as Shift-JIS; UTF-16 strings are read too. Unknown properties
//   are skipped whatever their value type.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Pictures.h"
#include "engine/Sounds.h"
#include "engine/dxg/Colors.h"

namespace kv::dxg {

// Read a file. A missing file raises EFOpenError; a malformed one EStreamError whose message
// names the file and what is wrong ("不正なストリーム フォーマット" for a bad header).
std::vector<std::unique_ptr<TPictureCollectionItem>> LoadPictures(const std::string& Path);
std::vector<std::unique_ptr<TWaveCollectionItem>> LoadWaves(const std::string& Path);

// The same from memory; Source names the data in error messages.
std::vector<std::unique_ptr<TPictureCollectionItem>> ReadPictures(const std::vector<uint8_t>& Data,
                                                                  const std::string& Source);
std::vector<std::unique_ptr<TWaveCollectionItem>> ReadWaves(const std::vector<uint8_t>& Data,
                                                            const std::string& Source);

std::vector<uint8_t> WritePictures(const std::vector<const TPictureCollectionItem*>& Items);
std::vector<uint8_t> WriteWaves(const std::vector<const TWaveCollectionItem*>& Items);
void SavePictures(const std::string& Path, const std::vector<const TPictureCollectionItem*>& Items);
void SaveWaves(const std::string& Path, const std::vector<const TWaveCollectionItem*>& Items);

// What a file holds, from its header and component class (EStreamError when neither list).
enum class EKind { Pictures, Sounds };
EKind ProbeKind(const std::vector<uint8_t>& Data, const std::string& Source);

// The whole file; EFOpenError when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string& Path);

}  // namespace kv::dxg
