// Runs in a real window: SDL video, sound and input, logic paced at 60 frames a second, the
// one-second timer on wall-clock time.
#include <SDL.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>

#include <SDL_mixer.h>

#include "app/Autopilot.h"
#include "app/LoopClock.h"
#include "app/MusicFollow.h"
#include "app/PlayerSources.h"
#include "app/ReplayControls.h"
#include "app/ReplayScrubber.h"
#include "app/KeysFile.h"
#include "app/Run.h"
#include "app/RunStats.h"
#include "app/Screenshots.h"
#include "app/Session.h"
#include "app/TakeOver.h"
#include "app/StopSignals.h"
#include "app/UserDirs.h"
#include "app/WindowedUi.h"
#include "i18n/Tr.h"
#include "platform/headless/Headless.h"
#include "platform/sdl/FramePacer.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/sdl/SdlKeyboard.h"
#include "platform/sdl/SdlMixer.h"
#include "platform/sdl/SdlMusic.h"
#include "platform/sdl/SdlReplayBar.h"
#include "platform/sdl/SdlRestore.h"
#include "platform/sdl/SdlSurface.h"
#include "platform/sdl/SdlTestPad.h"
#include "platform/sdl/SdlWidgets.h"
#include "platform/sdl/SdlWindow.h"
#include "userfiles/Replays.h"
#include "userfiles/Settings.h"
#include "snapshot/GameSnapshot.h"

namespace kv::app {

namespace {

// Esc or P on the keyboard, Start on a game controller. While a replay plays, Esc stops it.
bool IsPauseEvent(const SDL_Event& E, bool Watching) {
    if (E.type == SDL_KEYDOWN)
        return !E.key.repeat && ((!Watching && E.key.keysym.scancode == SDL_SCANCODE_ESCAPE) ||
                                 E.key.keysym.scancode == SDL_SCANCODE_P);
    return E.type == SDL_CONTROLLERBUTTONDOWN && E.cbutton.button == SDL_CONTROLLER_BUTTON_START;
}

// F11, or Alt+Enter.
bool IsFullscreenKey(const SDL_Event& E) {
    if (E.type != SDL_KEYDOWN || E.key.repeat) return false;
    const SDL_Scancode k = E.key.keysym.scancode;
    return k == SDL_SCANCODE_F11 ||
           ((k == SDL_SCANCODE_RETURN || k == SDL_SCANCODE_KP_ENTER) && (E.key.keysym.mod & KMOD_ALT) != 0);
}

// The speed's name in the event log.
const char* SpeedName(TReplayScrubber::ESpeed S) {
    static constexpr const char* names[] = {"0.25", "0.5", "1", "2", "4", "max"};
    return names[S];
}

// The last frame dimmed, "PAUSE" across its middle; drawn on the window, so the back buffer and
// its screenshots stay as the game left them.
void DrawPause(SDL_Renderer* R, const SDL_Rect& Field, TSdlSurface& Surface) {
    SDL_SetRenderDrawBlendMode(R, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(R, 0, 0, 24, 144);
    SDL_RenderFillRect(R, &Field);
    const int32_t pixels = 32 * Field.w / TSdlWindow::LogicalWidth;
    if (const TSdlTextCache::TEntry* t = Surface.TextCache().Get(i18n::Tr("PAUSE"), SDL_Color{255, 255, 255, 255}, pixels)) {
        const SDL_Rect at{Field.x + (Field.w - t->Width) / 2, Field.y + (Field.h - t->Height) / 2, t->Width, t->Height};
        SDL_RenderCopy(R, t->Texture, nullptr, &at);
    }
}

// While a practice game goes back: "◀◀ 巻き戻し" on a dark strip a third down the field, drawn
// on the window as the pause is.
void DrawRewind(SDL_Renderer* R, const SDL_Rect& Field, TSdlSurface& Surface) {
    const int32_t pixels = 20 * Field.w / TSdlWindow::LogicalWidth;
    const TSdlTextCache::TEntry* t =
        Surface.TextCache().Get("◀◀ " + i18n::Tr("巻き戻し"), SDL_Color{255, 255, 255, 255}, pixels);
    if (!t) return;
    const SDL_Rect strip{Field.x, Field.y + Field.h / 3 - t->Height, Field.w, t->Height * 2};
    SDL_SetRenderDrawBlendMode(R, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(R, 0, 0, 24, 144);
    SDL_RenderFillRect(R, &strip);
    const SDL_Rect at{Field.x + (Field.w - t->Width) / 2, strip.y + t->Height / 2, t->Width, t->Height};
    SDL_RenderCopy(R, t->Texture, nullptr, &at);
}

// A name the command line or the settings file has checked already.
ERendererChoice RendererChoice(const std::string& Name) {
    if (Name == "gpu") return ERendererChoice::Gpu;
    if (Name == "software") return ERendererChoice::Software;
    return ERendererChoice::Auto;
}

}  // namespace

namespace {

// How one window's run ended: a replay the player chose to watch, the window closed, or the
// game the player took over from a replay ended.
struct TRunEnd {
    std::string Watch;
    bool Closed = false;
    bool TakenOverGameEnded = false;
};

int RunWindowedOnce(const TOptions& O, const std::string& ExeDir, TRunEnd& End) {
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
    // The window as the player left it, unless the command line says otherwise.
    const std::filesystem::path configDir = ConfigDir();
    userfiles::TSettingsFile settingsAtStart = userfiles::LoadSettings(configDir.empty() ? configDir : configDir / "settings.toml");
    const userfiles::TSettingsFile& settings = settingsAtStart;
    if (!settings.Error.empty()) std::cerr << "kalvento: " << settings.Error << "; the default settings are used\n";
    const std::string language = i18n::SetLanguage(O.Lang.empty() ? settings.Values.Language : O.Lang);
    if (!language.empty()) std::cerr << "kalvento: " << language << "; the game is shown in Japanese\n";
    session.KeepUserFiles(true);
    // A saved replay being watched: the player pauses it, stops it, jumps in it, runs it slower
    // or faster.
    bool watching = session.PlaysBack();
    // A replay watched can be taken over: its game then reads the player's keys and pad.
    const bool canTakeOver = session.PlaysReplay() && !O.Autopilot;
    TSdlWindowOptions wo;
    wo.Scale = O.Scale;
    if (wo.Scale == 0) {
        wo.Width = settings.Values.WindowWidth;
        wo.Height = settings.Values.WindowHeight;
        if (wo.Width <= 0 || wo.Height <= 0) wo.Scale = settings.Values.Scale;
    }
    wo.Fullscreen = O.Fullscreen || settings.Values.Fullscreen;
    wo.VSync = settings.Values.VSync;
    wo.Renderer = RendererChoice(O.Renderer.empty() ? settings.Values.Renderer : O.Renderer);
    std::unique_ptr<TSdlWindow> window;
    std::unique_ptr<TSdlSurface> surface;
    try {
        window = std::make_unique<TSdlWindow>(wo);
        surface = std::make_unique<TSdlSurface>(window->Renderer());
    } catch (const std::exception& e) {
        std::cerr << "kalvento: " << e.what() << "\n(run with --headless where there is no display)\n";
        return 1;
    }
    // In place of SDL's own, which only ask for a quit that a message box may hold up.
    CatchStopSignals();
    TSdlMixer mixer;
    if (!mixer.IsOpen()) std::cerr << "kalvento: no sound: " << mixer.Failure() << "\n";
    TSdlAudio audio(mixer);
    // A player watching a replay hears it at their volumes, which stay when they take it over.
    if (canTakeOver) {
        mixer.SetMusicVolume(settings.Values.MusicVolume);
        mixer.SetEffectVolume(settings.Values.EffectVolume);
    }
    std::unique_ptr<TSdlMusic> music = TSdlMusic::Create(mixer);
    TSdlKeyboard sdlKeys(window->Window());
    // A script or the autopilot plays in place of the keyboard.
    headless::TScriptedKeyboard scripted;
    bool scriptedKeys = O.Autopilot || !O.InputFile.empty();
    TKeyboardHandOver keysHandOver(&scripted);
    TJoystickHandOver padHandOver;
    // The player's keys and controller mappings. Scripted runs keep the default table, so that
    // what they do does not depend on the machine's configuration.
    const std::filesystem::path keysDir = scriptedKeys ? std::filesystem::path() : configDir;
    const TPlayerKeys playerKeys = LoadPlayerKeys(keysDir, true);
    const std::filesystem::path padDir = canTakeOver ? configDir : keysDir;
    TSdlJoystick joystick(window->Window(), padDir.empty() ? std::string() : (padDir / "gamecontrollerdb.txt").string());
    if (!joystick.MappingsError().empty()) std::cerr << "kalvento: " << joystick.MappingsError() << "\n";
    TSdlWidgets widgets(*window, *surface);

    TServices s;
    s.Surface = surface.get();
    s.Audio = &audio;
    s.Music = music.get();
    // Nobody is at the keyboard of a scripted run to close a message box.
    headless::TAutoDialogs autoDialogs;
    s.Dialogs = scriptedKeys ? static_cast<IDialogs*>(&autoDialogs) : &widgets;
    s.Keyboard = canTakeOver ? &keysHandOver : scriptedKeys ? static_cast<IKeyboardSource*>(&scripted) : &sdlKeys;
    s.Joystick = canTakeOver ? &padHandOver : scriptedKeys ? nullptr : static_cast<IJoystickSource*>(&joystick);
    s.Keys = &playerKeys.Keys;
    s.ExeDir = ExeDir;
    s.DataDir = O.DataDir;
    s.Seed = O.Seed ? *O.Seed : session.ScriptSeed().value_or(static_cast<uint32_t>(SDL_GetPerformanceCounter()));
    TForm1 form(s);
    session.Attach(form, s.Seed);
    ReportPlayerKeys(playerKeys, form);
    if (!settings.Error.empty()) form.Log.Write("error", {{"message", settings.Error}});
    auto logWindow = [&] {
        int w = 0, h = 0;
        SDL_GetWindowSize(window->Window(), &w, &h);
        TLogFields f{{"width", int64_t{w}}, {"height", int64_t{h}}, {"fullscreen", window->Fullscreen()},
                     {"renderer", window->RendererName()}};
        if (!window->GlRenderer().empty()) f.emplace_back("gl", window->GlRenderer());
        if (!window->RendererReason().empty()) f.emplace_back("reason", window->RendererReason());
        form.Log.Write("window", f);
    };
    logWindow();
    std::unique_ptr<TWindowedUi> playerUi;
    // Kept whenever the mode changes and at the end, so a crash loses no more than a resize. The
    // player's windows hold the settings once they are open.
    auto saveWindow = [&] {
        userfiles::TSettingsFile& settings = playerUi ? playerUi->Ui().Settings() : settingsAtStart;
        userfiles::TSettings v = settings.Values;
        v.WindowWidth = window->WindowedSize().x;
        v.WindowHeight = window->WindowedSize().y;
        v.Scale = window->WindowedScale();
        v.Fullscreen = window->Fullscreen();
        std::string problem;
        if (v != settings.Values && userfiles::SaveSettingsQuietly(settings, v, problem)) settings.Values = v;
        if (!problem.empty()) form.ReportError("the settings were not saved: " + problem);
    };
    widgets.Attach(form);
    std::unique_ptr<TAutopilot> pilot;
    if (O.Autopilot) pilot = std::make_unique<TAutopilot>(form, scripted);
    TKeyboard keysProbe(s.Keyboard);
    keysProbe.Keys = playerKeys.Keys;
    TScreenshotKey screenshotKey;
    TJoystick stickProbe(s.Joystick);

    int64_t frame = 0;
    int64_t shotTaken = 0;
    size_t dialogsSeen = 0;
    TLoopClock clock(SDL_GetTicks64());
    // The one-second timer runs on the wall clock, also while the window is inactive and while a
    // message box is open; only the pause stops it.
    auto secondTimer = [&] {
        const int32_t due = clock.SecondsDue(SDL_GetTicks64());
        if (session.ScriptHasTimer()) return;
        for (int32_t i = 0; i < due; ++i) session.Timer(frame + 1);  // due before the next frame, as a replay applies it
    };
    auto togglePause = [&] {
        clock.TogglePause(SDL_GetTicks64());
        if (mixer.IsOpen()) {
            if (clock.Paused()) {
                Mix_PauseMusic();
                Mix_Pause(-1);
            } else {
                Mix_ResumeMusic();
                Mix_Resume(-1);
            }
        }
        form.Log.Write(clock.Paused() ? "pause" : "resume");
    };
    widgets.WhileOpen = [&] {
        form.Handle(secondTimer);
        if (music) form.Handle([&] { music->DeliverNotifications(); });
    };
    form.FormCreate();
    // Watching: snapshots on the way make every jump short; the stages and boss phases reached
    // (the replay's start among them) are the bar's marks.
    std::unique_ptr<TReplayScrubber> scrub;
    bool markReached = false;
    int64_t markSeekFrom = -1;  // a jump to the next mark not reached yet plays on to it
    if (watching) {
        scrub = std::make_unique<TReplayScrubber>(session.PlaybackEnd());
        auto observer = form.Log.Observer;
        form.Log.Observer = [&, observer](const std::string& Event, const TLogFields& Fields) {
            if (observer) observer(Event, Fields);
            if (scrub && (Event == "stage" || Event == "phase")) {
                scrub->Mark(frame + 1, Event == "stage");  // the frame running, as the recording counts it
                markReached = true;
            }
        };
    }
    bool quit = !session.StartRequestedGame();
    // The keyboard and pad on the controls, and the player's windows; scripted runs go without.
    if (!scriptedKeys)
        playerUi = std::make_unique<TWindowedUi>(TWindowedParts{form, session, widgets, *window, mixer, joystick, keysProbe,
                                                                frame, togglePause, configDir, settingsAtStart,
                                                                playerKeys.Keys});
    std::unique_ptr<TReplayShelf> shelf;
    std::unique_ptr<THistorySource> history;
    if (playerUi && !PlayerDataDir().empty()) {
        shelf = std::make_unique<TReplayShelf>(userfiles::ReplayDir(PlayerDataDir()), [&](const std::string& Path) {
            End.Watch = Path;
            quit = true;
        });
        history = std::make_unique<THistorySource>(userfiles::AttackHistoryFile(PlayerDataDir()));
        playerUi->Ui().ReplayShelf = shelf.get();
        playerUi->Ui().AttackHistory = history.get();
    }

    std::unique_ptr<TWindowStats> stats;
    if (!O.StatsFile.empty()) stats = std::make_unique<TWindowStats>();
    TFramePacer pacer(SDL_GetPerformanceFrequency());

    // One frame: the script's and the player's input before it, the checks after. Unshown, it is
    // drawn nowhere (the jumps of a replay run their frames so).
    headless::TRecordingSurface unseen;
    unseen.Record = false;
    bool rewound = false;  // the last frame went back
    auto runFrame = [&](bool Paced, bool Shown) {
        const int64_t next = frame + 1;
        session.ApplyScript(next, &scripted);
        // What the script did between frames may end the run, as it did where it was recorded.
        if (session.ShouldStop(frame)) return false;
        if (pilot) pilot->BeforeFrame(next, session);
        session.RecordStates(next, keysProbe.Read() | stickProbe.Read());
        if (!watching && !scriptedKeys && !widgets.TextInputActive() &&
            (keysProbe.SlotDown(ksRewind) || joystick.RewindHeld()))
            session.RequestRewind(next);
        window->SelectTarget();
        if (!Shown) form.DXDraw1 = &unseen;
        if (session.RewindDue()) {
            rewound = true;
            form.Handle([&] { session.Rewind.StepBack(form, unseen, &audio); });
            form.DXDraw1 = surface.get();
        } else {
            // Let go after rewinding: the music of the moment gone back to.
            if (rewound && music) form.Handle([&] { MusicFollowsGame(form, *music); });
            rewound = false;
            session.Rewind.BeforeFrame(form, session.ActionsDone());
            // The frame's handler carries its own guard; the extra frames of a fast replay are not
            // paced by the timer.
            const bool ran = Paced ? form.DXTimer1.Tick(static_cast<int64_t>(SDL_GetTicks64()), true)
                                   : (form.DXTimer1.OnTimer(1), true);
            form.DXDraw1 = surface.get();
            if (!ran) return false;
            session.Rewind.AfterFrame(form);
        }
        frame = next;
        if (stats) stats->Ran(1);
        form.Handle([&] { session.AfterFrame(frame); });
        if (scrub && scrub->Wants(frame)) scrub->Keep(frame, std::make_unique<TGameSnapshot>(form), session.Rewind);
        return true;
    };

    // A virtual pad of the tests, where no player's windows turn it.
    std::unique_ptr<TSdlTestPad> watchPad;
    if (watching) {
        scrub->Keep(frame, std::make_unique<TGameSnapshot>(form), session.Rewind);
        try {
            watchPad = TSdlTestPad::FromEnvironment();
        } catch (const std::exception& e) {
            std::cerr << "kalvento: " << e.what() << "\n";
        }
    }
    // The music of the game jumped to: its track, from where it was then.
    auto musicAfterJump = [&] {
        if (!music) return;
        form.Handle([&] { MusicFollowsGame(form, *music); });
        if (clock.Paused() && mixer.IsOpen()) Mix_PauseMusic();
    };
    auto logSeek = [&](int64_t From) {
        form.Log.Write("seek", {{"from", From}, {"to", frame}});
        musicAfterJump();
    };
    auto jump = [&](int64_t Target) {
        const int64_t from = frame;
        // At least the frame jumped to is run and drawn: a snapshot holds no picture. The start
        // of the replay shows as its first frame.
        Target = std::max<int64_t>(1, Target);
        if (const TReplayScrubber::TKept* k = scrub->StartFor(frame, Target - 1)) {
            form.Handle([&] { k->Snapshot->Restore(form); });
            session.Rewind = k->History;
            session.SkipScriptTo(k->Frame, &scripted);
            frame = k->Frame;
        }
        // The tracks started on the way start as they would have, which dates their start.
        while (frame < Target && !session.ShouldStop(frame) && runFrame(false, frame + 1 == Target))
            if (music) form.Handle([&] { music->DeliverNotifications(); });
        logSeek(from);
    };
    // T or the pad's Y while watching: the player plays the replay's game on from this frame as a
    // practice game, with the keys, pad, message boxes and pause of a game of their own.
    TPlayerKeys takenKeys;
    auto takeOver = [&] {
        if (!canTakeOver || !session.CanTakeOver() || session.ShouldStop(frame)) return;
        session.TakeOverAfter(frame, &scripted);
        takenKeys = LoadPlayerKeys(configDir, true);
        ReportPlayerKeys(takenKeys, form);
        form.SetKeyTable(takenKeys.Keys);
        keysProbe.Keys = takenKeys.Keys;
        keysHandOver.HandTo(&sdlKeys);
        padHandOver.HandTo(&joystick);
        form.Dialogs = s.Dialogs = &widgets;
        watching = scriptedKeys = false;
        scrub.reset();
        markSeekFrom = -1;
        TWindowedParts parts{form, session, widgets, *window, mixer, joystick, keysProbe, frame, togglePause,
                             configDir, settingsAtStart, takenKeys.Keys};
        parts.OpenTestPad = false;  // the watch's own goes on
        playerUi = std::make_unique<TWindowedUi>(parts);
    };
    auto command = [&](const TWatchCommand& C) {
        switch (C.Kind) {
            case TWatchCommand::Jump: {
                const int64_t to = scrub->Target(frame, C.To);
                if (to >= 0)
                    jump(to);
                else if (markSeekFrom < 0)
                    markSeekFrom = frame;
                break;
            }
            case TWatchCommand::Step:
                if (clock.Paused() && !session.ShouldStop(frame)) runFrame(false, true);
                break;
            case TWatchCommand::Speed:
            case TWatchCommand::Slower:
            case TWatchCommand::Faster:
                if (C.Kind == TWatchCommand::Speed) scrub->SetSpeed(C.NewSpeed);
                if (C.Kind == TWatchCommand::Slower) scrub->Slower();
                if (C.Kind == TWatchCommand::Faster) scrub->Faster();
                form.Log.Write("speed", {{"speed", std::string(SpeedName(scrub->Speed()))}});
                break;
            case TWatchCommand::Stop:
                quit = true;
                break;
            case TWatchCommand::TakeOver:
                takeOver();
                break;
            default:
                break;
        }
    };
    auto drawBar = [&](SDL_Renderer* R, const SDL_Rect& Field) {
        TReplayBarView v;
        v.Frame = frame;
        v.End = scrub->End();
        for (const auto& m : scrub->Marks()) v.Marks.push_back({m.Frame, m.Stage});
        v.Speed = SpeedLabel(scrub->Speed());
        v.Paused = clock.Paused();
        if (canTakeOver && session.CanTakeOver()) v.Hint = "T/Y: " + i18n::Tr(N_("ここから操作"));
        DrawReplayBar(R, Field, *surface, v);
    };

    // --from: watching starts there.
    if (watching && O.FromFrame && *O.FromFrame > frame) jump(*O.FromFrame);

    while (!quit && !session.ShouldStop(frame)) {
        if (watchPad) watchPad->Turn();
        // Opens the pad, whose buttons then arrive as events.
        if (watching) joystick.ReadJoystick();
        SDL_Event e;
        // Every handler runs under the window's guard: an error is reported and skips the rest of
        // that handler only, and the game goes on.
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) quit = End.Closed = true;
            form.Handle([&] {
                if (const ERenderLoss loss = RenderLossOf(e); loss != ERenderLoss::None)
                    RestoreRendering(loss, *window, *surface, form.DXImageList1, &widgets);
                if (window->HandleEvent(e)) logWindow();
                if (IsFullscreenKey(e)) {
                    window->SetFullscreen(!window->Fullscreen());
                    saveWindow();
                    return;
                }
                if (playerUi && playerUi->HandleEvent(e)) return;
                // Pausing is for a game or a replay; at the menu there is nothing to hold.
                const bool pausable = watching || (form.HudOn && !form.NameEntry) || clock.Paused();
                if (IsPauseEvent(e, watching) && pausable && !widgets.TextInputActive()) togglePause();
                if (watching) command(WatchCommandOf(e));
                screenshotKey.HandleEvent(e);
                widgets.HandleEvent(e);
            });
        }
        if (quit) break;
        // Clicks on the controls run between frames, on this thread; a replay plays its own.
        for (const std::string& name : widgets.TakeClicks())
            if (!watching) session.Click(frame + 1, name);
        for (const auto& edit : widgets.TakeEdits())  // no structured binding: lambdas capture it only from clang 16
            if (!watching) form.Handle([&] { session.RecordType(frame + 1, edit.first, edit.second); });
        if (music) form.Handle([&] { music->DeliverNotifications(); });
        form.Handle(secondTimer);
        while (!form.PendingErrorBoxes.empty()) {
            std::string m = form.PendingErrorBoxes.front();
            form.PendingErrorBoxes.erase(form.PendingErrorBoxes.begin());
            s.Dialogs->ShowMessage("Kalvento", m);
        }

        for (; dialogsSeen < autoDialogs.Messages.size(); ++dialogsSeen)
            form.Log.Write("message", {{"text", autoDialogs.Messages[dialogsSeen]}});
        const bool active = clock.FramesRun(window->HasFocus() || scriptedKeys);
        // Playing on to the next stage or boss phase, a slice of time each turn, unseen.
        const auto budget = [start = SDL_GetPerformanceCounter()](double Seconds) {
            return static_cast<double>(SDL_GetPerformanceCounter() - start) < Seconds * SDL_GetPerformanceFrequency();
        };
        if (markSeekFrom >= 0) {
            markReached = false;
            while (!markReached && !session.ShouldStop(frame) && budget(0.03) && runFrame(false, false)) {
            }
            if (markReached || session.ShouldStop(frame)) {
                logSeek(markSeekFrom);
                markSeekFrom = -1;
            }
        } else if (active) {
            // A faster replay runs its extra frames straight after the paced one; only the last
            // of them is shown. Frames the loop is behind its schedule run the same way, so the
            // game keeps its speed whatever the display does.
            const int32_t behind = pacer.Behind(SDL_GetPerformanceCounter());
            pacer.Skip(behind);
            const int32_t speed = scrub ? scrub->FramesThisTurn() : 1;
            if (speed < 0) {
                // As fast as it goes: unseen frames for most of the turn, the last one shown.
                while (budget(0.012) && !session.ShouldStop(frame) && runFrame(false, false)) {
                }
                if (!session.ShouldStop(frame)) runFrame(false, true);
            }
            const int32_t frames = speed < 0 ? 0 : speed + (speed > 0 ? behind : 0);
            for (int32_t i = 0; i < frames && !session.ShouldStop(frame); ++i) {
                if (!runFrame(i == 0, true)) break;
                // A frame asked for as a screenshot is shown.
                if (std::find(O.ScreenshotAt.begin(), O.ScreenshotAt.end(), frame) != O.ScreenshotAt.end()) break;
            }
        } else {
            form.DXTimer1.Tick(static_cast<int64_t>(SDL_GetTicks64()), false);
        }
        widgets.Render();
        screenshotKey.TakeIfAsked(form, *surface);
        if (!O.Screenshot.empty() && frame > 0 &&
            std::find(O.ScreenshotAt.begin(), O.ScreenshotAt.end(), frame) != O.ScreenshotAt.end() && frame != shotTaken) {
            form.Handle([&] { surface->SavePng(ScreenshotName(O.Screenshot, frame)); });
            shotTaken = frame;
        }
        if (!O.Screenshot.empty() && O.ScreenshotAt.empty() && session.ShouldStop(frame))
            form.Handle([&] { surface->SavePng(O.Screenshot); });
        if (clock.Paused() || scrub || rewound)
            window->Compose([&](SDL_Renderer* R, const SDL_Rect& Field) {
                if (rewound) DrawRewind(R, Field, *surface);
                if (clock.Paused()) DrawPause(R, Field, *surface);
                if (scrub) drawBar(R, Field);
            });
        else
            window->Compose();
        // Drawn ahead, shown on its slot: the frames reach the screen evenly spaced however long
        // each took to draw. A renderer that waits for the retrace shows at once and is paced by
        // the display as well: waiting for the slot first would miss a retrace now and then.
        const bool retrace = window->VSync();
        if (active && !retrace) pacer.Wait();
        window->Show();
        if (active && retrace) pacer.Wait();
        if (stats) stats->Shown(active);
        if (!active) {
            SDL_WaitEventTimeout(nullptr, 50);
            pacer.Reset(SDL_GetPerformanceCounter());
        }
    }
    saveWindow();
    End.TakenOverGameEnded = session.TakenOverGameEnded();
    // Shown rather than a different game: the player is told why the replay stopped.
    if (watching && session.Diverged()) widgets.ShowMessage("Kalvento", session.DivergenceMessage());
    session.Finish();
    if (stats) {
        try {
            stats->Write(O.StatsFile, window->RendererName());
        } catch (const std::exception& e) {
            std::cerr << "kalvento: " << e.what() << "\n";
            return 1;
        }
    }
    return session.ExitStatus();
}

}  // namespace

int RunWindowed(const TOptions& O, const std::string& ExeDir) {
    // A replay chosen in the replay window plays in a run of its own; the menu comes back after.
    TOptions menu = O;
    for (;;) {
        TRunEnd end;
        const int status = RunWindowedOnce(menu, ExeDir, end);
        if (end.TakenOverGameEnded && !menu.InputFile.empty()) {
            // A game taken over from a replay named on the command line ends at the menu too.
            menu.InputFile.clear();
            menu.RecordFile.clear();
            menu.FromFrame.reset();
            if (!menu.LogFile.empty()) menu.LogFile += ".menu";
            continue;
        }
        if (end.Watch.empty()) return status;
        TOptions w = menu;
        w.InputFile = end.Watch;
        w.RecordFile.clear();
        w.Practice.clear();
        w.Autopilot = false;
        // Its events apart from those of the menu's runs, which start the log afresh.
        if (!w.LogFile.empty()) w.LogFile += ".replay";
        TRunEnd watched;
        RunWindowedOnce(w, ExeDir, watched);
        if (watched.Closed) return 0;
    }
}

}  // namespace kv::app
