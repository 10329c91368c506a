#include "platform/sdl/SdlReplayBar.h"

#include <algorithm>
#include <cstdio>

#include "platform/sdl/SdlWindow.h"

namespace kv {

namespace {

constexpr double kHudWidth = 118;  // the widest of "HP:", "Bomb:" and "Score:" with eight digits

std::string Clock(int64_t Frame) {
    const int64_t s = Frame / 60;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
    return text;
}

}  // namespace

void DrawReplayBar(SDL_Renderer* R, const SDL_Rect& Field, TSdlSurface& Surface, const TReplayBarView& V) {
    // Logical pixels of the playfield, scaled to the window.
    auto px = [&](double Logical) { return static_cast<int>(Logical * Field.w / TSdlWindow::LogicalWidth + 0.5); };
    // Right of the HUD's HP, Bomb and Score lines, which stay readable beside it.
    const SDL_Rect strip{Field.x + px(kHudWidth), Field.y + Field.h - px(34), Field.w - px(kHudWidth), px(34)};
    SDL_SetRenderDrawBlendMode(R, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(R, 0, 0, 24, 176);
    SDL_RenderFillRect(R, &strip);
    const int x0 = strip.x + px(8), width = strip.w - px(16), y = strip.y + px(24);
    const double end = static_cast<double>(std::max<int64_t>(1, V.End));
    auto xOf = [&](int64_t F) { return x0 + static_cast<int>(width * std::clamp(F / end, 0.0, 1.0)); };
    const SDL_Rect track{x0, y - px(1.5), width, std::max(1, px(3))};
    SDL_SetRenderDrawColor(R, 90, 90, 120, 255);
    SDL_RenderFillRect(R, &track);
    const SDL_Rect played{x0, track.y, xOf(V.Frame) - x0, track.h};
    SDL_SetRenderDrawColor(R, 90, 170, 255, 255);
    SDL_RenderFillRect(R, &played);
    for (const auto& m : V.Marks) {
        // Stages tall and cyan, boss phases short and orange.
        const int h = m.Stage ? px(12) : px(7);
        const SDL_Rect tick{xOf(m.Frame) - std::max(1, px(0.5)), y - h / 2, std::max(1, px(1.2)), h};
        if (m.Stage)
            SDL_SetRenderDrawColor(R, 80, 240, 230, 255);
        else
            SDL_SetRenderDrawColor(R, 255, 160, 60, 255);
        SDL_RenderFillRect(R, &tick);
    }
    const SDL_Rect knob{xOf(V.Frame) - px(3), y - px(5), px(6), px(10)};
    SDL_SetRenderDrawColor(R, 255, 255, 255, 255);
    SDL_RenderFillRect(R, &knob);
    const std::string text = Clock(V.Frame) + " / " + Clock(V.End) + "   " + V.Speed + (V.Paused ? "   ||" : "");
    if (const TSdlTextCache::TEntry* t = Surface.TextCache().Get(text, SDL_Color{230, 230, 255, 255}, px(12))) {
        const SDL_Rect at{x0, strip.y + px(3), t->Width, t->Height};
        SDL_RenderCopy(R, t->Texture, nullptr, &at);
    }
    // The hint on a tab of its own above the strip's right end, clear of the time and speed.
    if (V.Hint.empty()) return;
    if (const TSdlTextCache::TEntry* t = Surface.TextCache().Get(V.Hint, SDL_Color{255, 220, 120, 255}, px(11))) {
        const SDL_Rect tab{strip.x + strip.w - t->Width - px(16), strip.y - t->Height - px(4), t->Width + px(16),
                           t->Height + px(4)};
        SDL_SetRenderDrawColor(R, 0, 0, 24, 176);
        SDL_RenderFillRect(R, &tab);
        const SDL_Rect at{tab.x + px(8), tab.y + px(2), t->Width, t->Height};
        SDL_RenderCopy(R, t->Texture, nullptr, &at);
    }
}

}  // namespace kv
