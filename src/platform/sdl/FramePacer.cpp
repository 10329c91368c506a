#include "platform/sdl/FramePacer.h"

#include <SDL.h>

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

void TFramePacer::Wait() {
    if (Advance(SDL_GetPerformanceCounter()) == 0) return;
    const uint64_t until = Slot(Index_);
    // Sleep whole milliseconds but the last, then yield until the slot.
    for (uint64_t now = SDL_GetPerformanceCounter(); now < until; now = SDL_GetPerformanceCounter()) {
        const uint64_t ms = (until - now) * 1000 / Frequency_;
        SDL_Delay(ms >= 2 ? static_cast<Uint32>(ms - 1) : 0);
    }
}

}  // namespace kv
