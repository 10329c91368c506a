#pragma once
// The windowed loop's wall-clock timing: when the one-second timer is due, and the pause, which
// stops it together with the frames. A pause is not counted: after it the second that was under
// way goes on where it stopped.
#include <cstdint>

namespace kv::app {

class TLoopClock {
public:
    explicit TLoopClock(uint64_t NowMs) : NextSecond_(NowMs + 1000) {}

    bool Paused() const { return Paused_; }
    void TogglePause(uint64_t NowMs);
    // Ticks of the one-second timer due at NowMs (none while paused); they count as done.
    int32_t SecondsDue(uint64_t NowMs);
    // Whether the frame timer may run a frame: the game is active and not paused.
    bool FramesRun(bool Active) const { return Active && !Paused_; }

private:
    uint64_t NextSecond_;
    uint64_t PausedAt_ = 0;
    bool Paused_ = false;
};

}  // namespace kv::app
