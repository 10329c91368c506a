#include "app/Autopilot.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

namespace {

constexpr double LowY = 390;  // the ship's resting height (top-left corner)
constexpr int CrowdCount = 8;
constexpr double BulletMargin = TPilotSight::BulletMargin;

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
        Sight_.Forget();
        if (MenuSince_ < 0) MenuSince_ = Frame;
        if (Frame - MenuSince_ >= MenuDelay) {
            Session.Click(Frame, Form_.Button6.Visible ? "Button6" : "Button1");
            MenuSince_ = -1;
        }
        return;
    }
    MenuSince_ = -1;

    if (Form_.Playing && Form_.ZikiSprite) {
        Fly(Frame);
    } else {
        ReleaseAll();  // the game-over or game-clear picture is showing
        Sight_.Forget();
    }
}

void TAutopilot::Fly(int64_t Frame) {
    // A bomb is a press of one frame.
    if (BombHeld_) {
        Keys_.SetState(isButton2, false);
        BombHeld_ = false;
    }
    // The pilot chooses its keys every other frame and holds them between: a thirtieth of a
    // second is still quicker than any player, and an unattended run spends its time on the
    // game rather than on its pilot.
    if (ThoughtAt_ == Frame - 1) return;
    ThoughtAt_ = Frame;
    TImageSpriteEx* ship = Form_.ZikiSprite.Get();
    const double sx = ship->X, sy = ship->Y;
    const double maxX = TForm1::ClientWidth - ship->Width, maxY = TForm1::ClientHeight - ship->Height;
    Sight_.Look(*Form_.SpriteEngine(), Frame, {sx, sy, static_cast<double>(ship->Width), maxX, maxY});
    const TSprite* target = Sight_.Boss() ? Sight_.Boss() : Sight_.Nearest();
    const double targetX = target ? target->X + target->Width / 2.0 - ship->Width / 2.0 : sx;

    double danger[9], nearDanger[9];
    Sight_.Weigh(danger, nearDanger);
    int bestDX = 0, bestDY = 0;
    double bestCost = 1e300;
    double leastDanger = 1e300;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int m = (dy + 1) * 3 + dx + 1;
            const double d = danger[m];
            const double nx = std::clamp(sx + dx * TPilotSight::ShipSpeed, 0.0, maxX);
            const double ny = std::clamp(sy + dy * TPilotSight::ShipSpeed, 0.0, maxY);
            // Near the target a step that overshoots costs as much as one that falls short.
            const double cost = d * 50 + std::abs(targetX - nx) + 0.5 * std::abs(LowY - ny);
            leastDanger = std::min(leastDanger, nearDanger[m]);
            if (cost < bestCost) {
                bestCost = cost;
                bestDX = dx;
                bestDY = dy;
            }
        }
    SetMove(bestDX, bestDY);
    Keys_.SetState(isButton1, true);  // keep firing
    Keys_.SetState(isButton3, false);

    // Bomb when bullets crowd the hit box or every move runs into one.
    const bool cornered = leastDanger >= BulletMargin * BulletMargin;
    if ((Sight_.Crowd() >= CrowdCount || cornered) && Form_.Bomb > 0 && !Form_.BombActive && !Form_.MutekiMode) {
        Keys_.SetState(isButton2, true);
        BombHeld_ = true;
    }
}

}  // namespace kv::app
