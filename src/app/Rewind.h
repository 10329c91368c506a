#pragma once
// Rewinding a practice game. The history holds the game's last ten seconds as snapshots taken
// before every tenth frame, and before any frame that a tick, click or typing went ahead of,
// and between them what the input devices said on each frame. A step back restores the latest
// snapshot before the frame to show and runs the frames from it again: unseen, silent and
// unlogged, all but the last, which is drawn.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "engine/Input.h"
#include "snapshot/GameSnapshot.h"

namespace kv {
class ISurface;
class IAudioDevice;
class TForm1;
}  // namespace kv

namespace kv::app {

class TRewind {
public:
    static constexpr int64_t MaxFrames = 600;     // how far back: ten seconds
    static constexpr int64_t FramesPerTurn = 2;   // a turn of the key held goes this many back
    static constexpr int64_t Every = 10;          // frames between two snapshots kept

    // Whether Form's game is one that goes back: a practice game in play. Normal and Extra
    // games never do, nor a game that has ended.
    static bool Allowed(const TForm1& F);
    // Whether a turn of the key held would be a turn back now (at the history's start it holds
    // the game still): the game is allowed to and has run a frame since its history began.
    bool CanRewind(const TForm1& F) const;

    // Around every frame that runs forward. ActionsDone: the ticks, clicks and typing applied to
    // the game so far; a frame they went ahead of is kept with them, as a run again skips them.
    void BeforeFrame(TForm1& F, int64_t ActionsDone);
    void AfterFrame(const TForm1& F);
    // One turn back, FramesPerTurn frames or as many as the history holds. Unseen: where the
    // frames run again are drawn; Audio: the device the sounds are given back to afterwards.
    // False when the game stays where it is.
    bool StepBack(TForm1& F, ISurface& Unseen, IAudioDevice* Audio);
    // The "rewind" event (from, to: the game's frames) once the key is let go; BeforeFrame
    // writes it, the end of a run as well.
    void Settle(TForm1& F);

    void Clear();
    // Off: no history is kept (a playback without rewinds).
    bool Enabled = true;
    // The memory the history holds, snapshots shared with a copy counted whole.
    size_t Bytes() const { return Bytes_; }
    size_t Snapshots() const { return Kept_.size(); }
    // The earliest frame a step back can show, -1 without a history.
    int64_t Oldest() const { return Kept_.empty() ? -1 : Kept_.front().Frame; }

private:
    struct TKept {
        int64_t Frame;  // the frame it was taken before
        std::shared_ptr<const TGameSnapshot> Before;
    };
    void DropFront();
    std::deque<TKept> Kept_;
    std::deque<TDXInputStates> Read_;  // what the devices said on frames ReadFrom_, ReadFrom_ + 1 …
    int64_t ReadFrom_ = 0;
    int64_t ActionsSeen_ = -1;
    int32_t GameNo_ = -1;
    int64_t HoldFrom_ = -1;  // the game's frame when the key was taken, -1: not going back
    size_t Bytes_ = 0;
};

}  // namespace kv::app
