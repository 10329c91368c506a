#include "app/GamePaths.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace kv::app {

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& P) {
    std::error_code ec;
    return fs::is_regular_file(P, ec);
}

bool HoldsData(const fs::path& Dir) { return IsFile(Dir / "Pictures.dxg"); }

std::string WithSlash(std::string Dir) {
    if (Dir.empty() || Dir.back() != '/') Dir += '/';
    return Dir;
}

}  // namespace

fs::path InstallDataFromProgram() {
#ifdef KV_DATA_FROM_BIN
    return KV_DATA_FROM_BIN;
#else
    return "../share/kalvento";
#endif
}

fs::path LocaleDirFromProgram(const fs::path& ExeDir) {
    std::error_code ec;
    if (fs::is_directory(ExeDir / "locale", ec)) return ExeDir / "locale";
#ifdef KV_LOCALE_FROM_BIN
    return (ExeDir / KV_LOCALE_FROM_BIN).lexically_normal();
#else
    return (ExeDir / "../share/locale").lexically_normal();
#endif
}

TGamePlaces FindGamePlaces(const TPlaceInputs& In) {
    TGamePlaces p;
    fs::path data;  // the chosen folder, as a path that can be tested
    bool classic = false;
    if (!In.DataOption.empty()) {
        p.DataDir = In.DataOption;
        data = In.DataOption;
        classic = true;  // the record is kept where --data says, whatever is there
    } else {
        const fs::path install = (In.ExeDir / In.InstallData).lexically_normal();
        for (const fs::path& dir : {In.Cwd, install, In.ExeDir}) {
            if (dir.empty() || std::find(p.Looked.begin(), p.Looked.end(), dir) != p.Looked.end()) continue;
            p.Looked.push_back(dir);
            if (HoldsData(dir)) {
                data = dir;
                break;
            }
        }
        if (data.empty()) {
            std::string where;
            for (const fs::path& dir : p.Looked) {
                if (!where.empty()) where += ", ";
                where += dir.string();
                if (dir == In.Cwd) where += " (the current folder)";
                else if (dir == install) where += " (the installed data)";
                else where += " (beside the program)";
            }
            p.Missing = "The game's data (Pictures.dxg and Sounds.dxg) was not found. Looked in: " + where +
                        ". Build it with `make play` in the game's source folder, or start the game with "
                        "--data DIR naming the folder that holds it.";
        } else if (data == In.Cwd) {
            // Bare names, as the game always opened them.
            const bool build = IsFile(data / BuildFolderMark);
            classic = !build && IsFile(data / "Score.dtf");
        } else {
            p.DataDir = data.string();
        }
        if (!data.empty() && IsFile(data / BuildFolderMark) && IsFile(data / "Score.dtf")) p.Leftover = data / "Score.dtf";
    }

    if (classic) {
        p.ScoreFile = p.DataDir.empty() ? "Score.dtf" : (fs::path(p.DataDir) / "Score.dtf").string();
    } else {
        if (In.PlayerData.empty())
            throw std::runtime_error("no folder for the record: set HOME or XDG_DATA_HOME");
        p.ScoreFile = (In.PlayerData / "Score.dtf").string();
    }

    const fs::path beside = In.ExeDir / "musics";
    std::error_code ec;
    if (fs::is_directory(beside, ec) || data.empty())
        p.MusicDir = WithSlash(beside.string());
    else
        p.MusicDir = WithSlash(p.DataDir.empty() ? "musics" : (fs::path(p.DataDir) / "musics").string());
    return p;
}

std::string MoveLeftoverRecord(const TGamePlaces& P) {
    if (P.Leftover.empty()) return {};
    const fs::path to = P.ScoreFile;
    std::error_code ec;
    if (fs::exists(to, ec))
        return P.Leftover.string() + " is a record left by an earlier build; the game keeps its record in " +
               to.string() + " and leaves that old file alone";
    fs::create_directories(to.parent_path(), ec);
    if (ec) throw std::runtime_error("cannot make the folder " + to.parent_path().string() + " for the record: " + ec.message());
    fs::rename(P.Leftover, to, ec);
    if (ec) {
        // Another file system: copy, then remove the old one only once the copy is whole.
        const fs::path tmp = to.string() + ".moving";
        ec.clear();
        fs::copy_file(P.Leftover, tmp, fs::copy_options::overwrite_existing, ec);
        if (!ec) fs::rename(tmp, to, ec);
        if (ec) {
            std::error_code ignored;
            fs::remove(tmp, ignored);
            throw std::runtime_error("cannot move the record " + P.Leftover.string() + " to " + to.string() + ": " +
                                     ec.message());
        }
        fs::remove(P.Leftover, ec);
    }
    return "moved the record " + P.Leftover.string() + " to " + to.string() +
           ": the game now keeps it there, out of the build folder";
}

}  // namespace kv::app
