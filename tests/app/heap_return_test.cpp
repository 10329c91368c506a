// The heap goes back to the system once after each game, when the game's sprites are gone.
#include <gtest/gtest.h>

#include "app/HeapReturn.h"
#include "player/Play.h"

using kv::app::THeapReturn;
using kvtest::TWorld;

TEST(HeapReturn, OnceAfterEachGameWhenItsSpritesAreFreed) {
    TWorld w;
    THeapReturn heap;
    EXPECT_FALSE(heap.AfterFrame(w.F())) << "no game has been played yet";

    kvtest::StartPlaying(w);
    for (int i = 0; i < 40; ++i) kvtest::StandingBullet(w, 10 * i, 100);
    EXPECT_FALSE(heap.AfterFrame(w.F())) << "not while playing";

    w.F().Playing = false;
    EXPECT_FALSE(heap.AfterFrame(w.F())) << "the bullets are still on the field";
    for (kv::TSprite* s : w.E()->Children()) s->Kill();
    w.E()->Purge();
    EXPECT_TRUE(heap.AfterFrame(w.F()));
    EXPECT_FALSE(heap.AfterFrame(w.F())) << "once a game";

    w.F().Playing = true;
    EXPECT_FALSE(heap.AfterFrame(w.F()));
    w.F().Playing = false;
    EXPECT_TRUE(heap.AfterFrame(w.F())) << "again after the next game";
}
