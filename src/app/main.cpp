// kalvento: the game, in a window or headless.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/GamePaths.h"
#include "app/KeysFile.h"
#include "app/Options.h"
#include "app/Run.h"
#include "app/UserDirs.h"
#include "i18n/Tr.h"

namespace {

// The folder of the executable, with its trailing separator (the music lives beside it).
std::string ExecutableDir(const char* Argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(Argv0, ec);
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

// Finds the data, the music and the record for a run, and moves a record an older build left
// in its run folder. False (with the reason on stderr) when the game cannot run.
bool FindPlaces(kv::app::TOptions& O, const std::string& ExeDir) {
    kv::app::TPlaceInputs in;
    in.DataOption = O.DataDir;
    std::error_code ec;
    in.Cwd = std::filesystem::current_path(ec);
    in.ExeDir = std::filesystem::path(ExeDir).parent_path();
    in.InstallData = kv::app::InstallDataFromProgram();
    in.PlayerData = kv::app::PlayerDataDir();
    kv::app::TGamePlaces places;
    try {
        places = kv::app::FindGamePlaces(in);
    } catch (const std::exception& e) {
        std::cerr << "kalvento: " << e.what() << "\n";
        return false;
    }
    O.DataDir = places.DataDir;
    O.ScoreFile = places.ScoreFile;
    O.MusicDir = places.MusicDir;
    O.DataMissing = places.Missing;
    try {
        const std::string said = kv::app::MoveLeftoverRecord(places);
        if (!said.empty()) std::cerr << "kalvento: " << said << "\n";
    } catch (const std::exception& e) {
        // Played from where it is this time rather than started over from an empty record.
        std::cerr << "kalvento: " << e.what() << "; the record is used where it is for now\n";
        O.ScoreFile = places.Leftover.string();
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    kv::app::TOptions options;
    try {
        options = kv::app::ParseOptions(args);
    } catch (const kv::app::TUsageError& e) {
        std::cerr << "kalvento: " << e.Message << "\n";
        return 2;
    }
    if (options.Help) {
        std::cout << kv::app::UsageText();
        return 0;
    }
    if (options.ShowKeys || !options.Bind.empty()) return kv::app::RunKeysCommand(options, std::cout, std::cerr);
    if (!options.DataDir.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_directory(options.DataDir, ec)) {
            std::cerr << "kalvento: --data: '" << options.DataDir << "' is not a folder\n";
            return 2;
        }
    }
    const std::string exeDir = ExecutableDir(argv[0]);
    if (!FindPlaces(options, exeDir)) return 1;
    kv::i18n::SetLocaleDir(kv::app::LocaleDirFromProgram(std::filesystem::path(exeDir).parent_path()).string());
    try {
        return options.Headless ? kv::app::RunHeadless(options, exeDir) : kv::app::RunWindowed(options, exeDir);
    } catch (const std::exception& e) {
        std::cerr << "kalvento: " << e.what() << "\n";
        return 1;
    }
}
