#include "userfiles/Replays.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <stdexcept>

#include "engine/FileReplace.h"

namespace kv::userfiles {

namespace fs = std::filesystem;

namespace {

const std::string kFirstLine = "# Kalvento replay: play it back with kalvento --input FILE";
constexpr const char* kKeptFolder = "kept";

std::string LocalTime(int64_t Time, const char* Format) {
    const std::time_t t = static_cast<std::time_t>(Time);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    std::strftime(buf, sizeof buf, Format, &tm);
    return buf;
}

bool IsKeptFolder(const fs::path& Dir) { return Dir.filename() == kKeptFolder; }

void Collect(const fs::path& Dir, std::vector<TReplayInfo>& Out) {
    std::error_code ec;
    for (fs::directory_iterator it(Dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ReplayExtension || !it->is_regular_file(ec)) continue;
        TReplayInfo info;
        if (ReadReplayInfo(it->path(), info)) Out.push_back(std::move(info));
    }
}

void NewestFirst(std::vector<TReplayInfo>& List) {
    std::sort(List.begin(), List.end(), [](const TReplayInfo& A, const TReplayInfo& B) {
        return A.Time != B.Time ? A.Time > B.Time : A.Path.filename() > B.Path.filename();
    });
}

}  // namespace

fs::path ReplayDir(const fs::path& DataHome) { return DataHome / "replays"; }

std::string ReplayHeader(const TReplayInfo& I) {
    std::string h = kFirstLine + "\n";
    h += "# date: " + I.Date + "\n";
    h += "# time: " + std::to_string(I.Time) + "\n";
    h += "# mode: " + I.Mode + "\n";
    if (!I.Start.empty()) h += "# start: " + I.Start + "\n";
    h += "# score: " + std::to_string(I.Score) + "\n";
    h += "# frames: " + std::to_string(I.Frames) + "\n";
    h += "# result: " + I.Result + "\n";
    return h;
}

bool ReadReplayInfo(const fs::path& Path, TReplayInfo& Info) {
    std::ifstream in(Path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line != kFirstLine) return false;
    TReplayInfo info;
    info.Path = Path;
    info.Kept = IsKeptFolder(Path.parent_path());
    bool sawTime = false;
    // The header ends at the first line that is no comment.
    while (std::getline(in, line) && !line.empty() && line[0] == '#') {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t colon = line.find(": ");
        if (colon == std::string::npos) continue;
        const std::string key = line.substr(2, colon - 2), value = line.substr(colon + 2);
        try {
            if (key == "date") info.Date = value;
            else if (key == "time") info.Time = std::stoll(value), sawTime = true;
            else if (key == "mode") info.Mode = value;
            else if (key == "start") info.Start = value;
            else if (key == "score") info.Score = static_cast<int32_t>(std::stol(value));
            else if (key == "frames") info.Frames = std::stoll(value);
            else if (key == "result") info.Result = value;
        } catch (const std::exception&) {
            return false;
        }
    }
    if (!sawTime || info.Mode.empty()) return false;
    // The recording's own head, up to its first action, says whether the ship could be hit: the
    // comments above are only what the list shows.
    do {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] >= '0' && line[0] <= '9') break;
        if (line == "invincible") info.Invincible = true;
    } while (std::getline(in, line));
    Info = std::move(info);
    return true;
}

fs::path SaveReplay(const fs::path& Dir, TReplayInfo Info, const std::string& Body) {
    std::error_code ec;
    fs::create_directories(Dir, ec);
    if (ec) throw std::runtime_error("cannot make the replay folder " + Dir.string() + ": " + ec.message());
    Info.Date = LocalTime(Info.Time, "%Y-%m-%d %H:%M:%S");
    // Two games ending in the same second, or a kept one of that name, get a number after it.
    const std::string stem = LocalTime(Info.Time, "%Y-%m-%d_%H-%M-%S");
    fs::path path;
    for (int n = 1;; ++n) {
        const std::string name = stem + (n == 1 ? "" : "_" + std::to_string(n)) + ReplayExtension;
        path = Dir / name;
        if (!fs::exists(path, ec) && !fs::exists(Dir / kKeptFolder / name, ec)) break;
    }
    ReplaceFileAtomically(path.string(), ReplayHeader(Info) + Body);
    PruneReplays(Dir);
    return path;
}

std::vector<TReplayInfo> ListReplays(const fs::path& Dir) {
    std::vector<TReplayInfo> list;
    Collect(Dir, list);
    Collect(Dir / kKeptFolder, list);
    NewestFirst(list);
    return list;
}

fs::path SetReplayKept(const fs::path& Path, bool Kept) {
    const fs::path dir = Path.parent_path();
    if (IsKeptFolder(dir) == Kept) return Path;
    const fs::path to = Kept ? dir / kKeptFolder / Path.filename() : dir.parent_path() / Path.filename();
    std::error_code ec;
    if (Kept) fs::create_directories(to.parent_path(), ec);
    if (ec) throw std::runtime_error("cannot make the folder " + to.parent_path().string() + ": " + ec.message());
    if (fs::exists(to, ec)) throw std::runtime_error("cannot move " + Path.string() + ": " + to.string() + " is there already");
    fs::rename(Path, to, ec);
    if (ec) throw std::runtime_error("cannot move " + Path.string() + " to " + to.string() + ": " + ec.message());
    return to;
}

std::vector<fs::path> PruneReplays(const fs::path& Dir, size_t Keep) {
    std::vector<TReplayInfo> list;
    Collect(Dir, list);
    NewestFirst(list);
    std::vector<fs::path> gone;
    for (size_t i = Keep; i < list.size(); ++i) {
        std::error_code ec;
        if (fs::remove(list[i].Path, ec)) gone.push_back(list[i].Path);
    }
    return gone;
}

}  // namespace kv::userfiles
