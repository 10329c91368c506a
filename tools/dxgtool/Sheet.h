#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/Pictures.h"

namespace dxgtool {

// A PNG showing every picture (enlarged when tiny) with its name, size and pattern count;
// the first pattern of a sliced picture is outlined.
void WriteSheet(const std::vector<std::unique_ptr<kv::TPictureCollectionItem>>& Items, const std::string& Out,
                const std::string& FontPath);

}  // namespace dxgtool
