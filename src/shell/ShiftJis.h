#pragma once
// Shift-JIS (code page 932) on disk, UTF-8 in memory.
#include <optional>
#include <string>

namespace kv {

// Empty when the bytes are not valid code page 932 text.
std::optional<std::string> ShiftJisToUtf8(const std::string& Sjis);
// As much as decodes; each byte that does not shows as U+FFFD.
std::string ShiftJisToUtf8Lossy(const std::string& Sjis);
// Empty when the text holds a character that code page 932 cannot hold (or is not UTF-8).
std::optional<std::string> Utf8ToShiftJis(const std::string& Utf8);

// What a name or comment field may hold: every character that survives the trip to code page
// 932 and back, as it reads after that trip; a Latin letter with an accent as its plain letter
// ("Zoë" → "Zoe"); line breaks and NUL dropped; every other character left out and added to
// Refused, so the player can be told.
std::string KeepShiftJisText(const std::string& Utf8, std::string* Refused = nullptr);

}  // namespace kv
