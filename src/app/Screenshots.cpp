#include "app/Screenshots.h"

#include <SDL.h>

#include <iostream>

#include "app/UserDirs.h"
#include "platform/sdl/SdlSurface.h"
#include "shell/Form1.h"

namespace kv::app {

TScreenshotSurface::TScreenshotSurface(std::unique_ptr<TSdlSurface> S) : Surface_(std::move(S)) {}
TScreenshotSurface::~TScreenshotSurface() = default;
ISurface* TScreenshotSurface::Surface() { return Surface_.get(); }

std::unique_ptr<TScreenshotSurface> MakeScreenshotSurface() {
    try {
        return std::make_unique<TScreenshotSurface>(TSdlSurface::CreateSoftware());
    } catch (const std::exception& e) {
        std::cerr << "kalvento: " << e.what() << "\n";
        return nullptr;
    }
}

void SaveScreenshot(TScreenshotSurface& S, TForm1& Form, const std::string& Path) {
    Form.Handle([&] { S.Sdl().SavePng(Path); });
}

bool TScreenshotKey::HandleEvent(const SDL_Event& E) {
    if (E.type != SDL_KEYDOWN || E.key.repeat || E.key.keysym.scancode != SDL_SCANCODE_F12) return false;
    Asked_ = true;
    return true;
}

void TScreenshotKey::TakeIfAsked(TForm1& Form, const TSdlSurface& Surface) {
    if (!Asked_) return;
    Asked_ = false;
    std::string path;
    const bool saved = Form.Handle([&] {
        path = FreeScreenshotPath(PicturesDir(), std::time(nullptr)).string();
        Surface.SavePng(path);
    });
    if (!saved) return;
    Form.Log.Write("screenshot", {{"path", path}});
    std::cerr << "kalvento: screenshot saved to " << path << "\n";
}

std::filesystem::path FreeScreenshotPath(const std::filesystem::path& Dir, std::time_t When) {
    std::tm local{};
    localtime_r(&When, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "kalvento-%Y%m%d-%H%M%S", &local);
    std::error_code ec;
    std::filesystem::path p = Dir / (std::string(stamp) + ".png");
    for (int n = 2; std::filesystem::exists(p, ec); ++n) p = Dir / (std::string(stamp) + "-" + std::to_string(n) + ".png");
    return p;
}

std::string ScreenshotName(const std::string& Base, int64_t Frame) {
    const size_t slash = Base.find_last_of('/');
    const size_t dot = Base.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return Base + "-" + std::to_string(Frame);
    return Base.substr(0, dot) + "-" + std::to_string(Frame) + Base.substr(dot);
}

}  // namespace kv::app
