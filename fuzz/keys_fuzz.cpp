// The key table's reader on arbitrary text: it either reads a table or raises EKeyConfigError
// naming the line. A table it reads is written as the game writes it and reads back the same,
// and rebinding one state (as --bind does) changes that state alone.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "userfiles/KeyConfig.h"
#include "Broken.h"

using namespace kv;

namespace {

TKeyAssignment ReadBack(const std::string& Text, const char* What) {
    try {
        return ParseKeyConfig(Text, "again.conf");
    } catch (const EKeyConfigError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        Broken("keys", What);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    TKeyAssignment table;
    try {
        table = ParseKeyConfig(text, "keys.conf");
    } catch (const EKeyConfigError&) {
        return 0;
    }
    if (ReadBack(FormatKeyConfig(table), "the table written back cannot be read") != table)
        Broken("keys", "the table reads back differently");
    TKeyBinding b;
    b.State = static_cast<int32_t>(Size % InputStateCount);
    b.Keys = {*KeyCode("Z"), *KeyCode("Keypad 8"), 0};
    TKeyAssignment want = table;
    want[static_cast<size_t>(b.State)] = b.Keys;
    std::string rebound;
    try {
        rebound = RebindKeyConfig(text, "keys.conf", b);
    } catch (const EKeyConfigError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        Broken("keys", "a file that reads cannot be rebound");
    }
    if (ReadBack(rebound, "the rebound file cannot be read") != want) Broken("keys", "rebinding changed more than its state");
    return 0;
}
