#include "app/LoopClock.h"

namespace kv::app {

void TLoopClock::TogglePause(uint64_t NowMs) {
    if (!Paused_) {
        PausedAt_ = NowMs;
    } else if (NowMs > PausedAt_) {
        NextSecond_ += NowMs - PausedAt_;
    }
    Paused_ = !Paused_;
}

int32_t TLoopClock::SecondsDue(uint64_t NowMs) {
    if (Paused_) return 0;
    int32_t n = 0;
    while (NowMs >= NextSecond_) {
        NextSecond_ += 1000;
        ++n;
    }
    return n;
}

}  // namespace kv::app
