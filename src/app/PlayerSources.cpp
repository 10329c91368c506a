#include "app/PlayerSources.h"

#include "app/RecordingCheck.h"
#include "userfiles/Replays.h"
#include "i18n/Tr.h"

namespace kv::app {

namespace fs = std::filesystem;

std::vector<ui::TReplayInfo> TReplayShelf::List() {
    std::vector<ui::TReplayInfo> out;
    for (const userfiles::TReplayInfo& r : userfiles::ListReplays(Dir_)) {
        ui::TReplayInfo i;
        i.Id = r.Path.string();
        i.Date = r.Date.substr(0, 16);  // to the minute
        i.Mode = r.Mode == "practice" ? r.Start : r.Mode == "extra" ? "Extra" : "Normal";
        i.Score = r.Score;
        i.Frames = r.Frames;
        i.Kept = r.Kept;
        i.Invincible = r.Invincible;
        out.push_back(std::move(i));
    }
    return out;
}

std::string TReplayShelf::Play(const std::string& Id) {
    userfiles::TReplayInfo info;
    if (!userfiles::ReadReplayInfo(Id, info)) return i18n::Format(N_("リプレイ %s を読めません"), {Id});
    // Checked whole here, so a replay that cannot be played is explained in this window.
    try {
        LoadRecording(Id);
    } catch (const std::exception& e) {
        // The folder is the replay window's own: the file's name says enough.
        std::string why = e.what();
        if (why.rfind(Id, 0) == 0) why = fs::path(Id).filename().string() + why.substr(Id.size());
        return i18n::Format(N_("このリプレイは再生できません：\n%s"), {why});
    }
    if (OnPlay_) OnPlay_(Id);
    return {};
}

std::string TReplayShelf::Keep(const std::string& Id, bool Kept) {
    try {
        userfiles::SetReplayKept(Id, Kept);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

void THistorySource::Reload() {
    std::error_code ec;
    const fs::file_time_type stamp = fs::last_write_time(File_, ec);
    if (Loaded_ && !ec && stamp == Stamp_) return;
    Loaded_ = true;
    Stamp_ = ec ? fs::file_time_type{} : stamp;
    try {
        History_ = userfiles::LoadAttackHistory(File_);
    } catch (const std::exception&) {
        // Reported when a game's counts are added; the column shows nothing meanwhile.
        History_ = {};
    }
}

std::optional<ui::TAttackRecord> THistorySource::Find(const std::string& Phase) {
    Reload();
    const userfiles::TAttackRecord* r = History_.Find(Phase);
    if (!r) return std::nullopt;
    return ui::TAttackRecord{{r->Normal.Reached, r->Normal.Unhurt}, {r->Practice.Reached, r->Practice.Unhurt}};
}

}  // namespace kv::app
