#include "app/Screenshots.h"

#include <iostream>

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

std::string ScreenshotName(const std::string& Base, int64_t Frame) {
    const size_t slash = Base.find_last_of('/');
    const size_t dot = Base.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return Base + "-" + std::to_string(Frame);
    return Base.substr(0, dot) + "-" + std::to_string(Frame) + Base.substr(dot);
}

}  // namespace kv::app
