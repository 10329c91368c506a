#pragma once
// The game window: "Kalvento", a 321 × 481 logical target shown at an integer scale, or
// letterboxed in full screen. Everything (pictures, HUD, controls) is drawn into the target;
// Present copies it to the window.
#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>

namespace kv {

struct TSdlWindowOptions {
    int32_t Scale = 1;        // window client = 321·Scale × 481·Scale
    bool Fullscreen = false;  // desktop full screen, largest integer scale that fits
    bool VSync = true;        // present on the vertical retrace when the renderer can
    bool Hidden = false;      // no visible window (tests)
    std::string Title = "Kalvento";
};

class TSdlWindow {
public:
    static constexpr int32_t LogicalWidth = 321, LogicalHeight = 481;

    // Raises std::runtime_error with SDL's reason when no window or renderer can be made.
    explicit TSdlWindow(const TSdlWindowOptions& Options = {});
    ~TSdlWindow();
    TSdlWindow(const TSdlWindow&) = delete;
    TSdlWindow& operator=(const TSdlWindow&) = delete;

    SDL_Window* Window() const { return Window_; }
    SDL_Renderer* Renderer() const { return Renderer_; }
    SDL_Texture* Target() const { return Target_; }
    uint32_t WindowId() const { return SDL_GetWindowID(Window_); }
    bool VSync() const { return VSync_; }
    const TSdlWindowOptions& Options() const { return Options_; }

    // Draw into the logical target (Present leaves it selected as well).
    void SelectTarget();
    // Letterboxed copy of the target to the window, then show the frame. Overlay, when given,
    // draws over the copy on the window (Field: where the target landed, in output pixels).
    using TOverlay = std::function<void(SDL_Renderer* Renderer, const SDL_Rect& Field)>;
    void Present(const TOverlay& Overlay = {});
    // The window has the keyboard focus.
    bool HasFocus() const;

    // Where the target lands, in window coordinates (the mouse's) and in renderer output pixels.
    SDL_FRect WindowRect() const;
    SDL_Rect OutputRect() const;
    // Window coordinates to logical pixels; false outside the target.
    bool WindowToLogical(float WX, float WY, float& LX, float& LY) const;
    // A logical rectangle in window coordinates (for the input method's candidate box).
    SDL_Rect LogicalToWindow(const SDL_Rect& R) const;

private:
    TSdlWindowOptions Options_;
    SDL_Window* Window_ = nullptr;
    SDL_Renderer* Renderer_ = nullptr;
    SDL_Texture* Target_ = nullptr;
    bool VSync_ = false;
};

// Largest placement of a Lw × Lh picture in an Ow × Oh area: an integer scale when at least 1
// fits, else shrunk to fit; centred.
SDL_Rect FitLogical(int32_t Lw, int32_t Lh, int32_t Ow, int32_t Oh);

}  // namespace kv
