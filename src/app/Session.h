#pragma once
// What a run shares whatever drives it: the event log file, the input script, the recording,
// the autopilot and the exit conditions.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AttackCounter.h"
#include "app/GameRecorder.h"
#include "app/HeapReturn.h"
#include "app/Options.h"
#include "app/TakeOver.h"
#include "app/Rewind.h"
#include "platform/headless/Headless.h"
#include "shell/Form1.h"

namespace kv::app {

class TSession {
public:
    explicit TSession(const TOptions& Options);
    ~TSession();

    // Opens the files the options name; raises std::runtime_error with a clear message.
    void OpenFiles();
    // The input the run plays: a recording read and checked (LoadRecording), named in messages
    // as Options.InputFile. OpenFiles calls it for --input. Raises std::runtime_error.
    void PlayRecording(headless::TRecording Rec);
    // Whether the games of this run are kept as replays and counted in the attack history of
    // the data folder: a window's games are, a headless run's when --record (--history) asks; a
    // playback never is. Call after OpenFiles.
    void KeepUserFiles(bool Windowed);
    bool SavesReplays() const { return SaveReplays_; }
    bool CountsHistory() const { return CountHistory_; }
    // Seed: the one the window was given; a recording notes it.
    void Attach(TForm1& Form, uint32_t Seed);
    // The input is a saved replay of one game: it starts that game itself and ends with it.
    bool PlaysReplay() const { return !Replay_.Start.empty(); }
    // The input is a recording that gives its start (a replay, or a recorded run): it is watched,
    // and nothing of it is kept or counted.
    bool PlaysBack() const { return PlaysReplay() || !Replay_.State.empty(); }
    // The seed a recording played back was made with, when it says.
    std::optional<uint32_t> ScriptSeed() const { return ScriptSeed_; }

    // Script actions due before frame Frame (1-based), applied to the keyboard and the window.
    // Returns whether the script supplied one-second ticks itself.
    void ApplyScript(int64_t Frame, headless::TScriptedKeyboard* Keyboard);
    bool ScriptHasTimer() const { return ScriptHasTimer_; }
    // --from or --take-over: the frames before this one are run unseen (-1: none).
    int64_t SeekFrame() const;
    bool TakenOver() const { return TakenOver_; }
    // Whether the replay's game can be handed to a player now: a replay of one game, not yet
    // taken over, still matching its recording.
    bool CanTakeOver() const { return PlaysReplay() && !TakenOver_ && !Diverged_; }
    // The window's take-over: after frame Frame the player plays on, as --take-over Frame does
    // with --then. Raises std::runtime_error when the replay cannot be read again (nothing
    // changes then).
    void TakeOverAfter(int64_t Frame, headless::TScriptedKeyboard* Keyboard);
    // The taken-over game has ended (its end screen closed).
    bool TakenOverGameEnded() const;
    // Goes on from a snapshot of the end of frame Frame: the actions due up to it count as done,
    // the keyboard holds what they left down, and the checks before it are passed.
    void SkipScriptTo(int64_t Frame, headless::TScriptedKeyboard* Keyboard);
    // The last frame of the recording played back: its end, else its last action.
    int64_t PlaybackEnd() const { return Replay_.HasEnd ? Replay_.End : ScriptEnd(); }
    // The frame of the last action of the script (0 for none).
    int64_t ScriptEnd() const { return Script_.empty() ? 0 : Script_.back().Frame; }
    // Called before every frame (the autopilot's turn).
    std::function<void(int64_t Frame)> BeforeFrame;

    // Recording of what the player did, one script action a line.
    void RecordStates(int64_t Frame, const TDXInputStates& Current);
    void RecordClick(int64_t Frame, const std::string& Name);
    void RecordType(int64_t Frame, const std::string& Name, const std::string& Text);
    void RecordTimer(int64_t Frame);

    // The practice game's rewind history. RequestRewind: the rewind key held (or a recording's
    // rewind line) before frame Frame; when the game can go back, it is recorded and this turn
    // is one back (RewindDue until the next ApplyScript).
    TRewind Rewind;
    void RequestRewind(int64_t Frame);
    bool RewindDue() const { return RewindDue_; }
    // How many ticks, clicks and typings have been applied to the window so far.
    int64_t ActionsDone() const { return ActionsDone_; }

    // Runs a one-second tick, recording it.
    void Timer(int64_t Frame);
    void Click(int64_t Frame, const std::string& Name);
    // Types into a visible edit field (through its filter), recording it.
    void Type(int64_t Frame, const std::string& Name, const std::string& Text);
    // Starts a practice game (as --practice does) from the menu, recording it.
    void Practice(int64_t Frame, const std::string& Target);

    // After the window's creation: the start a recording gives, the recording's head, and the
    // practice game the options ask for or the replay's game. False when a replay's game cannot
    // be started (reported; the run should end).
    bool StartRequestedGame();
    // After frame Frame has run: a recording notes the state every CheckInterval frames, a
    // playback compares it with what was noted and stops at the first difference.
    void AfterFrame(int64_t Frame);
    static constexpr int64_t CheckInterval = 300;
    bool Diverged() const { return Diverged_; }
    // What the player is told when a playback no longer matches its recording.
    const std::string& DivergenceMessage() const { return DivergenceMessage_; }
    // Whether the last AfterFrame found a game over and its sprites freed (the heap was trimmed).
    bool GameCleanedUp() const { return GameCleanedUp_; }

    bool ShouldStop(int64_t FramesDone) const;
    void Finish();  // the end event, files flushed
    // 0; 3 when a playback diverged from its recording; 1 when a replay could not start.
    int ExitStatus() const { return Diverged_ ? 3 : StartFailed_ ? 1 : 0; }

    const TOptions& Options;
    TForm1* Form = nullptr;

private:
    // One action of the player's, into the kept replay and the recording.
    void Record(const headless::TScriptAction& A);
    void WriteRecordingHead();
    void OpenTakeOver();
    // After the take-over frame: the game turns practice and the --then script plays it.
    void TakeOver(int64_t Frame, headless::TScriptedKeyboard* Keyboard);
    void OnEvent(const std::string& Event, const TLogFields& Fields);
    void EndGame(int64_t Frame, int32_t Score, const std::string& Result);
    TButton* FindButton(const std::string& Name);
    TEdit* FindEdit(const std::string& Name);
    std::ofstream LogOut_, RecordOut_;
    std::vector<headless::TScriptAction> Script_, Checks_;
    size_t ScriptPos_ = 0, CheckPos_ = 0;
    std::optional<uint32_t> ScriptSeed_;
    uint32_t Seed_ = 0;
    bool Diverged_ = false;
    THeapReturn HeapReturn_;
    bool GameCleanedUp_ = false;
    bool ScriptHasTimer_ = false;
    bool ScriptPractises_ = false;
    bool RewindDue_ = false;
    int64_t ActionsDone_ = 0;
    TDXInputStates LastRecorded_;
    headless::TRecording Replay_;  // the input's start, state and end (no actions)
    std::string DivergenceMessage_;
    bool StartFailed_ = false;
    // The games of the run, for the replays and the attack history.
    bool SaveReplays_ = false, CountHistory_ = false;
    std::filesystem::path DataHome_;
    TGameRecorder Game_;
    TAttackCounter Attacks_;
    int64_t LastFrame_ = 0;
    bool GameRunning_ = false, GameEnded_ = false;
    int32_t EndScore_ = 0;
    std::string Result_;
    // --take-over: the player's script, and the replay being made (the original's head and
    // input up to the take-over, then the player's).
    std::vector<headless::TScriptAction> Then_;
    bool TakenOver_ = false;
    int64_t TakeOverEnd_ = 0;
    int64_t EndsAtTakeOver_ = 0;  // end screens closed before the take-over
    TTakeOverReplay TakeOverReplay_;
    bool Windowed_ = false;
};

}  // namespace kv::app
