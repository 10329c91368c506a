#include "app/Session.h"

#include <iostream>
#include <sstream>
#include <stdexcept>

#include "shell/StateChecksum.h"
#include "stages/Practice.h"

namespace kv::app {

TSession::TSession(const TOptions& O) : Options(O) {}

TSession::~TSession() = default;

void TSession::OpenFiles() {
    if (!Options.InputFile.empty()) {
        std::ifstream in(Options.InputFile, std::ios::binary);
        if (!in) throw std::runtime_error("cannot read the input script " + Options.InputFile);
        std::ostringstream ss;
        ss << in.rdbuf();
        headless::TRecording rec = headless::ParseRecording(ss.str(), Options.InputFile);
        if (rec.HasSeed) ScriptSeed_ = rec.Seed;
        for (const auto& a : rec.Actions) {
            ScriptHasTimer_ |= a.Kind == headless::TScriptAction::Timer;
            if (a.Kind == headless::TScriptAction::Practice && !IsPracticeTarget(a.Target))
                throw std::runtime_error(Options.InputFile + ": frame " + std::to_string(a.Frame) + ": '" + a.Target +
                                         "' is no stage or boss phase to practise");
            ScriptPractises_ |= a.Kind == headless::TScriptAction::Practice;
            (a.Kind == headless::TScriptAction::Check ? Checks_ : Script_).push_back(a);
        }
    }
    if (!Options.LogFile.empty()) {
        LogOut_.open(Options.LogFile, std::ios::binary | std::ios::trunc);
        if (!LogOut_) throw std::runtime_error("cannot write the event log " + Options.LogFile);
    }
    if (!Options.RecordFile.empty()) {
        RecordOut_.open(Options.RecordFile, std::ios::binary | std::ios::trunc);
        if (!RecordOut_) throw std::runtime_error("cannot write the recording " + Options.RecordFile);
    }
}

void TSession::Attach(TForm1& F, uint32_t Seed) {
    Form = &F;
    if (RecordOut_.is_open())
        RecordOut_ << "# Kalvento input recording: play it back with --input (and the same --invincible)\n"
                   << "version " << headless::RecordingVersion << "\nseed " << Seed << "\n";
    F.Log.KeepLines = false;
    F.Invincible = Options.Invincible;
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

void TSession::ApplyScript(int64_t Frame, headless::TScriptedKeyboard* Keyboard) {
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
            case headless::TScriptAction::Check:  // kept apart by OpenFiles
                break;
        }
    }
}

void TSession::RecordStates(int64_t Frame, const TDXInputStates& Current) {
    if (!RecordOut_.is_open()) return;
    for (int32_t s = 0; s < InputStateCount; ++s) {
        if (Current.test(s) == LastRecorded_.test(s)) continue;
        headless::TScriptAction a;
        a.Frame = Frame;
        a.Kind = Current.test(s) ? headless::TScriptAction::Press : headless::TScriptAction::Release;
        a.State = s;
        RecordOut_ << headless::FormatScriptAction(a) << '\n';
    }
    LastRecorded_ = Current;
}

void TSession::RecordClick(int64_t Frame, const std::string& Name) {
    if (RecordOut_.is_open()) RecordOut_ << Frame << " click " << Name << '\n';
}

void TSession::RecordType(int64_t Frame, const std::string& Name, const std::string& Text) {
    if (RecordOut_.is_open()) RecordOut_ << Frame << " type " << Name << ' ' << Text << '\n';
}

void TSession::RecordTimer(int64_t Frame) {
    if (RecordOut_.is_open()) RecordOut_ << Frame << " timer\n";
}

void TSession::Practice(int64_t Frame, const std::string& Target) {
    // Only from the menu, as a player can.
    if (!Form->Button1.Visible) return;
    if (RecordOut_.is_open()) RecordOut_ << Frame << " practice " << Target << '\n';
    Form->Handle([&] { StartPractice(*Form, Target); });
}

void TSession::StartRequestedGame() {
    // A recording that starts its practice itself is played back from it alone.
    if (Options.Practice.empty() || ScriptPractises_) return;
    if (RecordOut_.is_open()) RecordOut_ << "1 practice " << Options.Practice << '\n';
    Form->Handle([this] { StartPractice(*Form, Options.Practice); });
}

void TSession::AfterFrame(int64_t Frame) {
    GameCleanedUp_ = HeapReturn_.AfterFrame(*Form);
    const bool record = RecordOut_.is_open() && Frame % CheckInterval == 0;
    // Checks between frames the run never stopped at are passed over.
    while (CheckPos_ < Checks_.size() && Checks_[CheckPos_].Frame < Frame) ++CheckPos_;
    const bool compare = !Diverged_ && CheckPos_ < Checks_.size() && Checks_[CheckPos_].Frame == Frame;
    if (!record && !compare) return;
    const uint64_t now = StateChecksum(*Form);
    if (record) {
        headless::TScriptAction a;
        a.Frame = Frame;
        a.Kind = headless::TScriptAction::Check;
        a.Checksum = now;
        RecordOut_ << headless::FormatScriptAction(a) << '\n';
    }
    if (!compare) return;
    const uint64_t recorded = Checks_[CheckPos_++].Checksum;
    if (now == recorded) return;
    Diverged_ = true;
    const std::string actual = headless::FormatChecksum(now), expected = headless::FormatChecksum(recorded);
    std::cerr << "kalvento: the replay diverged from " << Options.InputFile << " at frame " << Frame
              << ": the game state's checksum is " << actual << ", the recording has " << expected << std::endl;
    Form->Log.Write("diverged", {{"checks_passed", static_cast<int64_t>(CheckPos_ - 1)},
                                 {"expected", expected},
                                 {"actual", actual}});
}

bool TSession::ShouldStop(int64_t FramesDone) const {
    if (Form->CloseRequested || Diverged_) return true;
    if (Options.Frames && FramesDone >= *Options.Frames) return true;
    if (!Options.ExitOnEvent.empty() && Form->Log.CountOf(Options.ExitOnEvent) >= Options.ExitOnCount) return true;
    return false;
}

void TSession::Finish() {
    Form->Log.Write("end", {{"score", int64_t{Form->Score}},
                            {"hp", int64_t{Form->HP}},
                            {"bomb", int64_t{Form->Bomb}},
                            {"sprites", int64_t{Form->SpriteEngine()->MemberCount}}});
    if (RecordOut_.is_open()) RecordOut_.flush();
}

}  // namespace kv::app
