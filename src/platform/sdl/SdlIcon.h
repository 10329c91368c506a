#pragma once
// The game's icon, built into the program from the same drawing as the desktop's icons: the
// window's icon and the picture of the version window.
#include <SDL.h>

namespace kv {

// The icon as an RGBA surface (64 × 64); nullptr, with SDL's error set, when it cannot be decoded.
// The caller frees it.
SDL_Surface* LoadAppIcon();
// Names the game to the window system by its application id, so that the desktop pairs the
// window with the game's menu entry. Call before the window is made; the environment's own
// choice wins.
void SetAppIdHints();
// Gives the window the icon; a failure only leaves the system's default.
void SetAppIcon(SDL_Window* Window);

}  // namespace kv
