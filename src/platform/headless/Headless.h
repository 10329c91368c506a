#pragma once
// In-memory services: no window and no audio device. Every run is exactly repeatable.
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "engine/Input.h"
#include "engine/Music.h"
#include "engine/Sounds.h"
#include "engine/Surface.h"
#include "engine/Widgets.h"

namespace kv::headless {

// A surface that keeps no pixels but remembers what was drawn in the last frame.
class TRecordingSurface : public ISurface {
public:
    struct TDraw {
        std::string Picture;
        TDrawParams Params;
    };
    struct TText {
        int32_t X, Y;
        std::string Text;
        TColor Color;
        int32_t Points;
    };
    int32_t SurfaceWidth() const override { return 321; }
    int32_t SurfaceHeight() const override { return 481; }
    void Fill(uint32_t Color) override;
    void Prepare(TPictureCollectionItem&) override {}
    void DrawPicture(const TPictureCollectionItem& Item, const TDrawParams& P) override;
    void TextOut(int32_t X, int32_t Y, const std::string& Utf8, TColor Color, int32_t Points) override;
    bool Blind() const override { return !Record; }

    bool Record = true;
    int32_t Fills = 0;
    std::vector<TDraw> Draws;  // since the last Fill
    std::vector<TText> Texts;
};

// A keyboard whose keys a script presses. States are pressed through their first key.
class TScriptedKeyboard : public IKeyboardSource {
public:
    bool Foreground() const override { return Focused; }
    bool KeyDown(uint16_t Code) const override { return Code < Down_.size() && Down_[Code]; }
    void SetKey(uint16_t Code, bool Down) {
        if (Code < Down_.size()) Down_[Code] = Down;
    }
    void SetState(int32_t State, bool Down) { SetKey(DefaultKeyAssignment()[State][0], Down); }
    void ReleaseAll() { Down_.assign(Down_.size(), false); }
    bool Focused = true;

private:
    std::vector<bool> Down_ = std::vector<bool>(512, false);
};

// A sound device that plays nothing and records every play. A voice counts as playing for
// a given number of frames (its sound's length at 60 frames per second).
class TRecordingAudio : public IAudioDevice {
public:
    bool Initialized() const override { return true; }
    void Prepare(TWaveCollectionItem& Item) override;
    int32_t NewVoice(TWaveCollectionItem& Item) override;
    bool IsPlaying(int32_t Voice) const override;
    void Start(int32_t Voice, bool Looped) override;
    void AdvanceFrame() { Now_++; }

    struct TPlay {
        std::string Name;
        int32_t Voice;
        int64_t Frame;
    };
    bool Record = true;  // off: nothing is kept of what was played (a long run's memory stays flat)
    std::vector<TPlay> Plays;
    std::vector<std::string> Names() const;
    int64_t CountOf(const std::string& Name) const;

private:
    struct TVoice {
        TWaveCollectionItem* Item;
        int64_t Until = -1;
        bool Looped = false;
    };
    std::vector<TVoice> Voices_;
    int64_t Now_ = 0;
};

// A media player without sound: opens only files that exist (when RequireFiles), records
// the commands, and ends a play when told to or when it is stopped. As the SDL player, it
// notifies the end of the latest play only: a new play drops the notifications still pending.
class TFakeMusic : public IMusicPlayer {
public:
    void Open(const std::string& Path) override;
    void Rewind() override { Calls.push_back("rewind"); }
    void Play() override;
    void Stop() override;
    bool IsOpen() const override { return Open_; }

    // The track played to its end.
    void EndTrack();
    // Deliver the notifications of ended plays (the app does this between frames).
    void DeliverNotifications();

    bool RequireFiles = false;
    std::vector<std::string> Calls;  // "open PATH", "rewind", "play", "stop"
    std::string OpenPath;
    bool PlayingNow = false;

private:
    bool Open_ = false;
    int32_t PendingNotifications_ = 0;
};

// Message boxes that close themselves at once and remember their texts.
class TAutoDialogs : public IDialogs {
public:
    void ShowMessage(const std::string& Title, const std::string& Text) override { Messages.push_back(Text); }
    std::vector<std::string> Messages;
};

// The input script: one action a line, frames counted from 1.
struct TScriptAction {
    int64_t Frame = 0;
    // TakeOver: from here on a player plays the replayed game, as a practice game.
    // Rewind: on this frame of the recording a practice game goes back instead of on (the
    // recording's frames count on; the game's frame goes back).
    enum TKind { Press, Release, Click, Type, Timer, Check, Practice, TakeOver, Rewind } Kind = Press;
    int32_t State = 0;    // Press, Release
    std::string Target;   // Click: component name; Type: edit name; Practice: what is started
    std::string Text;     // Type
    uint64_t Checksum = 0;  // Check: the state once frame Frame has run
    int32_t Line = 0;       // where it stands in the script it was read from
};

// A script as a recording writes it: a format version and the seed above the actions.
// Hand-written scripts without them are version 1. A replay of one game (version 3) also says
// how that game began: the window's state just before the start ("state NAME VALUE" lines),
// the start itself ("start normal", "start extra", "start practice WHAT"), whether the ship was
// invincible, and the frame the game ended on ("end N"). A recording of a whole run (version
// 4) has the window's state when it opened and whether the ship was invincible above its
// actions, and its last frame as its last line. Version 5 adds the rewinds of practice games.
struct TRecording {
    int32_t Version = 1;
    bool HasSeed = false;
    uint32_t Seed = 0;
    std::string Start;  // "" (a script that starts from the menu), "normal", "extra", "practice WHAT"
    std::vector<std::pair<std::string, std::string>> State;
    std::vector<int32_t> StateLines;  // where each entry of State stands in the text
    bool Invincible = false;
    bool HasEnd = false;
    int64_t End = 0;  // the last frame
    int32_t EndLine = 0;
    std::vector<TScriptAction> Actions;
};
constexpr int32_t RecordingVersion = 5;
// The longest recording played: a day of frames.
constexpr int64_t MaxRecordingFrames = 60LL * 60 * 60 * 24;

// Parses a script; raises std::runtime_error naming the line for anything malformed.
TRecording ParseRecording(const std::string& Text, const std::string& Source);
std::vector<TScriptAction> ParseInputScript(const std::string& Text, const std::string& Source);
std::string FormatScriptAction(const TScriptAction& A);
// The checkpoint of frame Frame: the game state's checksum once that frame has run.
TScriptAction CheckAction(int64_t Frame, uint64_t Checksum);
// A check line's checksum: 16 lower-case hexadecimal digits.
std::string FormatChecksum(uint64_t Checksum);

}  // namespace kv::headless
