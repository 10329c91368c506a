#include "app/Options.h"

#include <cerrno>
#include <cstdlib>

#include "platform/headless/Headless.h"
#include "stages/Practice.h"
#include "userfiles/Settings.h"

namespace kv::app {

namespace {

int64_t ParseInt(const std::string& Option, const std::string& Text, int64_t Min, int64_t Max) {
    if (Text.empty() || Text.find_first_not_of("0123456789") != std::string::npos)
        throw TUsageError{Option + ": '" + Text + "' is not a whole number"};
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(Text.c_str(), &end, 10);
    if (errno == ERANGE || v < Min || v > Max)
        throw TUsageError{Option + ": " + Text + " is out of range (" + std::to_string(Min) + " to " +
                          std::to_string(Max) + ")"};
    return v;
}

}  // namespace

std::string UsageText() {
    return "Usage: kalvento [options]\n"
           "\n"
           "  --data DIR            work in DIR (Pictures.dxg, Sounds.dxg, Score.dtf)\n"
           "  --headless            no window and no audio device; virtual clock\n"
           "  --frames N            stop after N frames\n"
           "  --seed S              seed the random generator (0 to 4294967295)\n"
           "  --input FILE          play a scripted input file\n"
           "  --record FILE         record the input to FILE in the same format; each game played is\n"
           "                        also kept in the replays folder (a window keeps them anyway)\n"
           "  --from FRAME          with --input: start watching at FRAME (the frames before run unseen)\n"
           "  --take-over FRAME     with --input REPLAY and --then SCRIPT (headless): after FRAME the\n"
           "                        game is a practice game played by SCRIPT (frames of the game);\n"
           "                        --record FILE keeps its replay (the original's input up to FRAME)\n"
           "  --then SCRIPT         the input after --take-over\n"
           "  --screenshot FILE     PNG of the last frame\n"
           "  --screenshot-at N[,N…]  PNGs of those frames instead (FILE-N.png)\n"
           "  --log FILE            event log, one JSON object a line\n"
           "  --stats FILE          frames per second, worst frame and memory to FILE; a window's\n"
           "                        also frames shown and late (over 17 ms), CPU time and renderer\n"
           "  --renderer WHICH      how the window draws: auto (the GPU unless its OpenGL runs on\n"
           "                        the CPU), gpu or software; without it as the settings say\n"
           "  --scale K             integer window scale (1 to 8); without it the window opens as it\n"
           "                        was left, or at the largest scale the screen holds\n"
           "  --fullscreen          full screen (F11 or Alt+Enter switches in the window)\n"
           "  --lang LANG           show the game in LANG for this run: auto (the desktop's language),\n"
           "                        ja or en; without it as the settings say\n"
           "  --autopilot           a built-in pilot plays from the menu on\n"
           "  --invincible          the player's hit box takes no damage (a testing aid)\n"
           "  --exit-on EVENT[:N]   end the run once the event log has recorded EVENT N times\n"
           "  --practice WHAT       start a practice game at a stage (stage1 … stage4, extra) or a\n"
           "                        boss phase (TROneASprite, TVelusBSprite …); no record is kept\n"
           "  --history             count the attack history of a headless or scripted run (a window\n"
           "                        counts the games played in it anyway)\n"
           "  --keys                show the key table in use (keys.conf of the configuration folder)\n"
           "  --bind STATE=KEY[,KEY…]  set a state's keys in keys.conf (repeatable), e.g. shot=Z,Space\n"
           "  --help                show this text\n";
}

TOptions ParseOptions(const std::vector<std::string>& Args) {
    TOptions o;
    for (size_t i = 0; i < Args.size(); ++i) {
        const std::string& a = Args[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= Args.size()) throw TUsageError{a + " needs a value"};
            return Args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.Help = true;
        } else if (a == "--data") {
            o.DataDir = value();
            if (o.DataDir.empty()) throw TUsageError{"--data: the folder name is empty"};
        } else if (a == "--headless") {
            o.Headless = true;
        } else if (a == "--frames") {
            o.Frames = ParseInt(a, value(), 1, INT64_C(1) << 40);
        } else if (a == "--seed") {
            o.Seed = static_cast<uint32_t>(ParseInt(a, value(), 0, UINT32_MAX));
        } else if (a == "--input") {
            o.InputFile = value();
        } else if (a == "--from") {
            o.FromFrame = ParseInt(a, value(), 0, headless::MaxRecordingFrames);
        } else if (a == "--take-over") {
            o.TakeOverFrame = ParseInt(a, value(), 0, headless::MaxRecordingFrames);
        } else if (a == "--then") {
            o.ThenFile = value();
        } else if (a == "--record") {
            o.RecordFile = value();
        } else if (a == "--screenshot") {
            o.Screenshot = value();
        } else if (a == "--screenshot-at") {
            std::string list = value();
            size_t start = 0;
            while (true) {
                size_t comma = list.find(',', start);
                o.ScreenshotAt.push_back(ParseInt(a, list.substr(start, comma - start), 1, INT64_C(1) << 40));
                if (comma == std::string::npos) break;
                start = comma + 1;
            }
        } else if (a == "--log") {
            o.LogFile = value();
        } else if (a == "--stats") {
            o.StatsFile = value();
        } else if (a == "--renderer") {
            o.Renderer = value();
            if (!userfiles::IsRendererName(o.Renderer))
                throw TUsageError{"--renderer: '" + o.Renderer + "' is not one of auto, gpu, software"};
        } else if (a == "--scale") {
            o.Scale = static_cast<int32_t>(ParseInt(a, value(), 1, 8));
        } else if (a == "--lang") {
            o.Lang = value();
            if (o.Lang != "auto" && o.Lang != "ja" && o.Lang != "en")
                throw TUsageError{"--lang: '" + o.Lang + "' is not a language the game has; use auto, ja or en"};
        } else if (a == "--fullscreen") {
            o.Fullscreen = true;
        } else if (a == "--autopilot") {
            o.Autopilot = true;
        } else if (a == "--practice") {
            o.Practice = value();
            if (!IsPracticeTarget(o.Practice)) {
                std::string all;
                for (const std::string& t : PracticeTargets()) all += (all.empty() ? "" : " ") + t;
                throw TUsageError{"--practice: '" + o.Practice + "' is no stage or boss phase; choose one of: " + all};
            }
        } else if (a == "--history") {
            o.History = true;
        } else if (a == "--invincible") {
            o.Invincible = true;
        } else if (a == "--exit-on") {
            std::string v = value();
            size_t colon = v.find(':');
            o.ExitOnEvent = v.substr(0, colon);
            if (o.ExitOnEvent.empty()) throw TUsageError{"--exit-on: the event name is empty"};
            if (colon != std::string::npos) o.ExitOnCount = ParseInt(a, v.substr(colon + 1), 1, INT64_C(1) << 40);
        } else if (a == "--keys") {
            o.ShowKeys = true;
        } else if (a == "--bind") {
            o.Bind.push_back(value());
        } else {
            throw TUsageError{"unknown option '" + a + "' (see --help)"};
        }
    }
    if (!o.ScreenshotAt.empty() && o.Screenshot.empty())
        throw TUsageError{"--screenshot-at needs --screenshot FILE"};
    if (!o.Renderer.empty() && o.Headless) throw TUsageError{"--renderer needs a window (not --headless)"};
    if ((o.FromFrame || o.TakeOverFrame) && o.InputFile.empty())
        throw TUsageError{std::string(o.FromFrame ? "--from" : "--take-over") + " needs --input REPLAY to watch"};
    if (o.TakeOverFrame && o.ThenFile.empty())
        throw TUsageError{"--take-over needs --then SCRIPT: the input after the take-over"};
    if (!o.ThenFile.empty() && !o.TakeOverFrame) throw TUsageError{"--then needs --take-over FRAME"};
    if (o.TakeOverFrame && !o.Headless) throw TUsageError{"--take-over with --then needs --headless"};
    if (o.FromFrame && o.TakeOverFrame && *o.FromFrame > *o.TakeOverFrame)
        throw TUsageError{"--from " + std::to_string(*o.FromFrame) + " is after --take-over " +
                          std::to_string(*o.TakeOverFrame) + ": the take-over would be passed over"};
    if (!o.InputFile.empty() && o.InputFile == o.RecordFile)
        throw TUsageError{"--input and --record name the same file"};
    return o;
}

}  // namespace kv::app
