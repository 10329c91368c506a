#pragma once
// A replay's game taken over by a player: from one frame on the player plays it on as a
// practice game. Its own replay holds the original's head and input up to that frame, a
// "takeover" line, then what the player did, so that it plays back alone to the same end.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Input.h"
#include "platform/headless/Headless.h"

namespace kv::app {

class TTakeOverReplay {
public:
    // Reads the original replay again for its head and its actions up to frame At (its comments
    // and its end left out). Raises std::runtime_error naming the file; nothing changes then.
    void Begin(const std::string& Original, int64_t At);
    bool Begun() const { return !Lines_.empty(); }
    int64_t At() const { return At_; }

    // From the take-over on: the player's actions, one script action a line, at the game's
    // frames. Before it they are the original's and passed over.
    void Add(const headless::TScriptAction& A);
    void Start(int64_t Frame);  // the "takeover" line: the player's from Frame on
    bool Started() const { return Started_; }
    // The keys as they are before each frame; after the take-over their changes are the player's.
    void States(int64_t Frame, const TDXInputStates& Current);

    // The recording from its "version" line on, ending with frame End.
    std::string Text(int64_t End) const;
    // How the replay list names the game: the original's start and the time it was taken over.
    std::string StartLabel() const;

private:
    std::vector<std::string> Lines_;
    std::string OriginalStart_;
    int64_t At_ = 0;
    bool Started_ = false;
    TDXInputStates Keys_;
};

// The keyboard a watched replay's game reads: the replay's own until a player takes over, then
// the player's. Switching the source keeps the game's key table and edge detection as they are.
class TKeyboardHandOver : public IKeyboardSource {
public:
    explicit TKeyboardHandOver(IKeyboardSource* Source) : Source_(Source) {}
    void HandTo(IKeyboardSource* Source) { Source_ = Source; }
    bool Foreground() const override { return Source_ && Source_->Foreground(); }
    bool KeyDown(uint16_t Code) const override { return Source_ && Source_->KeyDown(Code); }

private:
    IKeyboardSource* Source_;
};

// The same for the pad, which a replay never holds.
class TJoystickHandOver : public IJoystickSource {
public:
    void HandTo(IJoystickSource* Source) { Source_ = Source; }
    bool Foreground() const override { return Source_ && Source_->Foreground(); }
    TJoystickRaw ReadJoystick() override { return Source_ ? Source_->ReadJoystick() : TJoystickRaw{}; }

private:
    IJoystickSource* Source_ = nullptr;
};

}  // namespace kv::app
