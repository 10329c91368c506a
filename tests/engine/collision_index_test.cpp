// The collision walk through the index against the walk of the whole tree: random scenes whose
// sprites move (off the grid too), resize across the grid's cell size, die, spawn, gain children
// and stop walks from inside their hits must give the same hits in the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/ImageSprite.h"
#include "platform/headless/Headless.h"

using namespace kv;

namespace {

struct TScene;

uint32_t Next(uint32_t& R) {
    R ^= R << 13;
    R ^= R >> 17;
    R ^= R << 5;
    return R;
}

// Everything the scene's sprites do is drawn from one generator, so two engines that see the
// same calls in the same order make the same choices.
struct TScene {
    explicit TScene(uint32_t Seed, bool Grid) : Rand(Seed) {
        E.SetSurface(&S);
        E.UseIndex = Grid;
    }
    int Roll(int N) { return static_cast<int>(Next(Rand) % static_cast<uint32_t>(N)); }
    void Spawn(TSprite* Parent);
    void Log(const std::string& Line) { Trace.push_back(Line); }

    std::vector<std::string> Trace;
    std::vector<TSprite*> All;  // in creation order; freed ones are nulled
    uint32_t Rand;
    int Ids = 0;
    headless::TRecordingSurface S;
    TSpriteEngine E;  // last, as its sprites note their end in All
};

template <class TBase>
class TActor : public TBase {
public:
    TActor(TSprite* Parent, TScene& Scene) : TBase(Parent), Sc(Scene), Id(Scene.Ids++) {}
    ~TActor() override { Sc.All[Id] = nullptr; }

    void Step(int32_t) override {
        if (Sc.Roll(4) == 0) Sc.Log("collide " + std::to_string(Id) + " = " + std::to_string(this->Collide()));
        Wander(this);
        if (Sc.Roll(40) == 0) this->Kill();
        if (Sc.Roll(60) == 0) Sc.Spawn(&Sc.E);
    }
    void OnHit(TSprite* Other, bool& Done) override {
        Sc.Log(std::to_string(Id) + " hits " + std::to_string(IdOf(Other)));
        switch (Sc.Roll(16)) {
            case 0: this->Kill(); break;
            case 1: Other->Kill(); break;
            case 2: Wander(this); break;
            case 3: Wander(Other); break;
            case 4: if (TSprite* s = Any()) Wander(s); break;
            case 5: Sc.Spawn(&Sc.E); break;
            case 6: Sc.Spawn(Sc.Roll(2) ? Other : static_cast<TSprite*>(this)); break;
            case 7: Done = true; break;
            case 8: if (TSprite* s = Any()) s->Collidable = !s->Collidable; break;
            case 9: if (TSprite* s = Any()) s->Width = Sc.Roll(70); break;
            case 11: if (TSprite* s = Any()) s->Height = Sc.Roll(70) - 3; break;
            case 10: if (Sc.Roll(8) == 0) if (TSprite* s = Any()) Sc.Log("inner " + std::to_string(s->Collide())); break;
            default: break;
        }
    }

    static int IdOf(TSprite* S);
    TSprite* Any() {
        TSprite* s = Sc.All[Sc.Roll(static_cast<int>(Sc.All.size()))];
        return s && s->Engine ? s : nullptr;
    }
    void Wander(TSprite* S) {
        switch (Sc.Roll(8)) {
            case 0: S->X = Sc.Roll(400) - 40.5; S->Y = Sc.Roll(560) - 40.25; break;  // anywhere, off the view too
            case 1: S->X += 300; S->Y -= Sc.Roll(2) * 700; break;  // far off the grid
            default: S->X += Sc.Roll(9) - 4; S->Y += (Sc.Roll(9) - 4) * 0.75; break;
        }
    }

    TScene& Sc;
    int Id;
};

// A sprite with a rectangle and hit test of its own, which the grid cannot hold by its place.
class TPlain : public TActor<TSprite> {
public:
    using TActor::TActor;
    TRect BoundsRect() override { return Bounds(OwnRect().Left - 2, OwnRect().Top, Width + 4, Height); }
    bool HitTest(TSprite* Other) override { return (Id + static_cast<int>(Other->X)) % 3 != 0; }
};
using TImage = TActor<TImageSpriteEx>;

template <class TBase>
int TActor<TBase>::IdOf(TSprite* S) {
    if (auto* p = dynamic_cast<TPlain*>(S)) return p->Id;
    return static_cast<TImage*>(S)->Id;
}

void TScene::Spawn(TSprite* Parent) {
    TSprite* s;
    if (Roll(8) == 0) {
        s = new TPlain(Parent, *this);
    } else {
        s = new TImage(Parent, *this);
    }
    All.push_back(s);
    s->X = Roll(360) - 20 + 0.5 * Roll(2);
    s->Y = Roll(520) - 20;
    // Empty, large, about a grid cell's size, negative, small.
    const int size = Roll(10);
    s->Width = size == 0 ? 0 : size == 1 ? 40 + Roll(80) : size == 2 ? 31 + Roll(4) : size == 3 ? -Roll(5) : 2 + Roll(30);
    s->Height = size == 0 ? Roll(3) : size == 2 ? 31 + Roll(4) : 2 + Roll(30);
}

std::vector<std::string> Play(uint32_t Seed, bool Grid) {
    TScene sc(Seed, Grid);
    for (int i = 0; i < 300; ++i) sc.Spawn(&sc.E);
    for (int frame = 0; frame < 60; ++frame) {
        sc.E.Purge();
        sc.E.Move(1);
        sc.Log("frame " + std::to_string(frame) + " sprites " + std::to_string(sc.E.MemberCount));
    }
    return sc.Trace;
}

TEST(CollisionIndex, HitsComeInTheTreeWalksOrderWhateverTheHitsDo) {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        const auto plain = Play(seed, false);
        const auto grid = Play(seed, true);
        ASSERT_GT(plain.size(), 3000u);
        ASSERT_EQ(plain, grid) << "seed " << seed;
    }
}

}  // namespace

// Sprites that meet a collider by one pixel at a corner, of sizes about a grid cell's, around
// colliders on and off the grid: the index finds each one the tree walk finds.
TEST(CollisionIndex, FindsWhatMeetsTheColliderByOnePixelAroundTheCells) {
    struct TCollider : TImageSpriteEx {
        using TImageSpriteEx::TImageSpriteEx;
        void OnHit(TSprite* Other, bool&) override { Hits.push_back(Other); }
        std::vector<TSprite*> Hits;
    };
    auto hits = [](bool Grid) {
        headless::TRecordingSurface s;
        TSpriteEngine e;
        e.SetSurface(&s);
        e.UseIndex = Grid;
        std::vector<std::vector<int>> seen;
        for (int c = -50; c < 420; c += 13) {
            auto* col = new TCollider(&e);
            col->X = c + 0.5;
            col->Y = c * 1.2;
            col->Width = 1 + c % 9;
            col->Height = 33 - c % 5;
            const TRect r = col->OwnRect();
            std::vector<TSprite*> all;
            for (int size : {30, 31, 32, 33})
                for (int corner = 0; corner < 4; ++corner) {
                    auto* t = new TImageSpriteEx(&e);
                    t->Width = t->Height = size;
                    t->X = corner & 1 ? r.Right - 1 : r.Left - size + 1;
                    t->Y = corner & 2 ? r.Bottom - 1 : r.Top - size + 1;
                    all.push_back(t);
                }
            col->Collide();
            std::vector<int> ids;
            for (TSprite* h : col->Hits) ids.push_back(static_cast<int>(std::find(all.begin(), all.end(), h) - all.begin()));
            seen.push_back(ids);
            col->Kill();
            for (TSprite* t : all) t->Kill();
            e.Purge();
        }
        return seen;
    };
    const auto plain = hits(false);
    ASSERT_EQ(plain.front().size(), 16u);
    EXPECT_EQ(hits(true), plain);
}
