// Snapshots of the game: taking and restoring one in the heaviest scene (5,000 bullets), with
// its size; and over the longest replay (the autopilot's normal game and Extra game, 20 boss
// phases), the memory of a snapshot every 300 frames and the time of a jump to any frame
// (restore the snapshot before it, then play the replay's input up to it).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "Scenes.h"
#include "Timing.h"
#include "app/Autopilot.h"
#include "app/Session.h"
#include "player/Play.h"
#include "player/Shots.h"
#include "snapshot/GameSnapshot.h"
#include "support/SessionFrame.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

using kvbench::Ms;
using kvbench::TClock;

void BulletFieldSnapshot(benchmark::State& State) {
    TWorld w;
    w.Surface.Record = false;
    kvbench::StandingBullets(w);
    for (int i = 0; i < 10; ++i) new TShotASprite(w.E(), 6 * i % 25);
    w.Frame(2);
    std::vector<double> take, restore;
    size_t bytes = 0;
    for (auto _ : State) {
        for (int i = 0; i < 30; ++i) {
            auto t0 = TClock::now();
            auto snap = std::make_unique<TGameSnapshot>(w.F());
            take.push_back(Ms(TClock::now() - t0));
            t0 = TClock::now();
            snap->Restore(w.F());
            restore.push_back(Ms(TClock::now() - t0));
            bytes = snap->Bytes();
        }
        State.SetIterationTime(1e-3);
    }
    std::sort(take.begin(), take.end());
    std::sort(restore.begin(), restore.end());
    State.counters["sprites"] = w.E()->MemberCount;
    State.counters["take_med_ms"] = take[take.size() / 2];
    State.counters["restore_med_ms"] = restore[restore.size() / 2];
    State.counters["size_kb"] = static_cast<double>(bytes) / 1024;
}

using kvtest::RunSessionFrame;

void LongestReplayJumps(benchmark::State& State) {
    constexpr int64_t Every = 300;
    const auto dir = std::filesystem::temp_directory_path() / "kv-bench-snapshots";
    std::filesystem::create_directories(dir);
    app::TOptions ro;
    ro.RecordFile = (dir / "run.rec").string();
    ro.Invincible = ro.Autopilot = true;
    std::vector<std::unique_ptr<TGameSnapshot>> snaps;
    size_t bytes = 0;
    int64_t frames = 0;
    {
        TWorld a;
        a.Surface.Record = false;
        app::TSession s(ro);
        s.OpenFiles();
        s.Attach(a.F(), 1);
        app::TAutopilot pilot(a.F(), a.Keyboard);
        TKeyboard recorder(&a.Keyboard);
        s.StartRequestedGame();
        snaps.push_back(std::make_unique<TGameSnapshot>(a.F()));
        for (int64_t f = 1; f <= 150000 && a.F().Log.CountOf("game_clear") < 2; ++f) {
            RunSessionFrame(a, s, f, &pilot, &recorder);
            if (f % Every == 0) {
                snaps.push_back(std::make_unique<TGameSnapshot>(a.F()));
                bytes += snaps.back()->Bytes();
            }
            if (f % 60 == 0) s.Timer(f + 1);
            frames = f;
        }
        s.Finish();
    }
    app::TOptions po;
    po.InputFile = ro.RecordFile;
    TWorld b;
    b.Surface.Record = false;
    app::TSession s(po);
    s.OpenFiles();
    s.Attach(b.F(), 1);
    double worst = 0;
    int jumps = 0;
    for (auto _ : State) {
        // Backwards and forwards across the whole replay, each ending just before a checkpoint.
        for (int64_t target = frames - 1; target > 0; target -= 997) {
            const auto t0 = TClock::now();
            const int64_t from = target / Every * Every;
            snaps[static_cast<size_t>(from / Every)]->Restore(b.F());
            s.SkipScriptTo(from, &b.Keyboard);
            for (int64_t f = from + 1; f <= target; ++f) RunSessionFrame(b, s, f, nullptr, nullptr);
            worst = std::max(worst, Ms(TClock::now() - t0));
            ++jumps;
        }
        State.SetIterationTime(1e-3);
    }
    State.counters["frames"] = static_cast<double>(frames);
    State.counters["snapshots"] = static_cast<double>(snaps.size());
    State.counters["snapshots_mb"] = static_cast<double>(bytes) / (1024 * 1024);
    State.counters["jumps"] = jumps;
    State.counters["worst_jump_ms"] = worst;
    std::filesystem::remove_all(dir);
}

}  // namespace

BENCHMARK(BulletFieldSnapshot)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LongestReplayJumps)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
