#pragma once
// The command line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv::app {

struct TOptions {
    std::string DataDir;
    bool Headless = false;
    std::optional<int64_t> Frames;
    std::optional<uint32_t> Seed;
    std::string InputFile, RecordFile;
    std::optional<int64_t> FromFrame;      // --from: watching starts at this frame of the input
    std::optional<int64_t> TakeOverFrame;  // --take-over: the player plays on after this frame
    std::string ThenFile;                  // --then: the player's input after the take-over
    std::string Screenshot;
    std::vector<int64_t> ScreenshotAt;
    std::string LogFile;
    std::string StatsFile;  // --stats: frame timings, CPU time and memory of the run
    std::string Renderer;   // --renderer auto|gpu|software; "": as the settings say
    int32_t Scale = 0;  // 0: as the settings say, else fitted to the screen
    bool Fullscreen = false;
    std::string Lang;  // --lang: "auto", "ja" or "en"; "" as the settings say
    bool Autopilot = false;
    bool Invincible = false;
    std::string Practice;  // a stage or boss phase to start at
    bool History = false;  // --history: count the attack history also where a run would not
    std::string ExitOnEvent;
    int64_t ExitOnCount = 1;
    bool Help = false;
    bool ShowKeys = false;          // --keys
    std::vector<std::string> Bind;  // --bind STATE=KEY[,KEY…], in order

    // Found at start, not given: the record, the music folder, and why no data was found.
    std::string ScoreFile, MusicDir, DataMissing;
};

// Raises TUsageError with a message naming the option for anything it cannot accept.
struct TUsageError {
    std::string Message;
};
TOptions ParseOptions(const std::vector<std::string>& Args);
std::string UsageText();

}  // namespace kv::app
