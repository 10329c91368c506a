#pragma once
// keys.conf in the player's configuration folder: loaded for windowed runs at the real keyboard,
// shown by --keys, changed by --bind.
#include <filesystem>
#include <iosfwd>
#include <string>

#include "app/Options.h"
#include "engine/Input.h"

namespace kv {
class TForm1;
}

namespace kv::app {

struct TPlayerKeys {
    TKeyAssignment Keys = DefaultKeyAssignment();
    std::filesystem::path File;  // the file the keys came from; empty: the defaults
    std::string Error;           // why the file was not used, "FILE:LINE: problem"
    std::string Warning;         // the defaults file could not be written
};

// Reads Dir/keys.conf. A missing file gives the defaults and, when WriteDefaults is set, a
// commented defaults file there for the player to edit (an existing file is never replaced).
// A malformed file gives the defaults and its Error, and is left as it is.
TPlayerKeys LoadPlayerKeys(const std::filesystem::path& Dir, bool WriteDefaults);

// Problems of loading on stderr; a malformed file also as an error in the event log.
void ReportPlayerKeys(const TPlayerKeys& K, TForm1& Form);

// --keys and --bind: prints the table (and problems on Err); returns the exit status.
int RunKeysCommand(const TOptions& Options, std::ostream& Out, std::ostream& Err);

}  // namespace kv::app
