#include "platform/sdl/FramePacer.h"

#include <SDL.h>

#include <chrono>
#include <thread>

namespace kv {

TFramePacer::TFramePacer(uint64_t Frequency, int32_t FramesPerSecond, int32_t MaxCatchUp)
    : Frequency_(Frequency ? Frequency : 1),
      Fps_(FramesPerSecond > 0 ? static_cast<uint64_t>(FramesPerSecond) : 60),
      MaxCatchUp_(MaxCatchUp > 0 ? static_cast<uint64_t>(MaxCatchUp) : 0) {}

uint64_t TFramePacer::Slot(uint64_t N) const {
    // Whole seconds and the remainder apart, so that the product cannot overflow.
    return Origin_ + (N / Fps_) * Frequency_ + (N % Fps_) * Frequency_ / Fps_;
}

void TFramePacer::Reset(uint64_t Now) {
    Origin_ = Now;
    Index_ = 0;
    Started_ = true;
}

uint64_t TFramePacer::Advance(uint64_t Now) {
    if (!Started_ || Now < Origin_) {
        Reset(Now);
    }
    const uint64_t next = Slot(Index_ + 1);
    if (Now < next) {
        ++Index_;
        return next - Now;
    }
    // Late: run at once. More than MaxCatchUp slots behind, forget the missed ones.
    if (Now - next > MaxCatchUp_ * Period()) {
        Reset(Now);
        ++Restarts_;
        return 0;
    }
    ++Index_;
    return 0;
}

int32_t TFramePacer::Behind(uint64_t Now) const {
    if (!Started_) return 0;
    uint64_t n = 0;
    while (n < MaxCatchUp_ && Slot(Index_ + n + 1) <= Now) ++n;
    return static_cast<int32_t>(n);
}

void TFramePacer::Wait() {
    if (Advance(SDL_GetPerformanceCounter()) == 0) return;
    const uint64_t until = Slot(Index_);
    // One sleep to the slot: the system wakes a sleeper within a fraction of a millisecond,
    // where yielding in a loop hands the core to whatever else is runnable for a whole slice.
    for (uint64_t now = SDL_GetPerformanceCounter(); now < until; now = SDL_GetPerformanceCounter()) {
        const uint64_t ns = (until - now) * 1000000000ull / Frequency_;
        std::this_thread::sleep_for(std::chrono::nanoseconds(ns > 0 ? ns : 1));
    }
}

}  // namespace kv
