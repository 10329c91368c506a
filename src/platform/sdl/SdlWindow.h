#pragma once
// The game window: "Kalvento", a 321 × 481 logical target shown as large as the window allows
// and centred on black: at an integer scale when one fits, smoothly scaled otherwise. The window
// is resizable and goes to full screen at the desktop's resolution. Everything (pictures, HUD,
// controls) is drawn into the target; Present copies it to the window.
#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>

namespace kv {

// How the window draws. Auto takes the GPU's renderer unless its OpenGL is a software rasterizer
// (virtual machines, remote desktops, no GPU driver), which cannot hold 60 frames a second
// through thousands of sprite draws; SDL's own software renderer can.
enum class ERendererChoice { Auto, Gpu, Software };

// Whether an OpenGL renderer string (GL_RENDERER) names a rasterizer that runs on the CPU.
bool IsSoftwareGl(const std::string& GlRenderer);

struct TSdlWindowOptions {
    // Client 321·Scale × 481·Scale; 0: Width × Height when given, else the largest integer
    // scale whose window, decorations included, fits the display's usable area.
    int32_t Scale = 0;
    int32_t Width = 0, Height = 0;
    bool Fullscreen = false;  // desktop full screen
    bool VSync = true;        // present on the vertical retrace when the renderer can
    bool Hidden = false;      // no visible window (tests)
    ERendererChoice Renderer = ERendererChoice::Auto;
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
    // SDL's name of the renderer in use ("software", "opengl", …); for OpenGL, the driver's
    // renderer string; and why Auto left the GPU ("" when it did not).
    const std::string& RendererName() const { return RendererName_; }
    const std::string& GlRenderer() const { return GlRenderer_; }
    const std::string& RendererReason() const { return Reason_; }
    const TSdlWindowOptions& Options() const { return Options_; }

    bool Fullscreen() const;
    void SetFullscreen(bool On);
    // A window of 321·K × 481·K (as much of it as the display holds), centred; leaves full screen.
    void SetScale(int32_t K);
    void SetVSync(bool On);
    // The client size out of full screen, as the player last left it.
    SDL_Point WindowedSize() const { return Windowed_; }
    // The integer scale that size holds (at least 1).
    int32_t WindowedScale() const;
    // Size and full-screen changes; true when the window's size or mode changed.
    bool HandleEvent(const SDL_Event& E);

    // Draw into the logical target (Present leaves it selected as well).
    void SelectTarget();
    // The target made anew, black (the renderer lost it). Raises std::runtime_error on failure.
    void RecreateTarget();
    // Letterboxed copy of the target to the window, then show the frame. Overlay, when given,
    // draws over the copy on the window (Field: where the target landed, in output pixels).
    using TOverlay = std::function<void(SDL_Renderer* Renderer, const SDL_Rect& Field)>;
    void Present(const TOverlay& Overlay = {});
    // Present in two steps: Compose draws the window's picture ahead, Show puts it on the screen
    // (at the moment it is due) and selects the target again.
    void Compose(const TOverlay& Overlay = {});
    void Show();
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
    void CreateRenderer();
    void CreateTarget();
    SDL_Rect Usable() const;
    TSdlWindowOptions Options_;
    SDL_Point Windowed_{LogicalWidth, LogicalHeight};
    SDL_Window* Window_ = nullptr;
    SDL_Renderer* Renderer_ = nullptr;
    SDL_Texture* Target_ = nullptr;
    bool VSync_ = false;
    std::string RendererName_, GlRenderer_, Reason_;
};

// Largest placement of a Lw × Lh picture in an Ow × Oh area: an integer scale when at least 1
// fits, else shrunk to fit; centred.
SDL_Rect FitLogical(int32_t Lw, int32_t Lh, int32_t Ow, int32_t Oh);

// Window decorations in pixels; before the window manager has framed a window they are not
// known, and a generous title bar is assumed.
struct TBorders {
    int32_t Top = 48, Left = 8, Bottom = 8, Right = 8;
};
// The largest integer scale (1 … 8) whose window with Borders fits in Usable.
int32_t FitScale(const SDL_Rect& Usable, const TBorders& Borders);
// A client size that keeps its window inside Usable, and is at least the playfield.
SDL_Point ClampClientSize(SDL_Point Size, const SDL_Rect& Usable, const TBorders& Borders);

}  // namespace kv
