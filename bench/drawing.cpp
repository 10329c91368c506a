// The software drawing of the bullet field against SDL alone. Each frame is drawn, in the same
// minute:
// - by the game: fill, draw pass and HUD into the software surface (pictures drawn directly);
// - as the game drew before: every picture through SDL's software renderer, turned pictures
//   with their own alpha turned afresh on every draw;
// - by bare SDL: SDL_FillRect, then one SDL_BlitSurface per sprite of its picture, unturned, from
//   a surface in the target's format onto a surface of the field's size and format. Colour-keyed:
//   the picture opaque with its key colour (blend mode none). Blended: the picture with its own
//   alpha (the key transparent) and the sprite's alpha as the surface's alpha modulation.
// The field is drawn with the test world's pictures (white squares keyed on black, no alpha)
// and with the game's own (Pictures.dxg of the current folder, every one with alpha). Each scene
// runs three times from the same start; each frame keeps its best time of each way; the figures
// are the medians over the frames.
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
#include <tuple>
#include <vector>

#include "Scenes.h"
#include "Timing.h"
#include "platform/sdl/SdlSurface.h"

using namespace kv;
using kvtest::TWorld;

namespace {

using kvbench::Ms;
using kvbench::TimeDraw;
using kvbench::TClock;

double Median(std::vector<double> V) {
    std::sort(V.begin(), V.end());
    return V.empty() ? 0 : V[V.size() / 2];
}

// Bare SDL: one surface per picture, blitted at each sprite's rectangle.
class TBareSdl {
public:
    explicit TBareSdl(bool Blended)
        : Blended_(Blended), Target_(SDL_CreateRGBSurfaceWithFormat(0, 321, 481, 32, SDL_PIXELFORMAT_ARGB8888)) {}
    ~TBareSdl() {
        for (auto& [key, s] : Sources_) SDL_FreeSurface(s);
        SDL_FreeSurface(Target_);
    }
    TBareSdl(const TBareSdl&) = delete;
    TBareSdl& operator=(const TBareSdl&) = delete;

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
        // By name: each run loads its own list.
        SDL_Surface*& s = Sources_[{Item.Name, std::min(Alpha, 255)}];
        if (s) return s;
        const TBitmap& b = Item.Picture;
        s = SDL_CreateRGBSurfaceWithFormat(0, b.Width, b.Height, 32, SDL_PIXELFORMAT_ARGB8888);
        const std::vector<uint32_t> px = TexturePixels(Item);
        for (int y = 0; y < b.Height; ++y) {
            auto* row = static_cast<uint32_t*>(s->pixels) + static_cast<size_t>(y) * (s->pitch / 4);
            for (int x = 0; x < b.Width; ++x)
                row[x] = Blended_ ? px[static_cast<size_t>(y) * b.Width + x] : b.At(x, y) | 0xFF000000u;
        }
        if (Blended_) {
            SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
            SDL_SetSurfaceAlphaMod(s, static_cast<Uint8>(std::min(Alpha, 255)));
        } else {
            const uint32_t c = Item.TransparentColor;
            SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
            SDL_SetColorKey(s, SDL_TRUE, SDL_MapRGB(s->format, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
        return s;
    }
    bool Blended_;
    SDL_Surface* Target_;
    std::map<std::pair<std::string, int32_t>, SDL_Surface*> Sources_;
};

struct TTimes {
    std::vector<double> Direct, Before, Keyed, Blended;
};

void KeepBest(std::vector<double>& V, size_t I, double T) {
    if (V.size() <= I) V.push_back(T);
    V[I] = std::min(V[I], T);
}


struct TScene {
    std::string Name;
    bool GamePictures;
    std::function<void(TWorld&)> Setup;
    int Frames;
};

// One run of the scene, drawn by the game as it is now (Before false) or as it drew before.
void RunOnce(const TScene& Scene, bool Before, TBareSdl& Keyed, TBareSdl& Blended, TTimes& T) {
    auto surface = TSdlSurface::CreateSoftware();
    surface->DirectBlit = !Before;
    // Before, only pictures without alpha of their own were turned once and kept.
    surface->TurnCache = !(Before && Scene.GamePictures);
    kvtest::TWorldOptions o;
    o.Surface = surface.get();
    o.RunFormCreate = false;  // no title: the scene is the field alone
    TWorld w(o);
    if (Scene.GamePictures) w.F().DXImageList1.LoadList("Pictures.dxg");
    Scene.Setup(w);
    for (int i = 0; i < Scene.Frames; ++i) {
        const size_t at = static_cast<size_t>(i);
        KeepBest(Before ? T.Before : T.Direct, at, TimeDraw(w, *surface));
        KeepBest(T.Keyed, at, Keyed.Time(Keyed.Frame(w.E())));
        KeepBest(T.Blended, at, Blended.Time(Blended.Frame(w.E())));
        w.Frame();
    }
}

std::vector<std::string>& Summary() {
    static std::vector<std::string> lines;
    return lines;
}

// Goal: the ratio to bare SDL (GoalRatio, to the colour-keyed blits of the test pictures or to
// the blended ones of the game's) or the time (GoalMs) the game's drawing must keep to.
void RunScene(benchmark::State& State, const TScene& Scene, double GoalRatio, double GoalMs) {
    if (Scene.GamePictures && !std::filesystem::exists("Pictures.dxg")) {
        State.SkipWithError("Pictures.dxg is not in the current folder (run from the build's run folder)");
        return;
    }
    TTimes t;
    for (auto _ : State) {
        TBareSdl keyed(false), blended(true);
        for (int r = 0; r < 3; ++r) {
            RunOnce(Scene, false, keyed, blended, t);
            RunOnce(Scene, true, keyed, blended, t);
        }
        State.SetIterationTime(Median(t.Direct) / 1000.0);
    }
    const double direct = Median(t.Direct), before = Median(t.Before);
    const double keyed = Median(t.Keyed), blended = Median(t.Blended);
    const double yardstick = Scene.GamePictures ? blended : keyed;
    State.counters["draw_ms"] = direct;
    State.counters["before_ms"] = before;
    State.counters["sdl_keyed_ms"] = keyed;
    State.counters["sdl_blended_ms"] = blended;
    State.counters["ratio"] = direct / yardstick;
    char goal[64];
    if (GoalRatio > 0) {
        State.counters["goal_ratio"] = GoalRatio;
        std::snprintf(goal, sizeof goal, "ratio %.2f, goal <= %.1f", direct / yardstick, GoalRatio);
    } else {
        State.counters["goal_ms"] = GoalMs;
        std::snprintf(goal, sizeof goal, "goal <= %.1f ms", GoalMs);
    }
    char line[512];
    std::snprintf(line, sizeof line,
                  "%s: draw %.2f ms (%s); bare SDL %s %.2f ms, ratio %.2f; bare SDL %s %.2f ms, ratio %.2f; "
                  "as before %.2f ms, ratio %.2f to bare SDL %s",
                  Scene.Name.c_str(), direct, goal, Scene.GamePictures ? "blended" : "colour-keyed", yardstick,
                  direct / yardstick, Scene.GamePictures ? "colour-keyed" : "blended",
                  Scene.GamePictures ? keyed : blended, direct / (Scene.GamePictures ? keyed : blended), before,
                  before / yardstick, Scene.GamePictures ? "blended" : "colour-keyed");
    Summary().push_back(line);
}

void BulletFieldDraw(benchmark::State& State) {
    RunScene(State, {"BulletField, test pictures", false, kvbench::BulletField, kvbench::BulletFieldFrames}, 1.5, 0);
}

void BulletFieldGamePicturesDraw(benchmark::State& State) {
    RunScene(State, {"BulletField, game pictures", true, kvbench::BulletField, kvbench::BulletFieldFrames}, 1.5, 0);
}

// The same field with every bullet half transparent.
void BlendedFieldDraw(benchmark::State& State) {
    RunScene(State,
             {"BulletField at alpha 128, game pictures", true,
              [](TWorld& w) {
                  kvbench::BulletField(w);
                  for (auto* b : w.All<TZakoAShotASprite>()) b->Alpha = 128;
              },
              kvbench::BulletFieldFrames},
             0, 4.0);
}

}  // namespace

BENCHMARK(BulletFieldDraw)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BulletFieldGamePicturesDraw)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BlendedFieldDraw)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& l : Summary()) std::printf("%s\n", l.c_str());
    return 0;
}
