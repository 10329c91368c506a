#pragma once
// The replay window and the practice window's history column read the player's files through
// these: the replays kept in the data folder and attacks.txt beside them.
#include <filesystem>
#include <functional>
#include <string>

#include "ui/Sources.h"
#include "userfiles/AttackHistory.h"

namespace kv::app {

class TReplayShelf : public ui::IReplayShelf {
public:
    // Dir: the replays folder. OnPlay is given the replay to watch; the run then ends and the
    // replay is played in a window of its own run.
    TReplayShelf(std::filesystem::path Dir, std::function<void(const std::string& Path)> OnPlay)
        : Dir_(std::move(Dir)), OnPlay_(std::move(OnPlay)) {}
    std::vector<ui::TReplayInfo> List() override;
    std::string Play(const std::string& Id) override;
    std::string Keep(const std::string& Id, bool Kept) override;

private:
    std::filesystem::path Dir_;
    std::function<void(const std::string&)> OnPlay_;
};

class THistorySource : public ui::IAttackHistory {
public:
    explicit THistorySource(std::filesystem::path File) : File_(std::move(File)) {}
    std::optional<ui::TAttackRecord> Find(const std::string& Phase) override;

private:
    void Reload();
    std::filesystem::path File_;
    std::filesystem::file_time_type Stamp_{};
    bool Loaded_ = false;
    userfiles::TAttackHistory History_;
};

}  // namespace kv::app
