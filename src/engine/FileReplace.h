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
// A file read at start, whole, for a reader that must not trust it. Only a plain file of at most
// MaxBytes is read: a folder, a device or a pipe in its place is refused, not read for ever or
// waited on. Returns why it was not read ("is a folder, not a file"), "" when Bytes holds it.
std::string ReadPlayerFile(const std::string& Path, size_t MaxBytes, std::string& Bytes);
// The whole file (a plain file of any size); false when it cannot be read.
bool ReadWholeFile(const std::string& Path, std::string& Bytes);

}  // namespace kv
