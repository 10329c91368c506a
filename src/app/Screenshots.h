#pragma once
// Pictures of a run: the back buffer with the window's controls, as a PNG.
#include <memory>
#include <string>

#include "engine/Surface.h"

namespace kv {
class TForm1;
class TSdlSurface;
}

namespace kv::app {

class TScreenshotSurface {
public:
    explicit TScreenshotSurface(std::unique_ptr<TSdlSurface> S);
    ~TScreenshotSurface();
    ISurface* Surface();
    TSdlSurface& Sdl() { return *Surface_; }

private:
    std::unique_ptr<TSdlSurface> Surface_;
};

// A software surface of the playfield's size; nullptr (with the reason on stderr) when SDL
// cannot make one.
std::unique_ptr<TScreenshotSurface> MakeScreenshotSurface();
// Draws the visible controls over the frame and writes the PNG; a failure is reported through
// the window's error report.
void SaveScreenshot(TScreenshotSurface& S, TForm1& Form, const std::string& Path);
// FILE-N.png for frame N: "shot.png" → "shot-120.png".
std::string ScreenshotName(const std::string& Base, int64_t Frame);

}  // namespace kv::app
