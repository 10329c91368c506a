// The heaviest moments of the game, timed frame by frame: the simulation (input, purge, move
// with every collide) apart from the drawing (fill, draw pass, HUD, into the SDL software
// renderer at scale 1). Each scene is played several times from the same start and each frame
// keeps its best time, so one hiccup of the machine does not become the scene's worst frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "Scenes.h"
#include "Timing.h"
#include "bosses/BossTest.h"
#include "bosses/Dagar.h"
#include "enemies/Sign.h"
#include "enemies/ZakoA.h"
#include "platform/sdl/SdlSurface.h"
#include "player/Play.h"
#include "player/Shots.h"
#include "shell/GameSprite.h"
#include "support/World.h"

using namespace kv;
using kvtest::TWorld;

namespace {

using kvbench::Ms;
using kvbench::TClock;
using kvbench::TimeDraw;

struct TFrameTimes {
    std::vector<double> Sim, Draw;
    int PeakSprites = 0;
};

// One frame of the frame loop without a back buffer: input, purge, move and the collisions.
double TimeSim(TWorld& W) {
    ISurface* screen = W.F().DXDraw1;
    W.F().DXDraw1 = nullptr;
    const auto t0 = TClock::now();
    W.Frame();
    const double ms = Ms(TClock::now() - t0);
    W.F().DXDraw1 = screen;
    return ms;
}

// Sets up a world (untimed), then times Frames frames of it.
using TSetup = std::function<void(TWorld&)>;

TFrameTimes RunOnce(const TSetup& Setup, int Frames) {
    auto surface = TSdlSurface::CreateSoftware();
    kvtest::TWorldOptions o;
    o.Surface = surface.get();
    TWorld w(o);
    Setup(w);
    TFrameTimes t;
    for (int i = 0; i < Frames; ++i) {
        t.Draw.push_back(TimeDraw(w, *surface));
        t.Sim.push_back(TimeSim(w));
        t.PeakSprites = std::max(t.PeakSprites, w.E()->MemberCount);
    }
    return t;
}

double Median(std::vector<double> V) {
    std::sort(V.begin(), V.end());
    return V.empty() ? 0 : V[V.size() / 2];
}

void RunScene(benchmark::State& State, const TSetup& Setup, int Frames) {
    constexpr int Runs = 3;
    TFrameTimes best;
    for (auto _ : State) {
        for (int r = 0; r < Runs; ++r) {
            TFrameTimes t = RunOnce(Setup, Frames);
            if (best.Sim.empty()) {
                best = std::move(t);
                continue;
            }
            for (int i = 0; i < Frames; ++i) {
                best.Sim[i] = std::min(best.Sim[i], t.Sim[i]);
                best.Draw[i] = std::min(best.Draw[i], t.Draw[i]);
            }
        }
        double total = 0;
        for (int i = 0; i < Frames; ++i) total += best.Sim[i] + best.Draw[i];
        State.SetIterationTime(total / 1000.0 / Frames);
    }
    State.counters["sim_med_ms"] = Median(best.Sim);
    State.counters["sim_max_ms"] = *std::max_element(best.Sim.begin(), best.Sim.end());
    State.counters["draw_med_ms"] = Median(best.Draw);
    State.counters["draw_max_ms"] = *std::max_element(best.Draw.begin(), best.Draw.end());
    State.counters["sprites"] = best.PeakSprites;
}

// Dagar's fifth phase after its 501st hit: 2,340 bullets a volley and the laser grid on step 40.
void DagarEBurst(benchmark::State& State) {
    RunScene(State, [](TWorld& w) {
        kvtest::PlayingAt(w);
        auto* e = new TDagarESprite(w.E());
        e->Life = -501;
    }, 130);
}

// The last phase turns into the ghost and fades in before its attack's counter starts.
constexpr int GhostFadeFrames = 255 + 64;

// The ghost around its step-300 burst of 405 bullets, with what is still flying from before.
void GhostBurst(benchmark::State& State) {
    RunScene(State, [](TWorld& w) {
        kvtest::PlayingAt(w);
        new TDagarFSprite(w.E());
        w.Frame(GhostFadeFrames);
        kvtest::RunCounterTo(w, bcDagarF, 280);
    }, 40);
}

// The ghost's spokes late in the fight: 33 bullets every step over a field already full.
void GhostSpokes(benchmark::State& State) {
    RunScene(State, [](TWorld& w) {
        kvtest::PlayingAt(w);
        new TDagarFSprite(w.E());
        w.Frame(GhostFadeFrames);
        kvtest::RunCounterTo(w, bcDagarF, 2499);
    }, 11);
}

// Six Mode 3 Signs bursting on one frame: 225 bullets each.
void SixSigns(benchmark::State& State) {
    RunScene(State, [](TWorld& w) {
        kvtest::PlayingAt(w);
        for (int i = 0; i < 6; ++i) new TSignASprite(w.E(), 20 + 50 * i, 60 + 20 * (i % 3), 3);
        w.Frame(80);
    }, 40);
}

// The shared bullet field (Scenes.h), simulated with or without the collision index.
void BulletFieldScene(benchmark::State& State, bool Index) {
    RunScene(State, [Index](TWorld& w) {
        w.E()->UseIndex = Index;
        kvbench::BulletField(w);
    }, kvbench::BulletFieldFrames);
    State.counters["goal_sim_ms"] = 0.15;
}
void BulletField(benchmark::State& State) { BulletFieldScene(State, true); }
// The yardstick: the same scene with every collider walking the whole tree.
void BulletFieldTreeWalk(benchmark::State& State) { BulletFieldScene(State, false); }

// 20,000 bullets, half standing and half falling (none reaches the bottom in the frames timed),
// 60 of the player's shots flying up through them and the invincible ship's hit box colliding.
void StormScene(benchmark::State& State, bool Index) {
    RunScene(State, [Index](TWorld& w) {
        w.E()->UseIndex = Index;
        kvtest::StartPlaying(w);
        w.F().Invincible = true;
        uint32_t r = 54321;
        auto next = [&r](int Range) {
            r = r * 1103515245u + 12345u;
            return static_cast<double>((r >> 8) % static_cast<uint32_t>(Range));
        };
        for (int i = 0; i < 10000; ++i) kvtest::StandingBullet(w, next(311), next(400));
        for (int i = 0; i < 10000; ++i) new TZakoAShotASprite(w.E(), next(311), next(480) - 240, 0);
        const int32_t spread[] = {0, 6, 11, 13, 18, 24};
        for (int i = 0; i < 60; ++i) {
            auto* s = new TShotASprite(w.E(), spread[i % 6]);
            s->Y -= 6 * i;  // a stream of shots, not one clump
        }
    }, 30);
    State.counters["goal_sim_ms"] = 2.0;
}
void Storm20k(benchmark::State& State) { StormScene(State, true); }
void Storm20kTreeWalk(benchmark::State& State) { StormScene(State, false); }

}  // namespace

BENCHMARK(DagarEBurst)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(GhostBurst)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(GhostSpokes)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(SixSigns)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BulletField)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BulletFieldTreeWalk)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Storm20k)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Storm20kTreeWalk)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
