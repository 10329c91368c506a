#pragma once
// settings.toml in the player's configuration folder: the window, its renderer, the sound
// volumes, the retrace wait and the gamepad's buttons. Written by the game, readable and editable by hand.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace kv::userfiles {

struct TSettings {
    int32_t Scale = 0;  // integer window scale; 0 until the window was first fitted to a screen
    int32_t WindowWidth = 0, WindowHeight = 0;  // client size when last closed; 0: from Scale
    bool Fullscreen = false;
    bool VSync = true;  // present on the vertical retrace
    std::string Renderer = "auto";  // how the window draws: auto, gpu or software (at start)
    int32_t MusicVolume = 100, EffectVolume = 100;  // per cent
    // Gamepad buttons by SDL's names ("a", "b", "x", "y", "leftshoulder", "start", …).
    std::string PadShot = "a", PadBomb = "b", PadSlow = "x", PadPause = "start";
    std::string PadRewind = "leftshoulder";  // held, runs a practice game backwards
    // The language the game is shown in: "auto" (the desktop's), "ja" or "en".
    std::string Language = "auto";

    bool operator==(const TSettings&) const = default;
};

inline constexpr int32_t MaxScale = 8;
// A longer file is refused unread: the game writes a few hundred bytes, and the TOML reader walks
// nested keys recursively, so a file of this size cannot nest deep enough to exhaust the stack.
inline constexpr size_t MaxSettingsBytes = 16 * 1024;

struct TSettingsFile {
    std::filesystem::path Path;
    TSettings Values;
    // Why the file could not be used ("FILE: problem"); empty when it was read or is absent.
    // Such a file is left as it is until the player saves settings on purpose.
    std::string Error;
};

// The renderer choices, in the order the settings window cycles through them.
inline constexpr const char* RendererNames[] = {"auto", "gpu", "software"};
bool IsRendererName(const std::string& Name);

// The gamepad button names a setting may hold, in the order a picker shows them.
const char* const* PadButtonNames(int32_t& Count);
bool IsPadButtonName(const std::string& Name);
// The languages a setting may hold, in the order the settings window shows them.
const char* const* LanguageNames(int32_t& Count);

// Reads Path. A missing file gives the defaults; an unreadable or malformed one gives the
// defaults and its Error.
TSettingsFile LoadSettings(const std::filesystem::path& Path);
// The same from the file's text.
TSettingsFile ReadSettings(const std::string& Text, const std::filesystem::path& Path);
// The text SaveSettings writes.
std::string FormatSettings(const TSettings& S);
// Writes Path in one step (folders made as needed). Raises std::runtime_error naming Path.
void SaveSettings(const std::filesystem::path& Path, const TSettings& S);
// What the game does on its own (the window's size at exit): skipped while the file on disk
// could not be read, so a hand-edited file with a typo is never overwritten unasked. Returns
// whether it was written; failures are reported to Problem.
bool SaveSettingsQuietly(const TSettingsFile& F, const TSettings& S, std::string& Problem);

}  // namespace kv::userfiles
