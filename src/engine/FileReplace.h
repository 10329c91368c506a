#pragma once
// Files the player keeps, written so that a crash or a full disk never leaves half a file.
#include <string>

namespace kv {

// Replaces Path with Bytes in one step: a temporary file beside it is written, flushed and
// renamed over it, keeping the old file's permissions. Raises std::runtime_error naming Path.
void ReplaceFileAtomically(const std::string& Path, const std::string& Bytes);
// The whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& Path, std::string& Bytes);

}  // namespace kv
