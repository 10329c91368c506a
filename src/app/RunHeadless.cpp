// Headless runs: the shared frame loop, with screenshots and frame statistics around it.
#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/Autopilot.h"
#include "app/HeadlessLoop.h"
#include "app/Run.h"
#include "app/RunStats.h"
#include "app/Screenshots.h"
#include "app/Session.h"
#include "app/StopSignals.h"
#include "i18n/Tr.h"

namespace kv::app {

int RunHeadless(const TOptions& O, const std::string& ExeDir) {
    TSession session(O);
    try {
        session.OpenFiles();
        // Found out now rather than after a long run.
        if (!O.StatsFile.empty() && !std::ofstream(O.StatsFile))
            throw std::runtime_error("cannot write the statistics file " + O.StatsFile);
    } catch (const std::exception& e) {
        std::cerr << "kalvento: " << e.what() << "\n";
        return 1;
    }
    session.KeepUserFiles(false);
    CatchStopSignals();
    const std::string language = i18n::SetLanguage(O.Lang.empty() ? "auto" : O.Lang);
    if (!language.empty()) std::cerr << "kalvento: " << language << "; the game is shown in Japanese\n";

    // Pixels are drawn only when a picture of the run is wanted.
    std::unique_ptr<TScreenshotSurface> pixels;
    if (!O.Screenshot.empty()) {
        pixels = MakeScreenshotSurface();
        if (!pixels) {
            std::cerr << "kalvento: cannot make a drawing surface for screenshots\n";
            return 1;
        }
    }
    THeadlessKit kit;
    kit.Music.RequireFiles = true;
    TServices s = kit.Services(pixels ? pixels->Surface() : nullptr);
    s.ExeDir = ExeDir;
    s.DataDir = O.DataDir;
    s.Seed = O.Seed ? *O.Seed : session.ScriptSeed().value_or(0);
    TForm1 form(s);
    session.Attach(form, s.Seed);
    std::unique_ptr<TAutopilot> pilot;
    if (O.Autopilot) pilot = std::make_unique<TAutopilot>(form, kit.Keyboard);
    form.FormCreate();
    if (!session.StartRequestedGame()) return session.ExitStatus();

    THeadlessLoop loop(session, form, kit, pilot.get());
    TRunStats stats;
    // --from and --take-over: the time taken to reach the frame.
    const int64_t seek = session.SeekFrame();
    const auto seekStart = std::chrono::steady_clock::now();
    if (seek == 0) stats.SetSeek(0, 0);
    while (true) {
        stats.BeginFrame();
        if (!loop.Step()) break;
        const int64_t frame = loop.Frame();
        if (frame == seek)
            stats.SetSeek(frame, std::chrono::duration<double>(std::chrono::steady_clock::now() - seekStart).count());
        if (pixels && std::find(O.ScreenshotAt.begin(), O.ScreenshotAt.end(), frame) != O.ScreenshotAt.end())
            SaveScreenshot(*pixels, form, ScreenshotName(O.Screenshot, frame));
        stats.EndFrame(session.GameCleanedUp());
    }
    if (pixels && O.ScreenshotAt.empty()) SaveScreenshot(*pixels, form, O.Screenshot);
    if (pilot) stats.SetPilot(loop.PilotSeconds());
    session.Finish();
    if (!O.StatsFile.empty()) {
        try {
            stats.Write(O.StatsFile);
        } catch (const std::exception& e) {
            std::cerr << "kalvento: " << e.what() << "\n";
            return 1;
        }
    }
    return session.ExitStatus();
}

}  // namespace kv::app
