#pragma once
// The attack history: for every boss attack, how often the player reached it and how often it
// was ended without losing HP, normal games and practice games apart. A text file of the data
// folder, one line an attack.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kv::userfiles {

struct TAttackCounts {
    int64_t Reached = 0;
    int64_t Unhurt = 0;  // ended without losing HP
};

struct TAttackRecord {
    std::string Phase;   // the boss phase's class, e.g. "TROneBSprite"
    std::string Attack;  // its attack name as the HUD shows it
    TAttackCounts Normal, Practice;  // Extra Stage games count as normal ones
};

class TAttackHistory {
public:
    std::vector<TAttackRecord> Attacks;  // in the order first reached

    // The record of that phase and attack, made when missing.
    TAttackRecord& Of(const std::string& Phase, const std::string& Attack);
    // The record of a phase (for a practice target); nullptr when it was never reached.
    const TAttackRecord* Find(const std::string& Phase) const;
    void Add(const TAttackHistory& More);
    bool Empty() const { return Attacks.empty(); }
};

// DataHome/attacks.txt.
std::filesystem::path AttackHistoryFile(const std::filesystem::path& DataHome);

// The most a count may reach; a game's counts added past it stop there, so the file stays
// readable.
constexpr int64_t MaxAttackCount = 999'999'999'999'999;
// A longer file is refused unread: every attack of the game takes a few kilobytes.
constexpr size_t MaxAttackHistoryBytes = 1024 * 1024;

// A missing file is an empty history. Raises std::runtime_error naming the file and line for
// anything it cannot read.
TAttackHistory LoadAttackHistory(const std::filesystem::path& File);
// The same from the file's text; Source names it in the messages.
TAttackHistory ParseAttackHistory(const std::string& Text, const std::string& Source);
std::string FormatAttackHistory(const TAttackHistory& History);
// Adds one game's counts to the file (its folder made when missing), replacing it in one step.
// A file that cannot be read is left as it is: raises std::runtime_error naming the problem.
void AddToAttackHistory(const std::filesystem::path& File, const TAttackHistory& Game);

}  // namespace kv::userfiles
