#pragma once
// The player's key table as a small text file, keys.conf:
//
//     # comment
//     up   = K, Up, Keypad 8
//     shot = Z, Space
//     slow =
//
// States: up down left right shot bomb slow, and button1 … button32 (shot, bomb and slow are
// button1, button2 and button3); and rewind, the command key of practice games. Up to three keys a state; a state the file does not list keeps
// its default keys, an empty right side leaves it without a key. Keys are scancodes, written with
// SDL's names ("Left Shift", "Keypad 8", "F2" …, any letter case) or as "#NN" for any code.
// A comment is a whole line starting with '#': "#" and "Keypad #" are key names too.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/Input.h"

namespace kv {

// A key table file that cannot be read as one: the message starts with "FILE:LINE: ".
class EKeyConfigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest scancode a key table may hold ("#511").
constexpr uint16_t MaxKeyCode = 511;
// A longer keys.conf is refused unread: a full table with comments is a few kilobytes.
constexpr size_t MaxKeyConfigBytes = 64 * 1024;

// The name of a key: SDL's name, "Shift" for the slot that reads either shift key, "#NN" for a
// code without a name (or one whose name could not be read back, such as ",").
std::string KeyName(uint16_t Code);
// The code of a key name or "#NN"; nothing for an unknown name. Letter case does not matter.
std::optional<uint16_t> KeyCode(std::string_view Name);

// Every named key, for the tests that compare the names with SDL's.
struct TKeyNameEntry {
    uint16_t Code;
    const char* Name;
};
const TKeyNameEntry* KeyNameTable(size_t& Count);

// The slot a name in the file stands for: a state's name, or "rewind" (ksRewind).
std::optional<int32_t> KeySlotOf(std::string_view Name);
std::string KeySlotName(int32_t Slot);

// One "state = key, key" assignment, as in the file or on the command line.
struct TKeyBinding {
    int32_t State = 0;
    std::array<uint16_t, 3> Keys{};
};
// Raises EKeyConfigError with "Where: problem" for anything it cannot accept.
TKeyBinding ParseKeyBinding(std::string_view Text, const std::string& Where);

// Reads a whole file's text over the default table. LineOf (when given) receives, per state,
// the line that set it (0: not listed). Raises EKeyConfigError naming FileName:line.
TKeyAssignment ParseKeyConfig(std::string_view Text, const std::string& FileName,
                              std::array<int32_t, KeySlotCount>* LineOf = nullptr);

// "up = K, Up, Keypad 8": a binding line as the file has it.
std::string FormatKeyBinding(int32_t State, const std::array<uint16_t, 3>& Keys);
// One binding line a state: the seven the game reads, and the others that have keys or that have
// keys by default.
std::string FormatKeyLines(const TKeyAssignment& Table);
// A complete file for Table, with comments explaining how to edit it. Reads back as Table.
std::string FormatKeyConfig(const TKeyAssignment& Table);
// Text with the binding applied: its line replaced where the state is listed, else appended.
// Text must be a valid file (raises EKeyConfigError otherwise); its other lines stay as they are.
std::string RebindKeyConfig(std::string_view Text, const std::string& FileName, const TKeyBinding& Binding);

}  // namespace kv
