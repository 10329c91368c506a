#pragma once
// The frame timer: calls its handler with LagCount, the milliseconds since the last frame.
#include <cstdint>
#include <functional>

namespace kv {

class TDXTimer {
public:
    int32_t Interval = 0;
    bool ActiveOnly = true;
    bool Enabled = true;
    std::function<void(int32_t LagCount)> OnTimer;

    // One idle-loop tick at the millisecond clock Now. Returns whether the handler ran.
    bool Tick(int64_t Now, bool ApplicationActive);
    int32_t FrameRate() const { return FrameRate_; }

private:
    void Restart(int64_t Now);
    bool WasActive_ = false;
    bool Started_ = false;
    int64_t LastTick_ = 0;
    int64_t RateClock_ = 0;
    int32_t Frames_ = 0;
    int32_t FrameRate_ = 0;
};

}  // namespace kv
