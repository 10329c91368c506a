// settings.toml: what the game writes reads back, and a file it cannot use is left alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/FileReplace.h"
#include "userfiles/Settings.h"

namespace fs = std::filesystem;
using namespace kv::userfiles;

namespace {

fs::path FreshDir(const char* Name) {
    const fs::path d = fs::path(testing::TempDir()) / Name;
    fs::remove_all(d);
    fs::create_directories(d);
    return d;
}

std::string Read(const fs::path& P) {
    std::string s;
    kv::ReadWholeFile(P.string(), s);
    return s;
}

}  // namespace

TEST(Settings, WrittenValuesReadBackAndAMissingFileGivesTheDefaults) {
    const fs::path file = FreshDir("settings_round") / "sub" / "settings.toml";
    const TSettingsFile none = LoadSettings(file);
    EXPECT_TRUE(none.Error.empty());
    EXPECT_EQ(none.Values, TSettings{});

    TSettings s;
    s.Scale = 3;
    s.WindowWidth = 1000;
    s.WindowHeight = 700;
    s.Fullscreen = true;
    s.VSync = false;
    s.Renderer = "software";
    s.MusicVolume = 0;
    s.EffectVolume = 55;
    s.PadShot = "rightshoulder";
    s.PadPause = "back";
    SaveSettings(file, s);
    const TSettingsFile back = LoadSettings(file);
    EXPECT_TRUE(back.Error.empty()) << back.Error;
    EXPECT_EQ(back.Values, s);
}

TEST(Settings, ABadFileIsReportedGivesDefaultsAndIsNeverOverwrittenUnasked) {
    const fs::path dir = FreshDir("settings_bad");
    struct TCase {
        const char* Text;
        const char* Named;  // what the error must mention
    } cases[] = {
        {"[window]\nscale = 2\nfullscreen = yes\n", ":4"},                     // not TOML: the line
        {"[window]\nvsync = false\nscale = 12\n", "window.scale"},            // out of range
        {"[sound]\neffect_volume = 9\nmusic_volume = \"loud\"\n", "sound.music_volume"},  // type
        {"[window]\nscale = 2\n[gamepad]\nshot = \"trigger\"\n", "gamepad.shot"},  // no such button
        {"[window]\nrenderer = \"fast\"\n", "window.renderer"},                 // no such renderer
        {"[window]\nwidth = 9e63\n", "window.width"},  // a float, beyond any integer
    };
    for (const TCase& c : cases) {
        const fs::path file = dir / "settings.toml";
        std::ofstream(file, std::ios::binary) << "# edited by hand\n" << c.Text;
        const std::string before = Read(file);
        const TSettingsFile f = LoadSettings(file);
        EXPECT_NE(f.Error.find(file.string()), std::string::npos) << f.Error;
        EXPECT_NE(f.Error.find(c.Named), std::string::npos) << f.Error;
        EXPECT_EQ(f.Values, TSettings{}) << "all defaults, not half the file";
        std::string problem;
        TSettings changed;
        changed.Scale = 2;
        EXPECT_FALSE(SaveSettingsQuietly(f, changed, problem));
        EXPECT_EQ(Read(file), before);
    }
}

TEST(Settings, QuietSavesWriteAGoodFileAndReportAnUnwritableOne) {
    const fs::path dir = FreshDir("settings_quiet");
    TSettingsFile f = LoadSettings(dir / "settings.toml");
    TSettings s;
    s.Scale = 2;
    std::string problem;
    EXPECT_TRUE(SaveSettingsQuietly(f, s, problem)) << problem;
    EXPECT_EQ(LoadSettings(f.Path).Values.Scale, 2);

    f.Path = dir / "settings.toml" / "not-a-folder" / "settings.toml";
    EXPECT_FALSE(SaveSettingsQuietly(f, s, problem));
    EXPECT_NE(problem.find("not-a-folder"), std::string::npos) << problem;
}
