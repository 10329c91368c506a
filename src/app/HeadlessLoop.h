#pragma once
// The frame loop of a headless run: a virtual clock of 60 frames a second, scripted input,
// silent sound. The program's headless runs and the replay fuzz target both step it.
#include <cstdint>

#include "app/Session.h"
#include "platform/headless/Headless.h"
#include "shell/Form1.h"

namespace kv::app {

class TAutopilot;

// The in-memory services a headless window runs on. Nothing is drawn or kept of the sound
// unless asked.
struct THeadlessKit {
    THeadlessKit();
    headless::TRecordingSurface Blind;
    headless::TScriptedKeyboard Keyboard;
    headless::TRecordingAudio Audio;
    headless::TFakeMusic Music;
    headless::TAutoDialogs Dialogs;
    // The window's services over these; Surface: where it draws (nullptr: nowhere).
    TServices Services(ISurface* Surface = nullptr);
};

class THeadlessLoop {
public:
    THeadlessLoop(TSession& Session, TForm1& Form, THeadlessKit& Kit, TAutopilot* Pilot = nullptr);
    // Runs the next frame with what the script and the pilot do before it; false when the run
    // ends instead.
    bool Step();
    int64_t Frame() const { return Frame_; }
    // Time spent in the pilot, for the share of a run it takes.
    double PilotSeconds() const { return PilotSeconds_; }

private:
    TSession& Session_;
    TForm1& Form_;
    THeadlessKit& Kit_;
    TAutopilot* Pilot_;
    TKeyboard Recorder_;  // what the keys say, for --record
    headless::TRecordingSurface Unseen_;  // the frames run again on a step back
    int64_t Frame_ = 0;
    size_t DialogsSeen_ = 0;
    double PilotSeconds_ = 0;
};

}  // namespace kv::app
