#pragma once
// A built-in pilot for unattended runs: it starts a game from the menu, holds the shot, stays
// low under its target while dodging bullets, bombs when they crowd it, and fills in the name
// entry. It chooses its keys every other frame. It uses no clock and no random numbers of its
// own, so a seed replays the same run.
#include <cstdint>

#include "app/PilotSight.h"
#include "app/Session.h"
#include "platform/headless/Headless.h"
#include "shell/Form1.h"

namespace kv::app {

class TAutopilot {
public:
    TAutopilot(TForm1& Form, headless::TScriptedKeyboard& Keys);
    // Sets the keys (and clicks or types) for the frame about to run.
    void BeforeFrame(int64_t Frame, TSession& Session);

    // Frames the pilot waits after the menu or the name entry appears, as a player would.
    static constexpr int64_t MenuDelay = 30;
    static constexpr int64_t TypeDelay = 20;
    static constexpr int64_t ConfirmDelay = 30;

private:
    void Fly(int64_t Frame);
    void SetMove(int DX, int DY);
    void ReleaseAll();

    TForm1& Form_;
    headless::TScriptedKeyboard& Keys_;
    int64_t MenuSince_ = -1;
    int64_t NameEntrySince_ = -1;
    bool BombHeld_ = false;
    int64_t ThoughtAt_ = -1;  // the last frame the pilot chose its keys on
    TPilotSight Sight_;
};

}  // namespace kv::app
