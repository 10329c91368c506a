// The engine's passes with 5,000 sprites: create, move, draw, collide, purge.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/ImageSprite.h"
#include "platform/headless/Headless.h"
#include "platform/sdl/SdlSurface.h"

using namespace kv;

namespace {

constexpr int kSprites = 5000;

class TMover : public TImageSpriteEx {
public:
    using TImageSpriteEx::TImageSpriteEx;
    void Step(int32_t MoveCount) override {
        TImageSpriteEx::Step(MoveCount);
        Y += 1.5;
        if (Y > 480) Y = -20;
    }
};

class TCollider : public TImageSpriteEx {
public:
    using TImageSpriteEx::TImageSpriteEx;
    void Step(int32_t MoveCount) override {
        TImageSpriteEx::Step(MoveCount);
        Collide();
    }
    void OnHit(TSprite*, bool&) override { Hits++; }
    int64_t Hits = 0;
};

TPictureCollectionItem& Bullet(ISurface* S) {
    static TPictureCollectionItem item = [] {
        TPictureCollectionItem i;
        i.Name = "Bullet";
        i.Picture.Width = i.Picture.Height = 20;
        i.Picture.Pixels.assign(400, 0xFFFF8040u);
        return i;
    }();
    item.Prepare(S);
    return item;
}

void Fill(TSpriteEngine& E, TPictureCollectionItem& Pic) {
    for (int i = 0; i < kSprites; ++i) {
        auto* s = new TMover(&E);
        SetImage(s, &Pic);
        s->X = (i * 37) % 301;
        s->Y = (i * 53) % 461;
    }
}

void BM_CreateAndPurge(benchmark::State& state) {
    headless::TRecordingSurface S;
    S.Record = false;
    TSpriteEngine E;
    E.SetSurface(&S);
    auto& pic = Bullet(&S);
    for (auto _ : state) {
        Fill(E, pic);
        for (TSprite* s : E.Children()) s->Kill();
        E.Purge();
    }
    state.counters["sprites"] = kSprites;
}
BENCHMARK(BM_CreateAndPurge)->Unit(benchmark::kMillisecond);

void BM_PurgeHalf(benchmark::State& state) {
    headless::TRecordingSurface S;
    S.Record = false;
    TSpriteEngine E;
    E.SetSurface(&S);
    auto& pic = Bullet(&S);
    for (auto _ : state) {
        state.PauseTiming();
        Fill(E, pic);
        int i = 0;
        for (TSprite* s : E.Children())
            if (i++ % 2) s->Kill();
        state.ResumeTiming();
        E.Purge();
        state.PauseTiming();
        E.Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PurgeHalf)->Unit(benchmark::kMicrosecond);

void BM_MoveWithTenColliders(benchmark::State& state) {
    headless::TRecordingSurface S;
    S.Record = false;
    TSpriteEngine E;
    E.SetSurface(&S);
    auto& pic = Bullet(&S);
    for (int i = 0; i < 10; ++i) {
        auto* c = new TCollider(&E);
        SetImage(c, &pic);
        c->X = i * 30;
        c->Y = 200;
    }
    Fill(E, pic);
    for (auto _ : state) E.Move(16);
    state.counters["sprites"] = E.MemberCount;
}
BENCHMARK(BM_MoveWithTenColliders)->Unit(benchmark::kMicrosecond);

void BM_DrawSoftware(benchmark::State& state) {
    auto S = TSdlSurface::CreateSoftware();
    TSpriteEngine E;
    E.SetSurface(S.get());
    auto& pic = Bullet(S.get());
    Fill(E, pic);
    int i = 0;
    for (TSprite* s : E.Children()) static_cast<TImageSpriteEx*>(s)->Angle = (i++ % 3) * 40;
    for (auto _ : state) {
        S->Fill(0);
        E.Draw();
    }
    state.counters["drawn"] = E.DrawnCount;
}
BENCHMARK(BM_DrawSoftware)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
