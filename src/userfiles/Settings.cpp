#include "userfiles/Settings.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include <toml++/toml.h>

#include "engine/FileReplace.h"

namespace kv::userfiles {

namespace fs = std::filesystem;

namespace {

const char* const KPadButtons[] = {"a",           "b",          "x",         "y",           "back",
                                   "guide",       "start",      "leftstick", "rightstick",  "leftshoulder",
                                   "rightshoulder", "dpup",     "dpdown",    "dpleft",      "dpright",
                                   "misc1",       "paddle1",    "paddle2",   "paddle3",     "paddle4"};

class TReader {
public:
    TReader(const toml::table& T, std::string File) : T_(T), File_(std::move(File)) {}

    void Int(const char* Table, const char* Key, int32_t Lo, int32_t Hi, int32_t& Out) {
        const toml::node* n = T_.at_path(std::string(Table) + "." + Key).node();
        if (!n) return;
        // Only an integer is asked for its value: the reader would convert a float, out of range or not.
        const auto v = n->is_integer() ? n->value<int64_t>() : std::nullopt;
        if (!v || *v < Lo || *v > Hi)
            Fail(Table, Key, "a whole number from " + std::to_string(Lo) + " to " + std::to_string(Hi));
        else
            Out = static_cast<int32_t>(*v);
    }
    void Bool(const char* Table, const char* Key, bool& Out) {
        const toml::node* n = T_.at_path(std::string(Table) + "." + Key).node();
        if (!n) return;
        if (!n->is_boolean())
            Fail(Table, Key, "true or false");
        else
            Out = *n->value<bool>();
    }
    void Pad(const char* Key, std::string& Out) {
        Name("gamepad", Key, IsPadButtonName, "a gamepad button name such as \"a\", \"b\" or \"start\"", Out);
    }
    void Name(const char* Table, const char* Key, bool (*Valid)(const std::string&), const std::string& Wanted,
              std::string& Out) {
        const toml::node* n = T_.at_path(std::string(Table) + "." + Key).node();
        if (!n) return;
        const auto v = n->value<std::string>();
        if (!n->is_string() || !v || !Valid(*v))
            Fail(Table, Key, Wanted);
        else
            Out = *v;
    }
    void Language(std::string& Out) {
        const toml::node* n = T_.at_path("ui.language").node();
        if (!n) return;
        const auto v = n->value<std::string>();
        int32_t count = 0;
        const char* const* names = LanguageNames(count);
        if (!n->is_string() || !v || std::find(names, names + count, *v) == names + count)
            Fail("ui", "language", "\"auto\", \"ja\" or \"en\"");
        else
            Out = *v;
    }
    std::string Error;

private:
    void Fail(const char* Table, const char* Key, const std::string& Wanted) {
        if (!Error.empty()) return;
        Error = File_ + ": " + Table + "." + Key + " must be " + Wanted;
    }
    const toml::table& T_;
    std::string File_;
};

}  // namespace

const char* const* PadButtonNames(int32_t& Count) {
    Count = static_cast<int32_t>(std::size(KPadButtons));
    return KPadButtons;
}

const char* const* LanguageNames(int32_t& Count) {
    static const char* const names[] = {"auto", "ja", "en"};
    Count = static_cast<int32_t>(std::size(names));
    return names;
}

bool IsRendererName(const std::string& Name) {
    return std::find(std::begin(RendererNames), std::end(RendererNames), Name) != std::end(RendererNames);
}

bool IsPadButtonName(const std::string& Name) {
    return std::find_if(std::begin(KPadButtons), std::end(KPadButtons), [&](const char* N) { return Name == N; }) !=
           std::end(KPadButtons);
}

TSettingsFile LoadSettings(const fs::path& Path) {
    TSettingsFile f;
    f.Path = Path;
    std::error_code ec;
    if (Path.empty() || !fs::exists(Path, ec)) return f;
    std::string text;
    if (const std::string problem = ReadPlayerFile(Path.string(), MaxSettingsBytes, text); !problem.empty()) {
        f.Error = Path.string() + ": " + problem;
        return f;
    }
    return ReadSettings(text, Path);
}

TSettingsFile ReadSettings(const std::string& Text, const fs::path& Path) {
    TSettingsFile f;
    f.Path = Path;
    toml::table t;
    try {
        t = toml::parse(Text, Path.string());
    } catch (const toml::parse_error& e) {
        std::ostringstream m;
        m << Path.string() << ":" << e.source().begin.line << ": " << e.description();
        f.Error = m.str();
        return f;
    }
    TSettings s;
    TReader r(t, Path.string());
    r.Int("window", "scale", 0, MaxScale, s.Scale);
    r.Int("window", "width", 0, 1 << 15, s.WindowWidth);
    r.Int("window", "height", 0, 1 << 15, s.WindowHeight);
    r.Bool("window", "fullscreen", s.Fullscreen);
    r.Bool("window", "vsync", s.VSync);
    r.Name("window", "renderer", IsRendererName, "\"auto\", \"gpu\" or \"software\"", s.Renderer);
    r.Int("sound", "music_volume", 0, 100, s.MusicVolume);
    r.Int("sound", "effect_volume", 0, 100, s.EffectVolume);
    r.Pad("shot", s.PadShot);
    r.Pad("bomb", s.PadBomb);
    r.Pad("slow", s.PadSlow);
    r.Pad("pause", s.PadPause);
    r.Pad("rewind", s.PadRewind);
    r.Language(s.Language);
    // All or nothing: half a hand-edited file is not what its writer meant either.
    if (!r.Error.empty())
        f.Error = r.Error;
    else
        f.Values = s;
    return f;
}

std::string FormatSettings(const TSettings& S) {
    const toml::table t{
        {"window", toml::table{{"scale", S.Scale},
                               {"width", S.WindowWidth},
                               {"height", S.WindowHeight},
                               {"fullscreen", S.Fullscreen},
                               {"vsync", S.VSync},
                               {"renderer", S.Renderer}}},
        {"sound", toml::table{{"music_volume", S.MusicVolume}, {"effect_volume", S.EffectVolume}}},
        {"gamepad", toml::table{{"shot", S.PadShot}, {"bomb", S.PadBomb}, {"slow", S.PadSlow}, {"pause", S.PadPause}, {"rewind", S.PadRewind}}},
        {"ui", toml::table{{"language", S.Language}}},
    };
    std::ostringstream out;
    out << "# Kalvento's settings, kept by the game (its settings window changes them).\n"
           "# Volumes in per cent; gamepad buttons by name: a b x y back start leftshoulder rightshoulder ...\n"
           "# renderer: auto (the GPU unless its OpenGL runs on the CPU), gpu or software.\n"
           "# Language: auto (the desktop's), ja or en.\n\n"
        << t << "\n";
    return out.str();
}

void SaveSettings(const fs::path& Path, const TSettings& S) {
    std::error_code ec;
    if (Path.has_parent_path()) fs::create_directories(Path.parent_path(), ec);
    ReplaceFileAtomically(Path.string(), FormatSettings(S));
}

bool SaveSettingsQuietly(const TSettingsFile& F, const TSettings& S, std::string& Problem) {
    if (F.Path.empty() || !F.Error.empty()) return false;
    try {
        SaveSettings(F.Path, S);
        return true;
    } catch (const std::exception& e) {
        Problem = e.what();
        return false;
    }
}

}  // namespace kv::userfiles
