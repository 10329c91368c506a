#include "engine/Timer.h"

#include <algorithm>
#include <cmath>

namespace kv {

void TDXTimer::Restart(int64_t Now) {
    LastTick_ = Now;
    RateClock_ = Now;
    Frames_ = 0;
    Started_ = true;
}

bool TDXTimer::Tick(int64_t Now, bool ApplicationActive) {
    if (!Enabled) return false;
    if (ActiveOnly && !ApplicationActive) {
        WasActive_ = false;
        return false;
    }
    // Becoming active again restarts the clocks, so the pause is not counted.
    if (!Started_ || !WasActive_) Restart(Now);
    WasActive_ = true;
    if (Now - LastTick_ < Interval) return false;
    int64_t lag = (Now - LastTick_) / std::max<int32_t>(Interval, 1);
    LastTick_ = Now;
    Frames_++;
    if (Now - RateClock_ >= 1000) {
        FrameRate_ = static_cast<int32_t>(std::lround(Frames_ * 1000.0 / static_cast<double>(Now - RateClock_)));
        Frames_ = 0;
        RateClock_ = Now;
    }
    if (OnTimer) OnTimer(static_cast<int32_t>(std::max<int64_t>(lag, 1)));
    return true;
}

}  // namespace kv
