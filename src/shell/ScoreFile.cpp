#include "shell/ScoreFile.h"

#include <climits>
#include <optional>

#include "engine/Errors.h"
#include "shell/ShiftJis.h"
#include "i18n/Tr.h"

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
    Record.Lines = SplitScoreLines(Bytes);
    const std::vector<std::string>& lines = Record.Lines;
    auto line = [&](size_t Index) -> const std::string& {
        if (Index >= lines.size())
            throw EListError(i18n::Format(N_("%s の %d 行目がありません: リストのインデックスが範囲を超えています (%d)"),
                                         {Path, std::to_string(Index + 1), std::to_string(Index)}));
        return lines[Index];
    };
    auto number = [&](size_t Index) {
        const std::string& text = line(Index);
        int32_t v = 0;
        if (!ParseScoreInteger(text, v))
            throw EConvertError(i18n::Format(N_("'%s' は有効な整数値ではありません (%s の %d 行目)"),
                                           {ShiftJisToUtf8Lossy(text), Path, std::to_string(Index + 1)}));
        return v;
    };
    Record.Name = ShiftJisToUtf8Lossy(line(0));
    Record.Score = number(1);
    Record.Comment = ShiftJisToUtf8Lossy(line(2));
    Record.ExtraOpen = number(3);
}

std::vector<std::string> ScoreFileLines(const TScoreRecord& Record, const std::string& Path) {
    std::vector<std::string> lines = Record.Lines;
    while (lines.size() < 4) lines.emplace_back();
    auto text = [&](size_t Index, const std::string& Utf8) {
        if (ShiftJisToUtf8Lossy(lines[Index]) == Utf8) return;  // unchanged: its bytes stay
        std::optional<std::string> sjis = Utf8ToShiftJis(Utf8);
        if (!sjis)
            throw EConvertError(i18n::Format(N_("%s の %d 行目に Shift-JIS で書けない文字があります"), {Path, std::to_string(Index + 1)}));
        lines[Index] = *sjis;
    };
    text(0, Record.Name);
    lines[1] = std::to_string(Record.Score);
    text(2, Record.Comment);
    lines[3] = std::to_string(Record.ExtraOpen);
    return lines;
}

std::string FormatScoreFile(const std::vector<std::string>& Lines) {
    std::string bytes;
    for (const std::string& line : Lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace kv
