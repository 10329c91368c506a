// The software drawing of the busiest fields against SDL alone, with the game's own pictures
// (Pictures.dxg of the run folder). Each frame is drawn three ways in the same minute:
// - by the game: fill, draw pass and HUD into the software surface, pictures drawn directly;
// - by the game through SDL's software renderer for every picture (the way it drew before);
// - bare SDL: SDL_FillRect and one SDL_BlitSurface per sprite of its picture, unturned,
//   prepared the way SDL's own documentation advises (the target's pixel format; colour key, or
//   the key made transparent and an alpha modulation for blended pictures), onto a surface of
//   the field's size and format.
// Each scene runs three times from the same start; each frame keeps its best time of each way.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Scenes.h"
#include "platform/sdl/SdlSurface.h"

using namespace kv;
using kvtest::TWorld;

namespace {

using TClock = std::chrono::steady_clock;
double Ms(TClock::duration D) { return std::chrono::duration<double, std::milli>(D).count(); }

double Median(std::vector<double> V) {
    std::sort(V.begin(), V.end());
    return V.empty() ? 0 : V[V.size() / 2];
}

// Bare SDL: one surface per picture in the target's format, blitted at each sprite's rectangle.
class TBareSdl {
public:
    TBareSdl() : Target_(SDL_CreateRGBSurfaceWithFormat(0, 321, 481, 32, SDL_PIXELFORMAT_ARGB8888)) {}
    ~TBareSdl() {
        for (auto& [item, s] : Sources_) SDL_FreeSurface(s);
        SDL_FreeSurface(Target_);
    }
    struct TBlit {
        SDL_Surface* Source;
        SDL_Rect Src, Dst;
    };
    // The blits of the frame as the engine holds it now, in drawing order.
    std::vector<TBlit> Frame(TSpriteEngine* E) {
        std::vector<TBlit> out;
        for (TSprite* s : E->DrawOrder()) {
            auto* image = dynamic_cast<TImageSpriteEx*>(s);
            if (!image || !image->Image || !image->Visible || image->Image->PatternCount() == 0) continue;
            const TRect src = image->Image->PatternRects()[0];
            const TRect at = image->OwnRect();
            out.push_back({Source(*image->Image, image->Alpha), {src.Left, src.Top, src.Width(), src.Height()},
                           {at.Left, at.Top, src.Width(), src.Height()}});
        }
        return out;
    }
    double Time(std::vector<TBlit> Blits) {
        const auto t0 = TClock::now();
        SDL_FillRect(Target_, nullptr, SDL_MapRGB(Target_->format, 0, 0, 0));
        for (TBlit& b : Blits) SDL_BlitSurface(b.Source, &b.Src, Target_, &b.Dst);
        return Ms(TClock::now() - t0);
    }

private:
    SDL_Surface* Source(const TPictureCollectionItem& Item, int32_t Alpha) {
        SDL_Surface*& s = Sources_[{Item.Name, Alpha}];
        if (s) return s;
        const TBitmap& b = Item.Picture;
        s = SDL_CreateRGBSurfaceWithFormat(0, b.Width, b.Height, 32, SDL_PIXELFORMAT_ARGB8888);
        if (Alpha >= 255) {
            for (int y = 0; y < b.Height; ++y)
                for (int x = 0; x < b.Width; ++x)
                    static_cast<uint32_t*>(s->pixels)[y * s->pitch / 4 + x] = b.At(x, y) | 0xFF000000u;
            const uint32_t c = Item.TransparentColor;
            SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
            SDL_SetColorKey(s, SDL_TRUE, SDL_MapRGB(s->format, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        } else {
            const std::vector<uint32_t> px = TexturePixels(Item);
            for (int y = 0; y < b.Height; ++y) std::copy_n(&px[y * b.Width], b.Width, static_cast<uint32_t*>(s->pixels) + y * s->pitch / 4);
            SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
            SDL_SetSurfaceAlphaMod(s, static_cast<Uint8>(Alpha));
        }
        return s;
    }
    SDL_Surface* Target_;
    std::map<std::pair<std::string, int32_t>, SDL_Surface*> Sources_;  // by name: each run loads its own list
};

struct TTimes {
    std::vector<double> Direct, Renderer, Sdl;
};

// Draws the back buffer as a frame does (before its purge and move) and waits for the renderer.
double TimeDraw(TWorld& W, TSdlSurface& S) {
    const auto t0 = TClock::now();
    S.Fill(0);
    W.E()->Draw();
    W.F().DrawHud();
    SDL_RenderFlush(S.Renderer());
    return Ms(TClock::now() - t0);
}

using TSetup = std::function<void(TWorld&)>;

// One run of the scene; Direct false draws every picture through the renderer.
void RunOnce(const TSetup& Setup, int Frames, bool Direct, TBareSdl& Bare, TTimes& T) {
    auto surface = TSdlSurface::CreateSoftware();
    surface->DirectBlit = Direct;
    surface->TurnCache = Direct;
    kvtest::TWorldOptions o;
    o.Surface = surface.get();
    o.RunFormCreate = false;  // no title: the scene is the field alone
    TWorld w(o);
    w.F().DXImageList1.LoadList("Pictures.dxg");
    Setup(w);
    std::vector<double>& mine = Direct ? T.Direct : T.Renderer;
    for (int i = 0; i < Frames; ++i) {
        const double d = TimeDraw(w, *surface), s = Bare.Time(Bare.Frame(w.E()));
        if (mine.size() <= static_cast<size_t>(i)) mine.push_back(d);
        if (T.Sdl.size() <= static_cast<size_t>(i)) T.Sdl.push_back(s);
        mine[i] = std::min(mine[i], d);
        T.Sdl[i] = std::min(T.Sdl[i], s);
        w.Frame();
    }
}

std::vector<std::string>& Summary() {
    static std::vector<std::string> lines;
    return lines;
}

// Goal: the ratio to bare SDL (GoalRatio > 0) or the time (GoalMs > 0) the game's drawing must keep to.
void RunScene(benchmark::State& State, const std::string& Name, const TSetup& Setup, int Frames, double GoalRatio,
              double GoalMs) {
    if (!std::filesystem::exists("Pictures.dxg")) {
        State.SkipWithError("Pictures.dxg is not in the current folder (run from the build's run folder)");
        return;
    }
    TTimes t;
    for (auto _ : State) {
        TBareSdl bare;
        for (int r = 0; r < 3; ++r) {
            RunOnce(Setup, Frames, true, bare, t);
            RunOnce(Setup, Frames, false, bare, t);
        }
        State.SetIterationTime(Median(t.Direct) / 1000.0);
    }
    const double direct = Median(t.Direct), renderer = Median(t.Renderer), sdl = Median(t.Sdl);
    State.counters["draw_ms"] = direct;
    State.counters["renderer_ms"] = renderer;
    State.counters["bare_sdl_ms"] = sdl;
    State.counters["ratio"] = direct / sdl;
    char goal[64];
    if (GoalRatio > 0) {
        State.counters["goal_ratio"] = GoalRatio;
        std::snprintf(goal, sizeof goal, "goal ratio <= %.1f", GoalRatio);
    } else {
        State.counters["goal_ms"] = GoalMs;
        std::snprintf(goal, sizeof goal, "goal <= %.1f ms", GoalMs);
    }
    char line[256];
    std::snprintf(line, sizeof line,
                  "%s draw: %.2f ms, bare SDL %.2f ms, ratio %.2f (%s); through the renderer %.2f ms, ratio %.2f",
                  Name.c_str(), direct, sdl, direct / sdl, goal, renderer, renderer / sdl);
    Summary().push_back(line);
}

void BulletFieldDraw(benchmark::State& State) {
    RunScene(State, "BulletField", kvbench::BulletField, kvbench::BulletFieldFrames, 1.5, 0);
}

// The same field with every bullet half transparent.
void BlendedFieldDraw(benchmark::State& State) {
    RunScene(State, "BlendedField (5,000 at alpha 128)", [](TWorld& w) {
        kvbench::BulletField(w);
        for (auto* b : w.All<TZakoAShotASprite>()) b->Alpha = 128;
    }, kvbench::BulletFieldFrames, 0, 4.0);
}

}  // namespace

BENCHMARK(BulletFieldDraw)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BlendedFieldDraw)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& l : Summary()) std::printf("%s\n", l.c_str());
    return 0;
}
