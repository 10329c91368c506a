#pragma once
// The .dxg container: a resource header followed by the binary component stream of one
// picture or sound collection component.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Pictures.h"
#include "engine/Sounds.h"

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

}  // namespace kv::dxg
