#pragma once
// The keys and pad buttons of a replay being watched, besides P / Start (pause) and Esc (stop).
//   ← →  d-pad ← →              5 seconds back, forward
//   PgUp PgDn  d-pad ↑ ↓         the previous, next stage or boss phase
//   .  A (paused)                one frame on
//   1–6                          ¼×, ½×, 1×, 2×, 4×, as fast as it goes
//   - +  left, right shoulder    slower, faster
//   T  Y                         take over: the player plays on from here
#include <SDL.h>

#include "app/ReplayScrubber.h"

namespace kv::app {

struct TWatchCommand {
    enum EKind { None, Jump, Step, Speed, Slower, Faster, Stop, TakeOver } Kind = None;
    TReplayScrubber::EJump To = TReplayScrubber::Back5s;
    TReplayScrubber::ESpeed NewSpeed = TReplayScrubber::Normal;
};

TWatchCommand WatchCommandOf(const SDL_Event& E);

}  // namespace kv::app
