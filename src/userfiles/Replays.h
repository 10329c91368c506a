#pragma once
// The replays kept in the data folder: every game played is saved as a recording of its own,
// named by the date and time it ended, with a few header lines for the replay list. The last
// ReplaysKept are kept; the ones the player marks (moved into kept/) are never deleted.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kv::userfiles {

// What a replay's header says about its game.
struct TReplayInfo {
    std::filesystem::path Path;
    std::string Date;    // local time the game ended, "YYYY-MM-DD HH:MM:SS"
    int64_t Time = 0;    // the same in seconds since 1970: the list's order
    std::string Mode;    // "normal", "extra" or "practice"
    std::string Start;   // a practice game's stage or boss phase; empty otherwise
    int32_t Score = 0;
    int64_t Frames = 0;  // the game's length, 60 frames a second
    std::string Result;  // "game over", "game clear" or "unfinished"
    bool Invincible = false;  // played with a ship that could not be hit
    bool Kept = false;
};

constexpr size_t ReplaysKept = 30;
inline constexpr const char* ReplayExtension = ".kvr";

// DataHome/replays.
std::filesystem::path ReplayDir(const std::filesystem::path& DataHome);

// The header lines: comments that the recording reader passes over.
std::string ReplayHeader(const TReplayInfo& Info);

// Writes the header (from Info, whose Date is filled in from Time) and Body (the recording from
// its "version" line on) into a new file of Dir, made when missing, then prunes Dir to the last
// ReplaysKept unkept replays. Returns the new file's path. Raises std::runtime_error naming the
// file or folder.
std::filesystem::path SaveReplay(const std::filesystem::path& Dir, TReplayInfo Info, const std::string& Body);

// Every replay of Dir and Dir/kept, newest first. Files that are no replay are passed over.
std::vector<TReplayInfo> ListReplays(const std::filesystem::path& Dir);
// A replay's header; false when the file cannot be read or is no replay.
bool ReadReplayInfo(const std::filesystem::path& Path, TReplayInfo& Info);

// Marks a replay of the list kept (or not); returns its new path. Raises std::runtime_error.
std::filesystem::path SetReplayKept(const std::filesystem::path& Path, bool Kept);

// Deletes the oldest unkept replays of Dir beyond Keep; returns what it deleted.
std::vector<std::filesystem::path> PruneReplays(const std::filesystem::path& Dir, size_t Keep = ReplaysKept);

}  // namespace kv::userfiles
