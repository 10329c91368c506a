#pragma once
// The bytes of Score.dtf and the record they hold, without any file or window: Shift-JIS lines
// ended by CR LF (CR, LF and NUL read as line ends too), the name, the score, the comment and
// the extra-stage unlock on the first four, any further lines kept byte for byte.
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

struct TScoreRecord {
    std::vector<std::string> Lines;  // every line as it is in the file (Shift-JIS bytes)
    std::string Name, Comment;       // UTF-8; what does not decode shows as U+FFFD
    int32_t Score = 0;
    int32_t ExtraOpen = 0;
};

// Reads Bytes into Record. Path names the file in the messages. Raises EConvertError for a
// number line that is no 32-bit decimal integer, and EListError for a missing line. Record is
// filled as far as the file could be read before the error (all the lines, and the fields up
// to the bad one), so that a later save keeps what the file held.
void ParseScoreFile(const std::string& Bytes, const std::string& Path, TScoreRecord& Record);

// Lines as they are written: Record's lines with its four fields put in the first four. A name
// or comment that still reads as its line did keeps that line's bytes, whatever they are.
// Raises EConvertError naming Path and the line for a new text that Shift-JIS cannot hold.
std::vector<std::string> ScoreFileLines(const TScoreRecord& Record, const std::string& Path);

// The bytes of Lines, each followed by CR LF.
std::string FormatScoreFile(const std::vector<std::string>& Lines);

}  // namespace kv
