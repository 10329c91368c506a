#pragma once
// The bytes of Score.dtf and the record they hold, without any file or window: Shift-JIS lines
// ended by CR LF (CR, LF and NUL read as line ends too), the name, the score, the comment and
// the extra-stage unlock on the first four, any further lines kept as they are.
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

struct TScoreRecord {
    std::vector<std::string> Lines;  // UTF-8, every line that could be read
    std::string Name, Comment;       // UTF-8
    int32_t Score = 0;
    int32_t ExtraOpen = 0;
};

// Reads Bytes into Record. Path names the file in the messages. Raises EConvertError for a
// line that is not Shift-JIS text or a number line that is no 32-bit decimal integer, and
// EListError for a missing line. Record is filled as far as the file could be read before the
// error (the readable lines, and the fields up to the bad one), so that a later save keeps
// what was readable.
void ParseScoreFile(const std::string& Bytes, const std::string& Path, TScoreRecord& Record);

// Lines as they are written: Record's lines with its four fields put in the first four.
std::vector<std::string> ScoreFileLines(const TScoreRecord& Record);

// The bytes of Lines, each in Shift-JIS followed by CR LF. Raises EConvertError naming Path
// and the line for text that Shift-JIS cannot hold.
std::string FormatScoreFile(const std::vector<std::string>& Lines, const std::string& Path);

}  // namespace kv
