#include "platform/sdl/SdlWindow.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "platform/sdl/SdlIcon.h"

namespace kv {

bool IsSoftwareGl(const std::string& GlRenderer) {
    std::string s = GlRenderer;
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* cpu : {"llvmpipe", "softpipe", "swrast", "software rasterizer", "swiftshader"})
        if (s.find(cpu) != std::string::npos) return true;
    return false;
}

namespace {

// GL_RENDERER of the OpenGL context an OpenGL renderer has just made current; "" for others.
std::string CurrentGlRenderer(SDL_Renderer* R) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(R, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0) return {};
    if (!SDL_GL_GetCurrentContext()) return {};
    using TGetString = const unsigned char*(APIENTRY*)(GLenum);
    auto getString = reinterpret_cast<TGetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* s = getString ? getString(GL_RENDERER) : nullptr;
    return s ? reinterpret_cast<const char*>(s) : "";
}

}  // namespace

SDL_Rect FitLogical(int32_t Lw, int32_t Lh, int32_t Ow, int32_t Oh) {
    if (Lw <= 0 || Lh <= 0 || Ow <= 0 || Oh <= 0) return SDL_Rect{0, 0, 0, 0};
    int32_t w, h;
    const int32_t k = std::min(Ow / Lw, Oh / Lh);
    if (k >= 1) {
        w = Lw * k;
        h = Lh * k;
    } else if (static_cast<int64_t>(Ow) * Lh <= static_cast<int64_t>(Oh) * Lw) {
        w = Ow;
        h = std::max<int32_t>(1, static_cast<int32_t>(static_cast<int64_t>(Ow) * Lh / Lw));
    } else {
        h = Oh;
        w = std::max<int32_t>(1, static_cast<int32_t>(static_cast<int64_t>(Oh) * Lw / Lh));
    }
    return SDL_Rect{(Ow - w) / 2, (Oh - h) / 2, w, h};
}

int32_t FitScale(const SDL_Rect& Usable, const TBorders& B) {
    const int32_t kw = (Usable.w - B.Left - B.Right) / TSdlWindow::LogicalWidth;
    const int32_t kh = (Usable.h - B.Top - B.Bottom) / TSdlWindow::LogicalHeight;
    return std::clamp(std::min(kw, kh), 1, 8);
}

SDL_Point ClampClientSize(SDL_Point Size, const SDL_Rect& Usable, const TBorders& B) {
    const int32_t maxW = std::max(TSdlWindow::LogicalWidth, Usable.w - B.Left - B.Right);
    const int32_t maxH = std::max(TSdlWindow::LogicalHeight, Usable.h - B.Top - B.Bottom);
    return SDL_Point{std::clamp(Size.x, TSdlWindow::LogicalWidth, maxW),
                     std::clamp(Size.y, TSdlWindow::LogicalHeight, maxH)};
}

SDL_Rect TSdlWindow::Usable() const {
    SDL_Rect r{0, 0, 0, 0};
    const int display = Window_ ? std::max(0, SDL_GetWindowDisplayIndex(Window_)) : 0;
    if (SDL_GetDisplayUsableBounds(display, &r) != 0 || r.w <= 0 || r.h <= 0) {
        SDL_DisplayMode m{};
        if (SDL_GetDesktopDisplayMode(display, &m) == 0) r = SDL_Rect{0, 0, m.w, m.h};
    }
    if (r.w <= 0 || r.h <= 0) r = SDL_Rect{0, 0, LogicalWidth, LogicalHeight};
    return r;
}

TSdlWindow::TSdlWindow(const TSdlWindowOptions& Options) : Options_(Options) {
    SetAppIdHints();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw std::runtime_error(std::string("cannot start the video system: ") + SDL_GetError());
    const SDL_Rect usable = Usable();
    if (Options_.Scale > 0)
        Windowed_ = SDL_Point{LogicalWidth * Options_.Scale, LogicalHeight * Options_.Scale};
    else if (Options_.Width > 0 && Options_.Height > 0)
        Windowed_ = ClampClientSize(SDL_Point{Options_.Width, Options_.Height}, usable, TBorders{});
    else
        Windowed_ = SDL_Point{LogicalWidth * FitScale(usable, TBorders{}), LogicalHeight * FitScale(usable, TBorders{})};
    Uint32 flags = SDL_WINDOW_RESIZABLE | (Options_.Hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN);
    if (Options_.Fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    Window_ = SDL_CreateWindow(Options_.Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, Windowed_.x,
                               Windowed_.y, flags);
    if (!Window_) {
        std::string why = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw std::runtime_error("cannot open the window: " + why);
    }
    SDL_SetWindowMinimumSize(Window_, LogicalWidth, LogicalHeight);
    SetAppIcon(Window_);
    try {
        CreateRenderer();
        CreateTarget();
    } catch (...) {
        if (Renderer_) SDL_DestroyRenderer(Renderer_);
        SDL_DestroyWindow(Window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw;
    }
}

void TSdlWindow::CreateRenderer() {
    // X11 takes a software renderer's frames straight from shared memory; by default SDL sends
    // them through another OpenGL texture upload, the very cost the software renderer avoids
    // (whichever way it was chosen, SDL_RENDER_DRIVER included).
    if (const char* driver = SDL_GetCurrentVideoDriver(); driver && std::strcmp(driver, "x11") == 0)
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    // With the retrace wait when the renderer can; without it otherwise.
    const Uint32 vsync = Options_.VSync ? static_cast<Uint32>(SDL_RENDERER_PRESENTVSYNC) : 0u;
    auto create = [&](Uint32 Kind) {
        SDL_Renderer* r = SDL_CreateRenderer(Window_, -1, Kind | SDL_RENDERER_TARGETTEXTURE | vsync);
        return r ? r : SDL_CreateRenderer(Window_, -1, Kind | SDL_RENDERER_TARGETTEXTURE);
    };
    if (Options_.Renderer != ERendererChoice::Software) {
        Renderer_ = create(SDL_RENDERER_ACCELERATED);
        if (Renderer_) GlRenderer_ = CurrentGlRenderer(Renderer_);
        if (Renderer_ && Options_.Renderer == ERendererChoice::Auto && IsSoftwareGl(GlRenderer_)) {
            Reason_ = "the OpenGL renderer '" + GlRenderer_ + "' runs on the CPU";
            SDL_DestroyRenderer(Renderer_);
            Renderer_ = nullptr;
            GlRenderer_.clear();
        }
    }
    if (!Renderer_) {
        if (Options_.Renderer != ERendererChoice::Software && Reason_.empty())
            Reason_ = std::string("no accelerated renderer: ") + SDL_GetError();
        Renderer_ = create(SDL_RENDERER_SOFTWARE);
    }
    // The OpenGL on the CPU that was left, when no software renderer can be had: slow drawing
    // rather than none.
    if (!Renderer_ && Options_.Renderer == ERendererChoice::Auto && !Reason_.empty()) {
        const std::string why = SDL_GetError();
        Renderer_ = create(SDL_RENDERER_ACCELERATED);
        if (Renderer_) {
            GlRenderer_ = CurrentGlRenderer(Renderer_);
            Reason_ = "no software renderer: " + why;
        }
    }
    if (!Renderer_) throw std::runtime_error(std::string("cannot create a renderer for the window: ") + SDL_GetError());
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(Renderer_, &info) == 0) {
        VSync_ = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        RendererName_ = info.name ? info.name : "";
    }
}

void TSdlWindow::CreateTarget() {
    // The software renderer copies a target of the window's own pixel format to it row by row;
    // any other format is converted pixel by pixel, every frame.
    Uint32 format = SDL_PIXELFORMAT_ARGB8888;
    const Uint32 window = SDL_GetWindowPixelFormat(Window_);
    if (RendererName_ == "software" && (window == SDL_PIXELFORMAT_RGB888 || window == SDL_PIXELFORMAT_ARGB8888))
        format = window;
    Target_ = SDL_CreateTexture(Renderer_, format, SDL_TEXTUREACCESS_TARGET, LogicalWidth, LogicalHeight);
    if (!Target_) throw std::runtime_error(std::string("cannot create the 321 x 481 drawing target: ") + SDL_GetError());
    // Integer scales of pixel art stay sharp.
    SDL_SetTextureScaleMode(Target_, SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(Target_, SDL_BLENDMODE_NONE);
    SelectTarget();
    SDL_SetRenderDrawColor(Renderer_, 0, 0, 0, 255);
    SDL_RenderClear(Renderer_);
}

void TSdlWindow::RecreateTarget() {
    SDL_SetRenderTarget(Renderer_, nullptr);
    SDL_DestroyTexture(Target_);
    Target_ = nullptr;
    CreateTarget();
}

TSdlWindow::~TSdlWindow() {
    SDL_DestroyTexture(Target_);
    SDL_DestroyRenderer(Renderer_);
    SDL_DestroyWindow(Window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void TSdlWindow::SelectTarget() { SDL_SetRenderTarget(Renderer_, Target_); }

SDL_Rect TSdlWindow::OutputRect() const {
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(Renderer_, &ow, &oh);
    return FitLogical(LogicalWidth, LogicalHeight, ow, oh);
}

SDL_FRect TSdlWindow::WindowRect() const {
    int ow = 0, oh = 0, ww = 0, wh = 0;
    SDL_GetRendererOutputSize(Renderer_, &ow, &oh);
    SDL_GetWindowSize(Window_, &ww, &wh);
    const SDL_Rect r = FitLogical(LogicalWidth, LogicalHeight, ow, oh);
    // Output pixels and window coordinates differ on high-density displays.
    const float sx = ow > 0 ? static_cast<float>(ww) / ow : 1.0f;
    const float sy = oh > 0 ? static_cast<float>(wh) / oh : 1.0f;
    return SDL_FRect{r.x * sx, r.y * sy, r.w * sx, r.h * sy};
}

bool TSdlWindow::WindowToLogical(float WX, float WY, float& LX, float& LY) const {
    const SDL_FRect r = WindowRect();
    if (r.w <= 0 || r.h <= 0) return false;
    LX = (WX - r.x) * LogicalWidth / r.w;
    LY = (WY - r.y) * LogicalHeight / r.h;
    return LX >= 0 && LY >= 0 && LX < LogicalWidth && LY < LogicalHeight;
}

SDL_Rect TSdlWindow::LogicalToWindow(const SDL_Rect& R) const {
    const SDL_FRect r = WindowRect();
    const float kx = r.w / LogicalWidth, ky = r.h / LogicalHeight;
    return SDL_Rect{static_cast<int>(r.x + R.x * kx), static_cast<int>(r.y + R.y * ky), static_cast<int>(R.w * kx),
                    static_cast<int>(R.h * ky)};
}

void TSdlWindow::Present(const TOverlay& Overlay) {
    Compose(Overlay);
    Show();
}

void TSdlWindow::Compose(const TOverlay& Overlay) {
    SDL_SetRenderTarget(Renderer_, nullptr);
    // The window's viewport is not always brought up to date by a resize that happens while the
    // target is selected (the switch to full screen): take the whole output every time.
    SDL_RenderSetViewport(Renderer_, nullptr);
    SDL_RenderSetClipRect(Renderer_, nullptr);
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(Renderer_, &ow, &oh);
    const SDL_Rect dst = FitLogical(LogicalWidth, LogicalHeight, ow, oh);
    // Black bars around the picture; the picture itself covers the rest.
    const SDL_Rect bars[] = {{0, 0, ow, dst.y},
                             {0, dst.y + dst.h, ow, oh - dst.y - dst.h},
                             {0, dst.y, dst.x, dst.h},
                             {dst.x + dst.w, dst.y, ow - dst.x - dst.w, dst.h}};
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawBlendMode(Renderer_, &mode);
    SDL_SetRenderDrawColor(Renderer_, 0, 0, 0, 255);
    SDL_SetRenderDrawBlendMode(Renderer_, SDL_BLENDMODE_NONE);
    for (const SDL_Rect& b : bars)
        if (b.w > 0 && b.h > 0) SDL_RenderFillRect(Renderer_, &b);
    SDL_SetRenderDrawBlendMode(Renderer_, mode);
    // Whole multiples stay sharp; anything else is smoothed rather than unevenly doubled.
    const bool whole = dst.w % LogicalWidth == 0 && dst.h % LogicalHeight == 0;
    SDL_SetTextureScaleMode(Target_, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_RenderCopy(Renderer_, Target_, nullptr, &dst);
    if (Overlay) Overlay(Renderer_, dst);
    SDL_RenderFlush(Renderer_);
}

void TSdlWindow::Show() {
    SDL_RenderPresent(Renderer_);
    SelectTarget();
}

bool TSdlWindow::HasFocus() const { return SDL_GetKeyboardFocus() == Window_; }

bool TSdlWindow::Fullscreen() const { return (SDL_GetWindowFlags(Window_) & SDL_WINDOW_FULLSCREEN) != 0; }

void TSdlWindow::SetFullscreen(bool On) {
    if (On == Fullscreen()) return;
    SDL_SetWindowFullscreen(Window_, On ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!On) SDL_SetWindowSize(Window_, Windowed_.x, Windowed_.y);
}

void TSdlWindow::SetScale(int32_t K) {
    SetFullscreen(false);
    const SDL_Rect usable = Usable();
    K = std::clamp(K, 1, 8);
    Windowed_ = ClampClientSize(SDL_Point{LogicalWidth * K, LogicalHeight * K}, usable, TBorders{});
    SDL_SetWindowSize(Window_, Windowed_.x, Windowed_.y);
    SDL_SetWindowPosition(Window_, SDL_WINDOWPOS_CENTERED_DISPLAY(SDL_GetWindowDisplayIndex(Window_)),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(SDL_GetWindowDisplayIndex(Window_)));
}

void TSdlWindow::SetVSync(bool On) {
    if (SDL_RenderSetVSync(Renderer_, On ? 1 : 0) == 0) VSync_ = On;
}

int32_t TSdlWindow::WindowedScale() const {
    return std::max(1, std::min(Windowed_.x / LogicalWidth, Windowed_.y / LogicalHeight));
}

bool TSdlWindow::HandleEvent(const SDL_Event& E) {
    if (E.type != SDL_WINDOWEVENT || E.window.windowID != WindowId()) return false;
    if (E.window.event != SDL_WINDOWEVENT_SIZE_CHANGED) return false;
    // The size the player gave the window; full screen's size is the display's, not theirs.
    if (!Fullscreen() && (SDL_GetWindowFlags(Window_) & SDL_WINDOW_MAXIMIZED) == 0)
        Windowed_ = SDL_Point{E.window.data1, E.window.data2};
    return true;
}

}  // namespace kv
