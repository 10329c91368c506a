#pragma once
// Files the player keeps, written so that a crash or a full disk never leaves half a file.
#include <stdexcept>
#include <string>

namespace kv {

// Path could not be replaced; Reason says why (the system's words).
struct EFileReplaceError : std::runtime_error {
    EFileReplaceError(const std::string& P, const std::string& R)
        : std::runtime_error("cannot write " + P + ": " + R), Path(P), Reason(R) {}
    std::string Path, Reason;
};

// Replaces Path with Bytes in one step: a temporary file beside it (Path.saving-XXXXXX, locked
// while it is written) is written, flushed and renamed over it, keeping the old file's
// permissions, and the folder is flushed. Temporaries that killed writes left beside Path are
// removed first. Raises EFileReplaceError.
void ReplaceFileAtomically(const std::string& Path, const std::string& Bytes);
// The whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& Path, std::string& Bytes);

}  // namespace kv
