#pragma once
// A built-in pilot for unattended runs: it starts a game from the menu, holds the shot, stays
// low under its target while dodging bullets, bombs when they crowd it, and fills in the name
// entry. It uses no clock and no random numbers of its own, so a seed replays the same run.
#include <cstdint>
#include <typeinfo>
#include <vector>

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
    struct TSeen {
        const TSprite* Sprite;
        double X, Y;
    };
    // What the pilot makes of a class; the same for every sprite of it.
    struct TKind {
        const std::type_info* Type;
        bool Bullet, Enemy, Laser, Boss, Shootable;
    };
    struct TThreat {
        double X, Y, W, H;  // now
        double VX, VY;      // estimated per frame
        double Margin;
        bool Bullet;
    };
    const TKind& KindOf(const TSprite* S);
    // Where S was on frame SeenFrame_: the record of that address, if any.
    const TSeen* Previous(const TSprite* S);
    void Fly(int64_t Frame);
    void SetMove(int DX, int DY);
    void ReleaseAll();
    void ForgetThreats();

    TForm1& Form_;
    headless::TScriptedKeyboard& Keys_;
    int64_t MenuSince_ = -1;
    int64_t NameEntrySince_ = -1;
    bool BombHeld_ = false;
    // Where each threat was on frame SeenFrame_, for its velocity, in the engine's order. The
    // sprites still there keep that order and the new ones come after them all, so the record of
    // a sprite is found by reading on from the last one found; once a sprite is not there, the
    // rest are new, and may only have taken a freed sprite's address (Freed_, sorted).
    std::vector<TSeen> Seen_, NextSeen_, Freed_;
    size_t SeenAt_ = 0;
    bool PastOld_ = false;
    int64_t SeenFrame_ = -1;
    std::vector<TThreat> Threats_;
    std::vector<TKind> Kinds_;
    size_t LastKind_ = 0;
};

}  // namespace kv::app
