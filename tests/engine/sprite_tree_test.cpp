// The sprite tree: creation order, draw order, kill and purge timing, the move pass and the
// collision walk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Errors.h"
#include "engine/Sprite.h"
#include "platform/headless/Headless.h"

using namespace kv;

namespace {

std::vector<std::string> g_log;

// A sprite that logs what the passes do to it.
class TProbe : public TSprite {
public:
    TProbe(TSprite* Parent, std::string Name, int32_t W = 10, int32_t H = 10) : TSprite(Parent), Name(std::move(Name)) {
        Width = W;
        Height = H;
    }
    ~TProbe() override { g_log.push_back("free " + Name); }
    void Render() override { g_log.push_back("draw " + Name); }
    void Step(int32_t) override {
        g_log.push_back("step " + Name);
        if (OnStep) OnStep(this);
    }
    void OnHit(TSprite* Other, bool& Done) override {
        g_log.push_back("hit " + static_cast<TProbe*>(Other)->Name);
        if (OnHitDo) OnHitDo(this, Other, Done);
    }
    std::string Name;
    std::function<void(TProbe*)> OnStep;
    std::function<void(TProbe*, TSprite*, bool&)> OnHitDo;
};

class SpriteTree : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        E.SetSurface(&S);
    }
    void TearDown() override { g_log.clear(); }
    headless::TRecordingSurface S;
    TSpriteEngine E;
};

TEST_F(SpriteTree, EqualZIsDrawnNewestFirstAndHigherZOnTop) {
    new TProbe(&E, "a");
    new TProbe(&E, "b");
    new TProbe(&E, "c");
    g_log.clear();
    E.Draw();
    EXPECT_EQ(g_log, (std::vector<std::string>{"draw c", "draw b", "draw a"}));
    EXPECT_EQ(E.DrawnCount, 3);
}

TEST_F(SpriteTree, DepthListInsertsByZWithBinarySearch) {
    struct TZ : TSprite {
        TZ(TSprite* P, int32_t z, std::string n) : TSprite(P, z), Name(std::move(n)) { Width = Height = 4; }
        void Render() override { g_log.push_back("draw " + Name); }
        std::string Name;
    };
    new TZ(&E, 0, "a0");
    new TZ(&E, 5, "b5");
    new TZ(&E, 0, "c0");
    new TZ(&E, 3, "d3");
    new TZ(&E, 5, "e5");
    new TZ(&E, -1, "f-1");
    g_log.clear();
    E.Draw();
    // Ascending Z; within equal Z the newest first.
    EXPECT_EQ(g_log, (std::vector<std::string>{"draw f-1", "draw c0", "draw a0", "draw d3", "draw e5", "draw b5"}));
    // Z is looked at only on insertion.
    static_cast<TZ*>(E.Items(0))->Z = 100;
    g_log.clear();
    E.Draw();
    EXPECT_EQ(g_log.back(), "draw b5");
}

TEST_F(SpriteTree, KillTwiceIsListedOnceAndFreedByNextPurge) {
    auto* a = new TProbe(&E, "a");
    new TProbe(&E, "b");
    EXPECT_EQ(E.MemberCount, 2);
    a->Kill();
    a->Kill();
    EXPECT_EQ(E.KillList.size(), 1u);
    EXPECT_TRUE(a->Killed);
    E.Purge();
    EXPECT_EQ(E.MemberCount, 1);
    EXPECT_TRUE(E.KillList.empty());
    EXPECT_EQ(g_log, (std::vector<std::string>{"free a"}));
    E.Kill();  // the engine has no engine: nothing happens
    EXPECT_TRUE(E.KillList.empty());
}

TEST_F(SpriteTree, KilledSpriteIsMovedDrawnAndCollidableUntilPurge) {
    auto* a = new TProbe(&E, "a");
    auto* b = new TProbe(&E, "b");
    a->OnStep = [](TProbe* self) { self->Kill(); };
    g_log.clear();
    E.Move(1);  // a kills itself, still in the tree
    b->OnHitDo = nullptr;
    EXPECT_EQ(b->Collide(), 1);  // a is still reported
    E.Draw();                    // drawn once more
    E.Purge();
    EXPECT_EQ(g_log, (std::vector<std::string>{"step a", "step b", "hit a", "draw b", "draw a", "free a"}));
}

TEST_F(SpriteTree, PurgeFreesInReverseKillOrderAndKeepsOthersInOrder) {
    std::vector<TProbe*> s;
    for (int i = 0; i < 6; ++i) s.push_back(new TProbe(&E, std::to_string(i)));
    s[1]->Kill();
    s[4]->Kill();
    s[2]->Kill();
    g_log.clear();
    E.Purge();
    EXPECT_EQ(g_log, (std::vector<std::string>{"free 2", "free 4", "free 1"}));
    ASSERT_EQ(E.Count(), 3);
    EXPECT_EQ(E.Items(0), s[0]);
    EXPECT_EQ(E.Items(1), s[3]);
    EXPECT_EQ(E.Items(2), s[5]);
    EXPECT_EQ(E.DrawOrder(), (std::vector<TSprite*>{s[5], s[3], s[0]}));
}

TEST_F(SpriteTree, SpritesCreatedDuringMoveStepNextFrameAndDrawFirstAtSpawn) {
    auto* spawner = new TProbe(&E, "spawner");
    spawner->OnStep = [](TProbe* self) {
        if (self->Name == "spawner") {
            auto* c = new TProbe(self->Engine, "child");
            c->X = 7;
            self->Name = "spawner-done";
        }
    };
    g_log.clear();
    E.Move(1);
    EXPECT_EQ(g_log, (std::vector<std::string>{"step spawner"}));
    g_log.clear();
    E.Draw();
    E.Move(1);
    EXPECT_EQ(g_log, (std::vector<std::string>{"draw child", "draw spawner-done", "step spawner-done", "step child"}));
}

TEST_F(SpriteTree, ChildrenAddedByOwnStepAreMovedInTheSamePass) {
    auto* p = new TProbe(&E, "p");
    p->OnStep = [](TProbe* self) {
        if (self->Count() == 0) new TProbe(self, "kid");
    };
    g_log.clear();
    E.Move(1);
    EXPECT_EQ(g_log, (std::vector<std::string>{"step p", "step kid"}));
    p->Movable = false;
    g_log.clear();
    E.Move(1);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(SpriteTree, CollideReportsEveryOverlapEvenAfterColliderDies) {
    auto* c = new TProbe(&E, "c");
    new TProbe(&E, "x");
    new TProbe(&E, "y");
    auto* z = new TProbe(&E, "z");
    auto* far = new TProbe(&E, "far");
    far->X = 100;
    c->OnHitDo = [](TProbe* self, TSprite*, bool&) { self->Kill(); };
    g_log.clear();
    EXPECT_EQ(c->Collide(), 3);
    EXPECT_EQ(g_log, (std::vector<std::string>{"hit x", "hit y", "hit z"}));
    // A dead or non-collidable collider reports nothing.
    g_log.clear();
    EXPECT_EQ(c->Collide(), 0);
    EXPECT_TRUE(g_log.empty());
    auto* c2 = new TProbe(&E, "c2");
    c2->Collidable = false;
    EXPECT_EQ(c2->Collide(), 0);
    // A non-collidable target is never reported.
    auto* c3 = new TProbe(&E, "c3");
    z->Collidable = false;
    g_log.clear();
    EXPECT_EQ(c3->Collide(), 3);  // c (killed, still there), x, y
    EXPECT_EQ(g_log, (std::vector<std::string>{"hit c", "hit x", "hit y"}));
}

TEST_F(SpriteTree, HitStopOnlyStopsTheDescentIntoChildren) {
    auto* c = new TProbe(&E, "c");
    auto* parent = new TProbe(&E, "parent");
    new TProbe(parent, "kid");
    new TProbe(&E, "sibling");
    c->OnHitDo = [](TProbe*, TSprite* other, bool& done) {
        if (static_cast<TProbe*>(other)->Name == "parent") done = true;
    };
    g_log.clear();
    EXPECT_EQ(c->Collide(), 2);
    EXPECT_EQ(g_log, (std::vector<std::string>{"hit parent", "hit sibling"}));
    // Without the stop the child is visited; a non-collidable parent hides its subtree.
    c->OnHitDo = nullptr;
    g_log.clear();
    EXPECT_EQ(c->Collide(), 3);
    parent->Collidable = false;
    g_log.clear();
    EXPECT_EQ(c->Collide(), 1);
    EXPECT_EQ(g_log, (std::vector<std::string>{"hit sibling"}));
}

TEST_F(SpriteTree, TouchingEdgesNeitherCollideNorRender) {
    auto* c = new TProbe(&E, "c");
    auto* edge = new TProbe(&E, "edge");
    edge->X = 10;  // shares the edge x = 10
    auto* off = new TProbe(&E, "off");
    off->X = 321;
    auto* partly = new TProbe(&E, "partly");
    partly->X = -5;
    partly->Y = 200;
    g_log.clear();
    EXPECT_EQ(c->Collide(), 0);  // "edge" only touches the collider
    E.Draw();
    EXPECT_EQ(g_log, (std::vector<std::string>{"draw partly", "draw edge", "draw c"}));
}

TEST_F(SpriteTree, FreeingAParentFreesChildrenLastFirstAndClearsThemFromKillList) {
    auto* p = new TProbe(&E, "p");
    auto* k1 = new TProbe(p, "k1");
    new TProbe(p, "k2");
    EXPECT_EQ(E.MemberCount, 3);
    k1->Kill();
    p->Kill();
    g_log.clear();
    E.Purge();
    // The parent's destructor frees its children, last child first.
    EXPECT_EQ(g_log, (std::vector<std::string>{"free p", "free k2", "free k1"}));
    EXPECT_EQ(E.MemberCount, 0);
    EXPECT_TRUE(E.KillList.empty());
    EXPECT_EQ(E.Count(), 0);
}

TEST_F(SpriteTree, ItemsOutOfRangeRaisesTheIndexError) {
    try {
        E.Items(3);
        FAIL();
    } catch (const ESpriteError& e) {
        EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています (3)");
    }
    new TProbe(&E, "a");
    EXPECT_THROW(E.Items(1), EListError);
    EXPECT_NO_THROW(E.Items(0));
}

TEST_F(SpriteTree, WeakReferenceEmptiesWhenTheSpriteIsFreed) {
    auto* a = new TProbe(&E, "a");
    TSpriteRef<TProbe> ref(a);
    EXPECT_EQ(ref.Get(), a);
    a->Kill();
    EXPECT_EQ(ref.Get(), a);  // still alive until the purge
    E.Purge();
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_FALSE(ref);
}

TEST_F(SpriteTree, AbsolutePositionAddsParents) {
    auto* p = new TProbe(&E, "p");
    p->X = 10;
    p->Y = 20;
    auto* k = new TProbe(p, "k");
    k->X = -0.5;
    k->Y = 1.5;
    EXPECT_DOUBLE_EQ(k->AbsX(), 9.5);
    EXPECT_DOUBLE_EQ(k->AbsY(), 21.5);
    TRect r = k->BoundsRect();
    EXPECT_EQ(r, (TRect{9, 21, 19, 31}));
}

}  // namespace
