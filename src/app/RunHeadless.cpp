// Headless runs: a virtual clock of 60 frames a second, scripted input, silent sound.
#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/Autopilot.h"
#include "app/Run.h"
#include "app/RunStats.h"
#include "app/Screenshots.h"
#include "app/Session.h"
#include "app/StopSignals.h"
#include "i18n/Tr.h"
#include "platform/headless/Headless.h"

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
    headless::TRecordingSurface blind;
    blind.Record = false;
    if (!O.Screenshot.empty()) {
        pixels = MakeScreenshotSurface();
        if (!pixels) {
            std::cerr << "kalvento: cannot make a drawing surface for screenshots\n";
            return 1;
        }
    }
    headless::TScriptedKeyboard keyboard;
    headless::TRecordingAudio audio;
    audio.Record = false;
    headless::TFakeMusic music;
    music.RequireFiles = true;
    headless::TAutoDialogs dialogs;

    TServices s;
    s.Surface = pixels ? pixels->Surface() : static_cast<ISurface*>(&blind);
    s.Audio = &audio;
    s.Music = &music;
    s.Dialogs = &dialogs;
    s.Keyboard = &keyboard;
    s.ExeDir = ExeDir;
    s.DataDir = O.DataDir;
    s.Seed = O.Seed ? *O.Seed : session.ScriptSeed().value_or(0);
    TForm1 form(s);
    session.Attach(form, s.Seed);
    std::unique_ptr<TAutopilot> pilot;
    if (O.Autopilot) pilot = std::make_unique<TAutopilot>(form, keyboard);
    form.FormCreate();
    if (!session.StartRequestedGame()) return session.ExitStatus();

    TKeyboard recorder(&keyboard);  // what the keys say, for --record
    int64_t frame = 0;
    size_t dialogsSeen = 0;
    TRunStats stats;
    // --from and --take-over: the time taken to reach the frame.
    const int64_t seek = session.SeekFrame();
    const auto seekStart = std::chrono::steady_clock::now();
    if (seek == 0) stats.SetSeek(0, 0);
    while (!session.ShouldStop(frame)) {
        stats.BeginFrame();
        const int64_t next = frame + 1;
        session.ApplyScript(next, &keyboard);
        // What the script did between frames may end the run, as it did where it was recorded.
        if (session.ShouldStop(frame)) break;
        if (pilot) pilot->BeforeFrame(next, session);
        session.RecordStates(next, recorder.Read());
        // The virtual clock: LagCount is the milliseconds since the last frame at 60 a second.
        const int32_t lag = static_cast<int32_t>((next * 1000) / 60 - (frame * 1000) / 60);
        form.DXTimer1.OnTimer(lag);
        frame = next;
        if (frame == seek)
            stats.SetSeek(frame, std::chrono::duration<double>(std::chrono::steady_clock::now() - seekStart).count());
        audio.AdvanceFrame();
        music.DeliverNotifications();
        session.AfterFrame(frame);
        // Recorded as due before the next frame, which is where a replay applies it.
        if (!session.ScriptHasTimer() && frame % 60 == 0) session.Timer(frame + 1);
        for (; dialogsSeen < dialogs.Messages.size(); ++dialogsSeen)
            form.Log.Write("message", {{"text", dialogs.Messages[dialogsSeen]}});
        if (pixels && std::find(O.ScreenshotAt.begin(), O.ScreenshotAt.end(), frame) != O.ScreenshotAt.end())
            SaveScreenshot(*pixels, form, ScreenshotName(O.Screenshot, frame));
        stats.EndFrame(session.GameCleanedUp());
    }
    if (pixels && O.ScreenshotAt.empty()) SaveScreenshot(*pixels, form, O.Screenshot);
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
