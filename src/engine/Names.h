#pragma once
// Names are compared without regard to case, as the original file system and lists did: ASCII
// letters and full-width Latin letters.
#include <string>
#include <string_view>

namespace kv {

std::string FoldName(std::string_view Utf8);
inline bool SameName(std::string_view A, std::string_view B) { return FoldName(A) == FoldName(B); }

}  // namespace kv
