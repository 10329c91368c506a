// settings.toml's reader on arbitrary text: it gives the defaults and an error naming the
// file, or every value in its range. Values it reads are written as the game writes them and
// read back the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "userfiles/Settings.h"
#include "Broken.h"

using namespace kv::userfiles;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    const TSettingsFile f = ReadSettings(text, "settings.toml");
    if (!f.Error.empty()) {
        if (f.Error.rfind("settings.toml", 0) != 0) Broken("settings", "an error that does not name the file");
        if (!(f.Values == TSettings{})) Broken("settings", "a file with an error changed the settings");
        return 0;
    }
    const TSettings& v = f.Values;
    if (v.Scale < 0 || v.Scale > MaxScale || v.MusicVolume < 0 || v.MusicVolume > 100 || v.EffectVolume < 0 ||
        v.EffectVolume > 100 || v.WindowWidth < 0 || v.WindowHeight < 0)
        Broken("settings", "a value out of its range was read");
    for (const std::string* b : {&v.PadShot, &v.PadBomb, &v.PadSlow, &v.PadPause})
        if (!IsPadButtonName(*b)) Broken("settings", "a gamepad button that is none was read");
    const TSettingsFile back = ReadSettings(FormatSettings(v), "again.toml");
    if (!back.Error.empty()) {
        std::fprintf(stderr, "%s\n", back.Error.c_str());
        Broken("settings", "the settings written back cannot be read");
    }
    if (!(back.Values == v)) Broken("settings", "the settings read back differently");
    return 0;
}
