// The Score.dtf reader on arbitrary bytes: it either reads a record or raises an error naming
// the line. A record it reads is written back byte for byte, and reads back the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Errors.h"
#include "shell/ScoreFile.h"
#include "Broken.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string bytes(reinterpret_cast<const char*>(Data), Size);
    TScoreRecord record;
    try {
        ParseScoreFile(bytes, "Score.dtf", record);
    } catch (const EConvertError&) {
        return 0;
    } catch (const EListError&) {
        return 0;
    }
    std::vector<std::string> lines;
    try {
        lines = ScoreFileLines(record, "Score.dtf");
    } catch (const EConvertError&) {
        Broken("score", "text read from the file cannot be written back");
    }
    // Only the two number lines may be respelled ("+7" is written "7").
    for (size_t i = 0; i < record.Lines.size(); ++i)
        if (i != 1 && i != 3 && lines[i] != record.Lines[i])
            Broken("score", "a line that was not changed is written back other than it was");
    const std::string again = FormatScoreFile(lines);
    TScoreRecord back;
    try {
        ParseScoreFile(again, "Score.dtf", back);
    } catch (const EFrameworkError&) {
        Broken("score", "the record written back cannot be read");
    }
    if (back.Lines != lines || back.Name != record.Name || back.Score != record.Score ||
        back.Comment != record.Comment || back.ExtraOpen != record.ExtraOpen)
        Broken("score", "the record reads back differently");
    if (FormatScoreFile(ScoreFileLines(back, "Score.dtf")) != again) Broken("score", "a second save writes other bytes");
    return 0;
}
