// The input-script reader on arbitrary text: it either reads the script or raises an error
// naming the line. A script it reads is written as a recording would be and must read back
// the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/headless/Headless.h"
#include "Broken.h"

using namespace kv::headless;

namespace {

bool Same(const TScriptAction& A, const TScriptAction& B) {
    return A.Frame == B.Frame && A.Kind == B.Kind && A.State == B.State && A.Target == B.Target && A.Text == B.Text &&
           A.Checksum == B.Checksum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    TRecording rec;
    try {
        rec = ParseRecording(text, "fuzz.txt");
    } catch (const std::runtime_error&) {
        return 0;
    }
    std::string again = "version " + std::to_string(rec.Version) + "\n";
    if (rec.HasSeed) again += "seed " + std::to_string(rec.Seed) + "\n";
    for (const TScriptAction& a : rec.Actions) again += FormatScriptAction(a) + "\n";
    TRecording back;
    try {
        back = ParseRecording(again, "again.txt");
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        Broken("script", "the script written back cannot be read");
    }
    if (back.Version != rec.Version || back.HasSeed != rec.HasSeed || back.Seed != rec.Seed ||
        back.Actions.size() != rec.Actions.size())
        Broken("script", "the script reads back differently");
    for (size_t i = 0; i < rec.Actions.size(); ++i)
        if (!Same(rec.Actions[i], back.Actions[i])) Broken("script", "an action reads back differently");
    return 0;
}
