#include "app/Session.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <iostream>
#include <limits>
#include <sstream>
#include <stdexcept>

#include "app/RecordingCheck.h"
#include "app/StopSignals.h"
#include "app/UserDirs.h"
#include "shell/StateChecksum.h"
#include "stages/Practice.h"
#include "userfiles/AttackHistory.h"
#include "userfiles/Replays.h"

namespace kv::app {

TSession::TSession(const TOptions& O) : Options(O) {}

TSession::~TSession() = default;

void TSession::PlayRecording(headless::TRecording Rec) {
    if (Rec.HasSeed) ScriptSeed_ = Rec.Seed;
    for (const auto& a : Rec.Actions) {
        ScriptHasTimer_ |= a.Kind == headless::TScriptAction::Timer;
        if (a.Kind == headless::TScriptAction::Practice && !IsPracticeTarget(a.Target))
            throw std::runtime_error(Options.InputFile + ": frame " + std::to_string(a.Frame) + ": '" + a.Target +
                                     "' is no stage or boss phase to practise");
        ScriptPractises_ |= a.Kind == headless::TScriptAction::Practice;
        (a.Kind == headless::TScriptAction::Check ? Checks_ : Script_).push_back(a);
    }
    Rec.Actions.clear();
    Replay_ = std::move(Rec);
    // A replay holds every one-second tick its game had, none or many.
    ScriptHasTimer_ |= PlaysReplay();
    if (PlaysReplay() && !Options.Practice.empty())
        throw std::runtime_error(Options.InputFile + " is the replay of one game, which says how it starts: leave out --practice");
    const int64_t end = Replay_.HasEnd ? Replay_.End : Script_.empty() ? 0 : Script_.back().Frame;
    for (const auto& [name, frame] : {std::pair{"--from", Options.FromFrame}, {"--take-over", Options.TakeOverFrame}})
        if (frame && *frame > end)
            throw std::runtime_error(std::string(name) + " " + std::to_string(*frame) + ": " + Options.InputFile +
                                     " ends at frame " + std::to_string(end));
}

void TSession::OpenFiles() {
    if (!Options.InputFile.empty()) PlayRecording(LoadRecording(Options.InputFile));
    if (Options.TakeOverFrame) OpenTakeOver();
    if (!Options.LogFile.empty()) {
        LogOut_.open(Options.LogFile, std::ios::binary | std::ios::trunc);
        if (!LogOut_) throw std::runtime_error("cannot write the event log " + Options.LogFile);
    }
    // A playback keeps no rewind history unless its input goes back.
    auto rewinds = [](const std::vector<headless::TScriptAction>& A) {
        return std::any_of(A.begin(), A.end(), [](const auto& a) { return a.Kind == headless::TScriptAction::Rewind; });
    };
    Rewind.Enabled = !PlaysBack() || rewinds(Script_) || rewinds(Then_);
    if (!Options.RecordFile.empty() && !Options.TakeOverFrame) {
        RecordOut_.open(Options.RecordFile, std::ios::binary | std::ios::trunc);
        if (!RecordOut_) throw std::runtime_error("cannot write the recording " + Options.RecordFile);
    }
}

void TSession::OpenTakeOver() {
    const int64_t at = *Options.TakeOverFrame;
    if (!PlaysReplay())
        throw std::runtime_error("--take-over: " + Options.InputFile + " is no replay of one game (it has no start line)");
    Then_ = LoadRecording(Options.ThenFile).Actions;
    for (const auto& a : Then_) {
        if (a.Frame <= at)
            throw std::runtime_error(Options.ThenFile + ": line " + std::to_string(a.Line) + ": frame " +
                                     std::to_string(a.Frame) + " is not after the take-over at frame " +
                                     std::to_string(at) + " (the script counts the game's frames)");
        if (a.Kind == headless::TScriptAction::Check || a.Kind == headless::TScriptAction::TakeOver ||
            a.Kind == headless::TScriptAction::Practice)
            throw std::runtime_error(Options.ThenFile + ": line " + std::to_string(a.Line) +
                                     ": a player's input holds presses, releases, clicks, typing and ticks only");
    }
    TakeOverEnd_ = std::max(at + 1, Then_.empty() ? 0 : Then_.back().Frame);
    TakeOverReplay_.Begin(Options.InputFile, at);
}

void TSession::TakeOverAfter(int64_t Frame, headless::TScriptedKeyboard* Keyboard) {
    if (!CanTakeOver()) return;
    TakeOverReplay_.Begin(Options.InputFile, Frame);
    // The player plays to the end of the game.
    TakeOverEnd_ = std::numeric_limits<int64_t>::max();
    TakeOver(Frame + 1, Keyboard);
}

bool TSession::TakenOverGameEnded() const {
    return TakenOver_ && Form->Log.CountOf("menu") + Form->Log.CountOf("name_entry") > EndsAtTakeOver_;
}

void TSession::TakeOver(int64_t Frame, headless::TScriptedKeyboard* Keyboard) {
    TakenOver_ = true;
    Form->Practice = true;
    Rewind.Enabled = true;
    Form->Log.Write("take_over");
    Script_ = std::move(Then_);
    ScriptPos_ = 0;
    Checks_.clear();
    CheckPos_ = 0;
    Replay_.HasEnd = false;
    ScriptHasTimer_ = false;
    for (const auto& a : Script_) ScriptHasTimer_ |= a.Kind == headless::TScriptAction::Timer;
    // The player's hands start empty; what the original held is let go.
    if (Keyboard) Keyboard->ReleaseAll();
    TakeOverReplay_.Start(Frame);
    // Counted as practice, where a run counts the attack history at all; a window keeps the
    // game's replay with the player's others.
    if ((Options.History || Windowed_) && DataHome_.empty()) {
        DataHome_ = PlayerDataDir();
        if (DataHome_.empty())
            std::cerr << "kalvento: no data folder (set HOME or XDG_DATA_HOME): the taken-over game is not kept\n";
    }
    CountHistory_ = (Options.History || Windowed_) && !Form->Invincible && !DataHome_.empty();
    EndsAtTakeOver_ = Form->Log.CountOf("menu") + Form->Log.CountOf("name_entry");
}

int64_t TSession::SeekFrame() const {
    if (Options.FromFrame) return *Options.FromFrame;
    return Options.TakeOverFrame ? *Options.TakeOverFrame : -1;
}

void TSession::KeepUserFiles(bool Windowed) {
    Windowed_ = Windowed;
    const bool played = Windowed && Options.InputFile.empty() && !Options.Autopilot;
    SaveReplays_ = !PlaysBack() && (played || !Options.RecordFile.empty());
    // A ship that cannot be hit says nothing of how an attack goes.
    CountHistory_ = !PlaysBack() && !Options.Invincible && !Replay_.Invincible && (played || Options.History);
    if (!SaveReplays_ && !CountHistory_) return;
    DataHome_ = PlayerDataDir();
    if (DataHome_.empty()) {
        std::cerr << "kalvento: no data folder (set HOME or XDG_DATA_HOME): no replays or attack history are kept\n";
        SaveReplays_ = CountHistory_ = false;
    }
}

void TSession::Attach(TForm1& F, uint32_t Seed) {
    Form = &F;
    Seed_ = Seed;
    // A recording played back keeps its record in memory, from the start it gives.
    F.WatchingReplay = PlaysBack();
    F.Log.KeepLines = false;
    F.Invincible = Replay_.Invincible || Options.Invincible;
    F.ScoreFile = Options.ScoreFile;
    F.MusicDir = Options.MusicDir;
    F.DataMissing = Options.DataMissing;
    F.Log.Observer = [this](const std::string& Event, const TLogFields& Fields) { OnEvent(Event, Fields); };
    if (LogOut_.is_open())
        F.Log.Sink = [this](const std::string& line) {
            LogOut_ << line << '\n';
            LogOut_.flush();
        };
    F.ErrorSink = [](const std::string& m) { std::cerr << "kalvento: " << m << std::endl; };
}

TButton* TSession::FindButton(const std::string& Name) {
    for (TButton* b : {&Form->Button1, &Form->Button2, &Form->Button3, &Form->Button4, &Form->Button5, &Form->Button6})
        if (b->Name == Name) return b;
    for (TButton& b : Form->Form2.Buttons)
        if ("Form2." + b.Name == Name) return &b;
    return nullptr;
}

TEdit* TSession::FindEdit(const std::string& Name) {
    for (TEdit* e : {&Form->Edit1, &Form->Edit2})
        if (e->Name == Name) return e;
    return nullptr;
}

void TSession::Click(int64_t Frame, const std::string& Name) {
    TButton* b = FindButton(Name);
    if (!b) {
        Form->ReportError("the input script clicks '" + Name + "', which is no button of the window");
        return;
    }
    // A hidden button cannot be clicked, as on the screen.
    if (!b->Visible) return;
    RecordClick(Frame, Name);
    if (b->OnClick) Form->Handle(b->OnClick);
}

void TSession::Type(int64_t Frame, const std::string& Name, const std::string& Text) {
    TEdit* e = FindEdit(Name);
    if (!e) {
        Form->ReportError("the input script types into '" + Name + "', which is no edit field");
        return;
    }
    if (!e->Visible) return;
    e->Text = e->Filter ? e->Filter(Text) : Text;
    RecordType(Frame, Name, e->Text);
}

void TSession::Timer(int64_t Frame) {
    RecordTimer(Frame);
    Form->Handle([this] { Form->Timer1Timer(); });
}

void TSession::RequestRewind(int64_t Frame) {
    if (RewindDue_ || !Rewind.CanRewind(*Form)) return;
    RewindDue_ = true;
    headless::TScriptAction a;
    a.Frame = Frame;
    a.Kind = headless::TScriptAction::Rewind;
    Record(a);
}

void TSession::ApplyScript(int64_t Frame, headless::TScriptedKeyboard* Keyboard) {
    RewindDue_ = false;
    if (Options.TakeOverFrame && !TakenOver_ && Frame == *Options.TakeOverFrame + 1) {
        // The original's actions due before this frame were its player's, not this one's.
        TakeOver(Frame, Keyboard);
    }
    while (ScriptPos_ < Script_.size() && Script_[ScriptPos_].Frame <= Frame) {
        const headless::TScriptAction& a = Script_[ScriptPos_++];
        switch (a.Kind) {
            case headless::TScriptAction::Press:
            case headless::TScriptAction::Release:
                if (Keyboard) Keyboard->SetState(a.State, a.Kind == headless::TScriptAction::Press);
                break;
            case headless::TScriptAction::Click:
                Click(Frame, a.Target);
                break;
            case headless::TScriptAction::Type:
                Type(Frame, a.Target, a.Text);
                break;
            case headless::TScriptAction::Timer:
                Timer(Frame);
                break;
            case headless::TScriptAction::Practice:
                Practice(Frame, a.Target);
                break;
            case headless::TScriptAction::TakeOver:
                // A taken-over game played back: the same practice game from here.
                Form->Practice = true;
                Form->Log.Write("take_over");
                break;
            case headless::TScriptAction::Rewind:
                RequestRewind(Frame);
                break;
            case headless::TScriptAction::Check:  // kept apart by OpenFiles
                break;
        }
    }
}

void TSession::SkipScriptTo(int64_t Frame, headless::TScriptedKeyboard* Keyboard) {
    if (Keyboard) Keyboard->ReleaseAll();
    ScriptPos_ = 0;
    for (; ScriptPos_ < Script_.size() && Script_[ScriptPos_].Frame <= Frame; ++ScriptPos_) {
        const headless::TScriptAction& a = Script_[ScriptPos_];
        const bool press = a.Kind == headless::TScriptAction::Press;
        if (Keyboard && (press || a.Kind == headless::TScriptAction::Release)) Keyboard->SetState(a.State, press);
    }
    CheckPos_ = 0;
    while (CheckPos_ < Checks_.size() && Checks_[CheckPos_].Frame <= Frame) ++CheckPos_;
    LastFrame_ = Frame;
}

void TSession::Record(const headless::TScriptAction& A) {
    if (A.Kind != headless::TScriptAction::Rewind) ++ActionsDone_;
    TakeOverReplay_.Add(A);
    Game_.Action(A);
    if (RecordOut_.is_open()) RecordOut_ << headless::FormatScriptAction(A) << '\n';
}

void TSession::RecordStates(int64_t Frame, const TDXInputStates& Current) {
    // A kept replay follows the states itself, from the start of its game.
    Game_.States(Frame, Current);
    TakeOverReplay_.States(Frame, Current);
    if (!RecordOut_.is_open()) return;
    for (const headless::TScriptAction& a : StateChanges(Frame, LastRecorded_, Current))
        RecordOut_ << headless::FormatScriptAction(a) << '\n';
    LastRecorded_ = Current;
}

void TSession::RecordClick(int64_t Frame, const std::string& Name) {
    headless::TScriptAction a;
    a.Frame = Frame;
    a.Kind = headless::TScriptAction::Click;
    a.Target = Name;
    Record(a);
}

void TSession::RecordType(int64_t Frame, const std::string& Name, const std::string& Text) {
    headless::TScriptAction a;
    a.Frame = Frame;
    a.Kind = headless::TScriptAction::Type;
    a.Target = Name;
    a.Text = Text;
    Record(a);
}

void TSession::RecordTimer(int64_t Frame) {
    headless::TScriptAction a;
    a.Frame = Frame;
    a.Kind = headless::TScriptAction::Timer;
    Record(a);
}

void TSession::Practice(int64_t Frame, const std::string& Target) {
    // Only from the menu, as a player can.
    if (!Form->Button1.Visible) return;
    if (RecordOut_.is_open()) RecordOut_ << Frame << " practice " << Target << '\n';
    Form->Handle([&] { StartPractice(*Form, Target); });
}

void TSession::WriteRecordingHead() {
    if (!RecordOut_.is_open()) return;
    RecordOut_ << "# Kalvento input recording: play it back with --input\n"
               << "version " << headless::RecordingVersion << "\nseed " << Seed_ << "\n";
    if (Form->Invincible) RecordOut_ << "invincible\n";
    // The window as it opened: the record it found decides the name entries of its games.
    for (const auto& [name, value] : GameStartState(*Form))
        RecordOut_ << "state " << name << (value.empty() ? "" : " " + value) << '\n';
}

bool TSession::StartRequestedGame() {
    if (!Replay_.State.empty()) {
        StartFailed_ = !Form->Handle([this] { ApplyGameStartState(*Form, Replay_.State); });
        if (StartFailed_) return false;
    }
    WriteRecordingHead();
    if (PlaysReplay()) {
        StartFailed_ = !Form->Handle([this] { StartReplayedGame(*Form, Replay_.Start); });
        return !StartFailed_;
    }
    // A recording that starts its practice itself is played back from it alone.
    if (Options.Practice.empty() || ScriptPractises_) return true;
    if (RecordOut_.is_open()) RecordOut_ << "1 practice " << Options.Practice << '\n';
    Form->Handle([this] { StartPractice(*Form, Options.Practice); });
    return true;
}

void TSession::OnEvent(const std::string& Event, const TLogFields& Fields) {
    if (CountHistory_) Attacks_.Event(*Form, Event, Fields);
    if (Event == "start") {
        // Nothing starts a game over one under way; should it happen, the first is kept as cut off.
        if (GameRunning_) EndGame(LastFrame_, Form->Score, "unfinished");
        GameRunning_ = true;
        Result_ = "unfinished";
        if (SaveReplays_) {
            auto field = [&](const char* Name) {
                for (const auto& [k, v] : Fields)
                    if (const auto* text = std::get_if<std::string>(&v); text && k == Name) return *text;
                return std::string();
            };
            Game_.Begin(*Form, LastFrame_, field("mode"), field("practice"));
        }
    } else if (Event == "game_over" || Event == "game_clear") {
        Result_ = Event == "game_over" ? "game over" : "game clear";
    } else if ((Event == "menu" || Event == "name_entry") && GameRunning_) {
        // The end of the game-over or game-clear screen; the score still stands.
        GameEnded_ = true;
        EndScore_ = Form->Score;
    }
}

void TSession::EndGame(int64_t Frame, int32_t Score, const std::string& Result) {
    GameRunning_ = GameEnded_ = false;
    userfiles::TReplayInfo info;
    info.Time = static_cast<int64_t>(std::time(nullptr));
    std::string text;
    if (Game_.Active()) {
        text = Game_.Finish(Frame, Score, Result, info);
    } else if (TakenOver_ && Windowed_ && !DataHome_.empty()) {
        // A game taken over in the window is kept as a practice game, named by the original's start.
        info.Mode = "practice";
        info.Start = TakeOverReplay_.StartLabel();
        info.Score = Score;
        info.Frames = Frame;
        info.Result = Result;
        text = TakeOverReplay_.Text(Frame);
    }
    if (info.Frames > 0) {
        try {
            userfiles::SaveReplay(userfiles::ReplayDir(DataHome_), info, text);
        } catch (const std::exception& e) {
            Form->ReportError(std::string("the replay of this game was not kept: ") + e.what());
        }
    }
    if (CountHistory_) {
        try {
            userfiles::AddToAttackHistory(userfiles::AttackHistoryFile(DataHome_), Attacks_.Take());
        } catch (const std::exception& e) {
            Form->ReportError(e.what());
        }
    }
}

void TSession::AfterFrame(int64_t Frame) {
    GameCleanedUp_ = HeapReturn_.AfterFrame(*Form);
    LastFrame_ = Frame;
    if (CountHistory_) Attacks_.AfterFrame(*Form);
    if (GameEnded_)
        EndGame(Frame, EndScore_, Result_);
    else
        Game_.AfterFrame(*Form, Frame);
    // A game taken over at its start is checked after its first frame, as every replay is.
    const bool takeOverCheck = TakenOver_ && (Frame == 1 || Frame % CheckInterval == 0);
    const bool record = RecordOut_.is_open() && Frame % CheckInterval == 0;
    // Checks between frames the run never stopped at are passed over.
    while (CheckPos_ < Checks_.size() && Checks_[CheckPos_].Frame < Frame) ++CheckPos_;
    const bool compare = !Diverged_ && CheckPos_ < Checks_.size() && Checks_[CheckPos_].Frame == Frame;
    if (!takeOverCheck && !record && !compare) return;
    const uint64_t now = StateChecksum(*Form);
    if (takeOverCheck || record) {
        const std::string line = headless::FormatScriptAction(headless::CheckAction(Frame, now));
        if (takeOverCheck) TakeOverReplay_.Add(headless::CheckAction(Frame, now));
        if (record) RecordOut_ << line << '\n';
    }
    if (!compare) return;
    const uint64_t recorded = Checks_[CheckPos_++].Checksum;
    if (now == recorded) return;
    Diverged_ = true;
    const std::string actual = headless::FormatChecksum(now), expected = headless::FormatChecksum(recorded);
    std::cerr << "kalvento: the replay diverged from " << Options.InputFile << " at frame " << Frame
              << ": the game state's checksum is " << actual << ", the recording has " << expected << std::endl;
    DivergenceMessage_ = "This replay no longer matches this version of Kalvento: at frame " + std::to_string(Frame) +
                         " the game differs from the one recorded, so the playback was stopped there.\n\n" +
                         Options.InputFile;
    Form->Log.Write("diverged", {{"checks_passed", static_cast<int64_t>(CheckPos_ - 1)},
                                 {"expected", expected},
                                 {"actual", actual}});
}

bool TSession::ShouldStop(int64_t FramesDone) const {
    if (Form->CloseRequested || Diverged_ || StopSignalled()) return true;
    // A taken-over game runs as long as its player's script, or to the end of the game.
    if (TakenOver_ && (FramesDone >= TakeOverEnd_ || TakenOverGameEnded())) return true;
    if (Options.Frames && FramesDone >= *Options.Frames) return true;
    // What the game did between its last frame and the end of its run (a one-second tick that
    // ended the last attack) is still applied.
    if (Replay_.HasEnd && FramesDone >= Replay_.End && (FramesDone > Replay_.End || ScriptPos_ == Script_.size()))
        return true;
    if (!Options.ExitOnEvent.empty() && Form->Log.CountOf(Options.ExitOnEvent) >= Options.ExitOnCount) return true;
    return false;
}

void TSession::Finish() {
    Rewind.Settle(*Form);
    // A game the window was closed on is the player's all the same.
    if (GameRunning_) EndGame(LastFrame_, GameEnded_ ? EndScore_ : Form->Score, GameEnded_ ? Result_ : "unfinished");
    Form->Log.Write("end", {{"score", int64_t{Form->Score}},
                            {"hp", int64_t{Form->HP}},
                            {"bomb", int64_t{Form->Bomb}},
                            {"sprites", int64_t{Form->SpriteEngine()->MemberCount}}});
    if (TakenOver_ && !Options.RecordFile.empty()) {
        std::ofstream out(Options.RecordFile, std::ios::binary | std::ios::trunc);
        out << "# Kalvento replay: taken over at frame " << TakeOverReplay_.At()
            << "; play it back with kalvento --input FILE\n"
            << TakeOverReplay_.Text(LastFrame_);
        if (!out.flush()) std::cerr << "kalvento: cannot write the replay " << Options.RecordFile << std::endl;
    }
    // However the run ends, its recording ends with its last frame, so it plays back to there.
    if (RecordOut_.is_open()) {
        RecordOut_ << "end " << LastFrame_ << '\n';
        RecordOut_.flush();
    }
}

}  // namespace kv::app
