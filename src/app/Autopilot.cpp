#include "app/Autopilot.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "bosses/Laser.h"
#include "enemies/Bases.h"
#include "player/HitReactions.h"
#include "shell/GameSprite.h"

namespace kv::app {

namespace {

constexpr double ShipSpeed = 5;
constexpr double LowY = 390;           // the ship's resting height (top-left corner)
constexpr int Lookahead = 10;          // frames a candidate move is followed ahead
constexpr double BulletMargin = 10;    // pixels of clearance wanted around the hit box
constexpr double BodyMargin = 18;      // more for enemies, most for bosses (touching one ends the game)
constexpr double BossMargin = 30;
constexpr double CrowdRadius = 40;
constexpr int CrowdCount = 8;

struct TThreat {
    double X, Y, W, H;  // now
    double VX, VY;      // estimated per frame
    double Margin;
    bool Bullet;
};

// Gap between two rectangles (0 when they overlap).
double Gap(double AX, double AY, double AW, double AH, double BX, double BY, double BW, double BH) {
    const double dx = std::max({0.0, BX - (AX + AW), AX - (BX + BW)});
    const double dy = std::max({0.0, BY - (AY + AH), AY - (BY + BH)});
    return std::hypot(dx, dy);
}

bool Alive(const TSprite* S) { return S && !S->Killed; }

}  // namespace

TAutopilot::TAutopilot(TForm1& Form, headless::TScriptedKeyboard& Keys) : Form_(Form), Keys_(Keys) {}

void TAutopilot::ReleaseAll() {
    for (int32_t s : {isUp, isDown, isLeft, isRight, isButton1, isButton2, isButton3}) Keys_.SetState(s, false);
    BombHeld_ = false;
}

void TAutopilot::SetMove(int DX, int DY) {
    Keys_.SetState(isLeft, DX < 0);
    Keys_.SetState(isRight, DX > 0);
    Keys_.SetState(isUp, DY < 0);
    Keys_.SetState(isDown, DY > 0);
}

void TAutopilot::BeforeFrame(int64_t Frame, TSession& Session) {
    if (Form_.NameEntry) {
        ReleaseAll();
        if (NameEntrySince_ < 0) NameEntrySince_ = Frame;
        const int64_t waited = Frame - NameEntrySince_;
        if (waited == TypeDelay) {
            Session.Type(Frame, "Edit1", "Autopilot");
            Session.Type(Frame, "Edit2", "Flown by the autopilot");
        }
        if (waited >= ConfirmDelay) {
            Session.Click(Frame, "Button5");
            NameEntrySince_ = -1;
        }
        return;
    }
    NameEntrySince_ = -1;

    if (!Form_.Playing && Form_.Button1.Visible) {
        ReleaseAll();
        if (MenuSince_ < 0) MenuSince_ = Frame;
        if (Frame - MenuSince_ >= MenuDelay) {
            Session.Click(Frame, Form_.Button6.Visible ? "Button6" : "Button1");
            MenuSince_ = -1;
        }
        return;
    }
    MenuSince_ = -1;

    if (Form_.Playing && Form_.ZikiSprite)
        Fly(Frame);
    else
        ReleaseAll();  // the game-over or game-clear picture is showing
}

void TAutopilot::Fly(int64_t Frame) {
    TImageSpriteEx* ship = Form_.ZikiSprite.Get();
    const double sx = ship->X, sy = ship->Y;
    const double maxX = TForm1::ClientWidth - ship->Width, maxY = TForm1::ClientHeight - ship->Height;
    // The hit box rides 21 pixels right of the ship's corner.
    const double hbOffset = 21, hbSize = 8;
    const double shipCentre = sx + ship->Width / 2.0;

    // What can hurt, with its velocity from last frame; and what to aim at.
    std::vector<TThreat> threats;
    std::unordered_map<const TSprite*, TSeen> seen;
    const TSprite* boss = nullptr;
    const TSprite* nearest = nullptr;
    double nearestDist = 1e18;
    for (const TSprite* s : Form_.SpriteEngine()->Children()) {
        if (!Alive(s)) continue;
        const bool bullet = IsA<TTamaSprite>(s), enemy = IsA<TEnemySprite>(s), laser = IsA<TlazerSprite>(s);
        if (!bullet && !enemy && !laser) continue;
        double vx = 0, vy = 0;
        if (auto it = Seen_.find(s); it != Seen_.end() && it->second.Frame == Frame - 1) {
            vx = s->X - it->second.X;
            vy = s->Y - it->second.Y;
            if (std::hypot(vx, vy) > 16) vx = vy = 0;  // a new sprite in a freed one's place
        }
        seen[s] = {s->X, s->Y, Frame};
        const bool isBoss = IsA<TBossSprite>(s);
        threats.push_back({s->X, s->Y, double(s->Width), double(s->Height), vx, vy,
                           isBoss ? BossMargin : bullet ? BulletMargin : BodyMargin, bullet});
        if (!enemy || !IsShootable(s)) continue;
        if (isBoss) {
            if (!boss) boss = s;
            continue;
        }
        // Shots fly up, so only enemies above the ship and near the field are worth chasing.
        if (s->Y + s->Height > sy - 20 || s->Y < -60) continue;
        const double d = std::hypot(s->X + s->Width / 2.0 - shipCentre, s->Y - sy);
        if (d < nearestDist) {
            nearestDist = d;
            nearest = s;
        }
    }
    Seen_ = std::move(seen);

    const TSprite* target = boss ? boss : nearest;
    const double targetX = target ? target->X + target->Width / 2.0 - ship->Width / 2.0 : sx;

    // Each of the nine moves is held for the lookahead; the nearest frames weigh most.
    auto danger = [&](int DX, int DY, int Frames, bool BulletsOnly) {
        double total = 0;
        for (int t = 1; t <= Frames; ++t) {
            const double x = std::clamp(sx + DX * ShipSpeed * t, 0.0, maxX);
            const double y = std::clamp(sy + DY * ShipSpeed * t, 0.0, maxY);
            for (const TThreat& th : threats) {
                if (BulletsOnly && !th.Bullet) continue;
                const double g = Gap(x + hbOffset, y, hbSize, hbSize, th.X + th.VX * t, th.Y + th.VY * t, th.W, th.H);
                if (g < th.Margin) total += (th.Margin - g) * (th.Margin - g) / t;
            }
        }
        return total;
    };
    int bestDX = 0, bestDY = 0;
    double bestCost = 1e300;
    double leastDanger = 1e300;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const double d = danger(dx, dy, Lookahead, false);
            const double nx = std::clamp(sx + dx * ShipSpeed, 0.0, maxX);
            const double ny = std::clamp(sy + dy * ShipSpeed, 0.0, maxY);
            // Near the target a step that overshoots costs as much as one that falls short.
            const double cost = d * 50 + std::abs(targetX - nx) + 0.5 * std::abs(LowY - ny);
            leastDanger = std::min(leastDanger, danger(dx, dy, 2, true));
            if (cost < bestCost) {
                bestCost = cost;
                bestDX = dx;
                bestDY = dy;
            }
        }
    SetMove(bestDX, bestDY);
    Keys_.SetState(isButton1, true);  // keep firing
    Keys_.SetState(isButton3, false);

    // Bomb when bullets crowd the hit box or every move runs into one; a press of one frame.
    if (BombHeld_) {
        Keys_.SetState(isButton2, false);
        BombHeld_ = false;
        return;
    }
    int crowd = 0;
    for (const TThreat& th : threats)
        if (th.Bullet &&
            Gap(sx + hbOffset, sy, hbSize, hbSize, th.X, th.Y, th.W, th.H) < CrowdRadius)
            ++crowd;
    const bool cornered = leastDanger >= BulletMargin * BulletMargin;
    if ((crowd >= CrowdCount || cornered) && Form_.Bomb > 0 && !Form_.BombActive && !Form_.MutekiMode) {
        Keys_.SetState(isButton2, true);
        BombHeld_ = true;
    }
}

}  // namespace kv::app
