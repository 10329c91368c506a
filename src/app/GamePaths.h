#pragma once
// Where a run finds the game's data and music and keeps the player's record.
#include <filesystem>
#include <string>
#include <vector>

namespace kv::app {

// A build's run folder carries this file: its Score.dtf, if any, is a leftover of older builds
// and not a classic game folder's record.
inline constexpr const char* BuildFolderMark = ".kalvento-build";

struct TPlaceInputs {
    std::string DataOption;             // --data; "" when not given
    std::filesystem::path Cwd;          // the current directory
    std::filesystem::path ExeDir;       // the program's folder
    std::filesystem::path InstallData;  // the install's data folder, relative to ExeDir
    std::filesystem::path PlayerData;   // $XDG_DATA_HOME/kalvento; "" when there is no home
};

struct TGamePlaces {
    std::string DataDir;    // "" = the current directory
    std::string MusicDir;   // with its trailing separator
    std::string ScoreFile;  // the record
    // Folders looked at for the data, in order; Missing is set when none held it.
    std::vector<std::filesystem::path> Looked;
    std::string Missing;
    // A record an older build left in its run folder, to be moved to ScoreFile.
    std::filesystem::path Leftover;
};

// The install's data folder relative to the program's, as the build was configured
// (../share/kalvento for bin/kalvento), so that an installed tree can be moved anywhere.
std::filesystem::path InstallDataFromProgram();

// The compiled message catalogues: locale beside the program in a build, else the install's
// share/locale.
std::filesystem::path LocaleDirFromProgram(const std::filesystem::path& ExeDir);

// Data: --data DIR; else the current directory when it holds Pictures.dxg; else the install's
// data folder; else the build's run folder, beside the program. The record: in DIR with --data,
// beside Pictures.dxg in a classic folder (the current directory with its own Score.dtf, not a
// build's), else in PlayerData. Music: musics beside the program, else in the data folder.
TGamePlaces FindGamePlaces(const TPlaceInputs& In);

// Moves a leftover record to the player's folder when no record is there yet. Returns what
// happened, for stderr ("" when there was nothing to do); raises std::runtime_error when the
// move failed (the leftover is then still where it was).
std::string MoveLeftoverRecord(const TGamePlaces& P);

}  // namespace kv::app
