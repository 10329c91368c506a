#pragma once
// The position bar over the bottom of the playfield while a replay is watched: how far it has
// played, where its stages and boss phases begin, the speed. Drawn on the window, never into the
// game's back buffer.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sdl/SdlSurface.h"

namespace kv {

struct TReplayBarView {
    int64_t Frame = 0, End = 0;
    struct TMark {
        int64_t Frame;
        bool Stage;
    };
    std::vector<TMark> Marks;
    std::string Speed;
    bool Paused = false;
    std::string Hint;  // what the player can do besides watching, at the right end
};

void DrawReplayBar(SDL_Renderer* R, const SDL_Rect& Field, TSdlSurface& Surface, const TReplayBarView& View);

}  // namespace kv
