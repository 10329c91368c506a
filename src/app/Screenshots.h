#pragma once
// Pictures of a run: the back buffer with the window's controls, as a PNG.
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/Surface.h"

union SDL_Event;

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
// The player's screenshot key, F12: a PNG of the back buffer into the pictures folder, logged as
// a "screenshot" event with its path and named on stderr.
class TScreenshotKey {
public:
    // Notes a press of F12 (key repeats do not count); true when E was one.
    bool HandleEvent(const SDL_Event& E);
    // Takes the picture asked for; call once the frame is drawn, before it is presented.
    void TakeIfAsked(TForm1& Form, const TSdlSurface& Surface);

private:
    bool Asked_ = false;
};
// Dir/kalvento-YYYYMMDD-HHMMSS.png for the local time When, with -2, -3 … when that is taken.
std::filesystem::path FreeScreenshotPath(const std::filesystem::path& Dir, std::time_t When);

// FILE-N.png for frame N: "shot.png" → "shot-120.png".
std::string ScreenshotName(const std::string& Base, int64_t Frame);

}  // namespace kv::app
