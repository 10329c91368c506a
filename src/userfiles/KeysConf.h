#pragma once
// Writing key bindings into the player's keys.conf: the lines of the states given are replaced
// (or appended), every other line and comment stays as the player left it, and the old file is
// kept beside it as keys.conf.bak.
#include <filesystem>
#include <string>
#include <vector>

#include "userfiles/KeyConfig.h"

namespace kv::userfiles {

// A missing file starts from the commented defaults. A file that does not read as a key table
// is refused (EKeyConfigError naming its line) unless Rewrite is set: then it is kept as the
// .bak and a fresh file is written. Other failures raise std::runtime_error naming the file.
void WriteKeyBindings(const std::filesystem::path& File, const std::vector<TKeyBinding>& Bindings, bool Rewrite);

}  // namespace kv::userfiles
