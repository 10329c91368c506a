#include "shell/ScoreFile.h"

#include <climits>
#include <optional>

#include "engine/Errors.h"
#include "shell/ShiftJis.h"

namespace kv {

namespace {

// A line ends at CR LF, a lone CR, a lone LF or a NUL; a final break adds no empty line.
std::vector<std::string> SplitScoreLines(const std::string& Bytes) {
    std::vector<std::string> lines;
    std::string line;
    size_t i = 0;
    while (i < Bytes.size()) {
        char c = Bytes[i];
        if (c == '\r' || c == '\n' || c == '\0') {
            lines.push_back(line);
            line.clear();
            i += (c == '\r' && i + 1 < Bytes.size() && Bytes[i + 1] == '\n') ? 2 : 1;
        } else {
            line += c;
            ++i;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// A 32-bit signed decimal integer, optionally signed, with spaces around it allowed.
bool ParseScoreInteger(const std::string& Text, int32_t& Value) {
    size_t i = 0, n = Text.size();
    while (i < n && (Text[i] == ' ' || Text[i] == '\t')) ++i;
    while (n > i && (Text[n - 1] == ' ' || Text[n - 1] == '\t')) --n;
    bool negative = false;
    if (i < n && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';
    if (i == n) return false;
    int64_t v = 0;
    for (; i < n; ++i) {
        if (Text[i] < '0' || Text[i] > '9') return false;
        v = v * 10 + (Text[i] - '0');
        if (v > int64_t{INT32_MAX} + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    Value = static_cast<int32_t>(v);
    return true;
}

}  // namespace

void ParseScoreFile(const std::string& Bytes, const std::string& Path, TScoreRecord& Record) {
    std::vector<std::string> raw = SplitScoreLines(Bytes);
    std::vector<std::string>& lines = Record.Lines;
    lines.clear();
    // Lines are taken up to the first one that is not Shift-JIS text.
    const size_t kNone = static_cast<size_t>(-1);
    size_t badText = kNone;
    for (size_t i = 0; i < raw.size() && badText == kNone; ++i) {
        if (std::optional<std::string> text = ShiftJisToUtf8(raw[i]))
            lines.push_back(*text);
        else
            badText = i;
    }
    auto lineError = [&](size_t Index) -> std::string {
        return Path + " の " + std::to_string(Index + 1) + " 行目";
    };
    auto throwBadText = [&] {
        throw EConvertError(lineError(badText) + "が Shift-JIS の文字として読めません");
    };
    auto line = [&](size_t Index) -> const std::string& {
        if (Index >= lines.size()) {
            if (Index == badText) throwBadText();
            throw EListError(lineError(Index) + "がありません: " + ListIndexMessage(static_cast<long>(Index)));
        }
        return lines[Index];
    };
    auto number = [&](size_t Index) {
        const std::string& text = line(Index);
        int32_t v = 0;
        if (!ParseScoreInteger(text, v))
            throw EConvertError("'" + text + "' は有効な整数値ではありません (" + lineError(Index) + ")");
        return v;
    };
    Record.Name = line(0);
    Record.Score = number(1);
    Record.Comment = line(2);
    Record.ExtraOpen = number(3);
    if (badText != kNone) throwBadText();
}

std::vector<std::string> ScoreFileLines(const TScoreRecord& Record) {
    std::vector<std::string> lines = Record.Lines;
    while (lines.size() < 4) lines.emplace_back();
    lines[0] = Record.Name;
    lines[1] = std::to_string(Record.Score);
    lines[2] = Record.Comment;
    lines[3] = std::to_string(Record.ExtraOpen);
    return lines;
}

std::string FormatScoreFile(const std::vector<std::string>& Lines, const std::string& Path) {
    std::string bytes;
    for (size_t i = 0; i < Lines.size(); ++i) {
        std::optional<std::string> sjis = Utf8ToShiftJis(Lines[i]);
        if (!sjis)
            throw EConvertError(Path + " の " + std::to_string(i + 1) + " 行目に Shift-JIS で書けない文字があります");
        bytes += *sjis;
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace kv
