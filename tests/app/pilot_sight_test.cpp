// What the autopilot makes of a bullet falling at its ship: the bullet's speed over the frames
// since it last looked, and which moves run into it.
#include <gtest/gtest.h>

#include "app/PilotSight.h"
#include "player/Play.h"

using kv::app::TPilotSight;
using kvtest::TWorld;

namespace {

constexpr int Up = 1, Left = 3, Stay = 4, Right = 5;  // (dy + 1) * 3 + dx + 1

struct TWeighed {
    double Danger[9], NearDanger[9];
    double Total() const {
        double t = 0;
        for (double d : Danger) t += d;
        return t;
    }
};

TWeighed LookAndWeigh(TPilotSight& Sight, TWorld& w, int64_t Frame) {
    const kv::TSprite* ship = w.F().ZikiSprite.Get();
    Sight.Look(*w.E(), Frame,
               {ship->X, ship->Y, static_cast<double>(ship->Width),
                static_cast<double>(kv::TForm1::ClientWidth - ship->Width),
                static_cast<double>(kv::TForm1::ClientHeight - ship->Height)});
    TWeighed out;
    Sight.Weigh(out.Danger, out.NearDanger);
    return out;
}

}  // namespace

TEST(PilotSight, ABulletsSpeedIsPerFrameAndOnlyItsOwn) {
    TWorld w;
    kvtest::StartPlaying(w);  // the hit box's top at 430
    TPilotSight sight;
    // A bullet falling 8 pixels a frame over the hit box, looked at every other frame. With its
    // bottom at 260 it cannot come within the margin over the lookahead, even of a ship flying up
    // at it; at 16 a frame (the distance since the last look) it would.
    auto* b = kvtest::StandingBullet(w, 156, 0);
    const double h = b->Height;
    b->Y = 260 - h - 16;
    LookAndWeigh(sight, w, 10);
    b->Y = 260 - h;
    EXPECT_EQ(LookAndWeigh(sight, w, 12).Total(), 0);

    // Falling on, it comes within the margin of the hit box staying put over the lookahead once
    // its bottom is past 340; then flying up is worse, and a step aside is better.
    int64_t frame = 12;
    TWeighed seen{};
    while (seen.Danger[Stay] == 0 && b->Y + h < 400) {
        b->Y += 16;
        seen = LookAndWeigh(sight, w, frame += 2);
    }
    EXPECT_EQ(b->Y + h, 356);
    EXPECT_GT(seen.Danger[Up], seen.Danger[Stay]);
    EXPECT_LT(seen.Danger[Left], seen.Danger[Stay]);
    EXPECT_LT(seen.Danger[Right], seen.Danger[Stay]);

    // A new bullet a little below the old one is not given the old one's speed, wherever the
    // heap puts it: standing there, it is out of reach over the lookahead.
    const double y = b->Y + 8;
    b->Kill();
    w.E()->Purge();
    kvtest::StandingBullet(w, 156, y);
    EXPECT_EQ(LookAndWeigh(sight, w, frame += 2).Total(), 0);
}
