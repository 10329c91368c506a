#pragma once
// Clocks the benchmark programs share.
#include <SDL.h>

#include <chrono>

#include "platform/sdl/SdlSurface.h"
#include "support/World.h"

namespace kvbench {

using TClock = std::chrono::steady_clock;
inline double Ms(TClock::duration D) { return std::chrono::duration<double, std::milli>(D).count(); }

// Draws the back buffer as a frame would (before its purge and move) and waits for the renderer.
inline double TimeDraw(kvtest::TWorld& W, kv::TSdlSurface& S) {
    const auto t0 = TClock::now();
    S.Fill(0);
    W.E()->Draw();
    W.F().DrawHud();
    SDL_RenderFlush(S.Renderer());
    return Ms(TClock::now() - t0);
}

}  // namespace kvbench
