#include "app/HeadlessLoop.h"

#include "app/Autopilot.h"

#include <chrono>

namespace kv::app {

THeadlessKit::THeadlessKit() {
    Blind.Record = false;
    Audio.Record = false;
}

TServices THeadlessKit::Services(ISurface* Surface) {
    TServices s;
    s.Surface = Surface ? Surface : &Blind;
    s.Audio = &Audio;
    s.Music = &Music;
    s.Dialogs = &Dialogs;
    s.Keyboard = &Keyboard;
    return s;
}

THeadlessLoop::THeadlessLoop(TSession& S, TForm1& F, THeadlessKit& K, TAutopilot* Pilot)
    : Session_(S), Form_(F), Kit_(K), Pilot_(Pilot), Recorder_(&K.Keyboard) {
    Unseen_.Record = false;
}

bool THeadlessLoop::Step() {
    if (Session_.ShouldStop(Frame_)) return false;
    const int64_t next = Frame_ + 1;
    Session_.ApplyScript(next, &Kit_.Keyboard);
    // What the script did between frames may end the run, as it did where it was recorded.
    if (Session_.ShouldStop(Frame_)) return false;
    if (Pilot_) {
        const auto start = std::chrono::steady_clock::now();
        Pilot_->BeforeFrame(next, Session_);
        PilotSeconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    Session_.RecordStates(next, Recorder_.Read());
    if (Session_.RewindDue()) {
        Form_.Handle([&] { Session_.Rewind.StepBack(Form_, Unseen_, &Kit_.Audio); });
    } else {
        Session_.Rewind.BeforeFrame(Form_, Session_.ActionsDone());
        // The virtual clock: LagCount is the milliseconds since the last frame at 60 a second.
        const int32_t lag = static_cast<int32_t>((next * 1000) / 60 - (Frame_ * 1000) / 60);
        Form_.DXTimer1.OnTimer(lag);
        Session_.Rewind.AfterFrame(Form_);
    }
    Frame_ = next;
    Kit_.Audio.AdvanceFrame();
    Kit_.Music.DeliverNotifications();
    Session_.AfterFrame(Frame_);
    // Recorded as due before the next frame, which is where a replay applies it.
    if (!Session_.ScriptHasTimer() && Frame_ % 60 == 0) Session_.Timer(Frame_ + 1);
    for (; DialogsSeen_ < Kit_.Dialogs.Messages.size(); ++DialogsSeen_)
        Form_.Log.Write("message", {{"text", Kit_.Dialogs.Messages[DialogsSeen_]}});
    return true;
}

}  // namespace kv::app
