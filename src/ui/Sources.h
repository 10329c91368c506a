#pragma once
// What the replay window and the practice window's history column read. The program hands
// implementations to TPlayerUi; without them the windows say there is nothing to show.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv::ui {

struct TReplayInfo {
    std::string Id;     // what Play and Keep are given back
    std::string Date;   // as shown: "2024-05-01 21:30"
    std::string Mode;   // "Normal", "Extra", or the practice start's name
    int32_t Score = 0;
    int64_t Frames = 0; // length
    bool Kept = false;  // kept for good: never removed to make room
    bool Invincible = false;  // the ship could not be hit
};

class IReplayShelf {
public:
    virtual ~IReplayShelf() = default;
    // Newest first.
    virtual std::vector<TReplayInfo> List() = 0;
    // Starts playing the replay back in the window; returns "" or why it cannot be played.
    virtual std::string Play(const std::string& Id) = 0;
    // Marks or unmarks it; returns "" or why that failed.
    virtual std::string Keep(const std::string& Id, bool Kept) = 0;
};

struct TAttackCounts {
    int64_t Reached = 0;  // times the attack was met
    int64_t Cleared = 0;  // times it ended without the ship losing HP
};
struct TAttackRecord {
    TAttackCounts Normal, Practice;  // kept apart; Extra Stage games count as normal
};

class IAttackHistory {
public:
    virtual ~IAttackHistory() = default;
    // By boss phase (its practice name, "TROneASprite"); nothing when it was never met.
    virtual std::optional<TAttackRecord> Find(const std::string& Phase) = 0;
};

}  // namespace kv::ui
