#pragma once
// One game's own recording, made alongside the run's: from the game's start to the end of its
// game-over or game-clear screen, with the window's state at the start, so that the replay
// plays back alone whatever games came before it in the session.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/Input.h"
#include "platform/headless/Headless.h"
#include "userfiles/Replays.h"

namespace kv {
class TForm1;
}

namespace kv::app {

// The press and release actions that take the input states from Before to Now at Frame.
std::vector<headless::TScriptAction> StateChanges(int64_t Frame, const TDXInputStates& Before, const TDXInputStates& Now);

using TStartState = std::vector<std::pair<std::string, std::string>>;

// What a game start leaves as it finds it: the random generator, the counters the reset keeps
// or never touches, the record shown, the Extra Stage unlock.
TStartState GameStartState(const TForm1& F);
// Why an entry of a start state is none a game can start with, or "".
std::string StartValueProblem(const std::string& Name, const std::string& Value);
// Puts it back; raises std::runtime_error naming an unknown or impossible entry.
void ApplyGameStartState(TForm1& F, const TStartState& State);
// Starts a game as a replay's start line says: "normal", "extra" or "practice WHAT".
void StartReplayedGame(TForm1& F, const std::string& Start);

class TGameRecorder {
public:
    // At the game's start, between frames: LastFrame is the run's last frame, so the game's
    // frame 1 is the next one. Mode is "normal" or "extra"; Practice the practice start or "".
    void Begin(const TForm1& F, int64_t LastFrame, const std::string& Mode, const std::string& Practice);
    bool Active() const { return Active_; }

    // The run's input, at the run's frames; passed over unless a game is being recorded.
    void Action(const headless::TScriptAction& A);
    void States(int64_t Frame, const TDXInputStates& Current);
    // After frame Frame of the run: the game's first frame and every 300th are checked.
    void AfterFrame(const TForm1& F, int64_t Frame);

    // The game ended with frame Frame (or, unfinished, was cut off there): its replay's
    // header facts and its recording from the "version" line on. The recorder is idle after.
    std::string Finish(int64_t Frame, int32_t Score, const std::string& Result, userfiles::TReplayInfo& Info);

private:
    bool Active_ = false;
    int64_t Offset_ = 0;
    std::string Mode_, Practice_;
    std::string Head_, Body_;
    TDXInputStates Last_;
};

}  // namespace kv::app
