#pragma once
// Fixed-rate pacing of the frame loop: frames start on slots 1/60 s apart on the performance
// counter, whatever the display's refresh rate. A late frame runs at once, and the loop runs the
// frames it is behind before it draws again; after a stall of more than a few frames the
// schedule restarts from now instead of racing to catch up.
#include <cstdint>

namespace kv {

class TFramePacer {
public:
    TFramePacer(uint64_t Frequency, int32_t FramesPerSecond = 60, int32_t MaxCatchUp = 3);

    // Counter ticks to wait, from Now, until the next frame may start; the schedule moves on by
    // one slot. 0 when the frame is due or late.
    uint64_t Advance(uint64_t Now);
    // Slots after the current one that have begun by Now (at most MaxCatchUp): the frames the
    // loop is behind.
    int32_t Behind(uint64_t Now) const;
    // The schedule moves on by N slots whose frames were run without a wait.
    void Skip(int32_t N) { Index_ += N > 0 ? static_cast<uint64_t>(N) : 0; }
    // Restart the schedule: the next slot is one period after Now.
    void Reset(uint64_t Now);
    // The start of slot N of the current schedule.
    uint64_t Slot(uint64_t N) const;
    uint64_t Period() const { return Frequency_ / Fps_; }
    int32_t Restarts() const { return Restarts_; }

    // Sleeps until the next slot of the SDL clock (SDL_GetPerformanceCounter).
    void Wait();

private:
    uint64_t Frequency_;
    uint64_t Fps_;
    uint64_t MaxCatchUp_;
    bool Started_ = false;
    uint64_t Origin_ = 0;
    uint64_t Index_ = 0;  // slots since Origin
    int32_t Restarts_ = 0;
};

}  // namespace kv
