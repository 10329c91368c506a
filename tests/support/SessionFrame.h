#pragma once
// A test window's frame driven by a run's session, as a headless run makes it: the script (and
// its one-second ticks), the pilot and the recorded keys before it, the checks after.
#include <cstdint>

#include "app/Autopilot.h"
#include "app/Session.h"
#include "support/World.h"

namespace kvtest {

inline void RunSessionFrame(TWorld& W, kv::app::TSession& S, int64_t Next, kv::app::TAutopilot* Pilot,
                            kv::TKeyboard* Recorder) {
    S.ApplyScript(Next, &W.Keyboard);
    if (Pilot) Pilot->BeforeFrame(Next, S);
    if (Recorder) S.RecordStates(Next, Recorder->Read());
    W.Frame(1);
    S.AfterFrame(Next);
}

}  // namespace kvtest
