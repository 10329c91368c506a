#include "platform/sdl/SdlIcon.h"

#include <stb_image.h>

#include <memory>

namespace kv {

extern const unsigned char AppIconPng[];
extern const unsigned long AppIconPng_size;

SDL_Surface* LoadAppIcon() {
    int w = 0, h = 0, n = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> px(
        stbi_load_from_memory(AppIconPng, static_cast<int>(AppIconPng_size), &w, &h, &n, 4), stbi_image_free);
    if (!px) {
        SDL_SetError("the built-in icon cannot be decoded: %s", stbi_failure_reason());
        return nullptr;
    }
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
    if (!s) return nullptr;
    for (int y = 0; y < h; ++y)
        SDL_memcpy(static_cast<Uint8*>(s->pixels) + y * s->pitch, px.get() + y * w * 4, static_cast<size_t>(w) * 4);
    return s;
}

void SetAppIdHints() {
    SDL_SetHintWithPriority("SDL_VIDEO_X11_WMCLASS", KV_APP_ID, SDL_HINT_DEFAULT);
    SDL_SetHintWithPriority("SDL_VIDEO_WAYLAND_WMCLASS", KV_APP_ID, SDL_HINT_DEFAULT);
}

void SetAppIcon(SDL_Window* Window) {
    if (SDL_Surface* icon = LoadAppIcon()) {
        SDL_SetWindowIcon(Window, icon);
        SDL_FreeSurface(icon);
    }
}

}  // namespace kv
