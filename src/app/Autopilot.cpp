#include "app/Autopilot.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "bullets/Bases.h"
#include "bullets/Laser.h"
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
constexpr double FarMargin = 200;

// Gap between two rectangles (0 when they overlap).
double Gap(double AX, double AY, double AW, double AH, double BX, double BY, double BW, double BH) {
    const double dx = std::max({0.0, BX - (AX + AW), AX - (BX + BW)});
    const double dy = std::max({0.0, BY - (AY + AH), AY - (BY + BH)});
    return std::hypot(dx, dy);
}

bool Alive(const TSprite* S) { return S && !S->Killed; }



// Gap along one axis between [A, A + AW] and [B, B + BW] (0 when they overlap).
double AxisGap(double A, double AW, double B, double BW) { return std::max({0.0, B - (A + AW), A - (B + BW)}); }

}  // namespace

TAutopilot::TAutopilot(TForm1& Form, headless::TScriptedKeyboard& Keys) : Form_(Form), Keys_(Keys) {}

void TAutopilot::ReleaseAll() {
    for (int32_t s : {isUp, isDown, isLeft, isRight, isButton1, isButton2, isButton3}) Keys_.SetState(s, false);
    BombHeld_ = false;
}

// Between games: the room a bullet storm took is given back.
void TAutopilot::ForgetThreats() {
    std::vector<TSeen>().swap(Seen_);
    std::vector<TSeen>().swap(NextSeen_);
    std::vector<TSeen>().swap(Freed_);
    std::vector<TThreat>().swap(Threats_);
}

const TAutopilot::TSeen* TAutopilot::Previous(const TSprite* S) {
    auto byAddress = [](const TSeen& A, const TSeen& B) { return std::less<>()(A.Sprite, B.Sprite); };
    if (!PastOld_) {
        for (size_t i = SeenAt_; i < Seen_.size(); ++i)
            if (Seen_[i].Sprite == S) {
                Freed_.insert(Freed_.end(), Seen_.begin() + SeenAt_, Seen_.begin() + i);
                SeenAt_ = i + 1;
                return &Seen_[i];
            }
        PastOld_ = true;
        Freed_.insert(Freed_.end(), Seen_.begin() + SeenAt_, Seen_.end());
        std::sort(Freed_.begin(), Freed_.end(), byAddress);
    }
    auto it = std::lower_bound(Freed_.begin(), Freed_.end(), TSeen{S, 0, 0}, byAddress);
    return it != Freed_.end() && it->Sprite == S ? &*it : nullptr;
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
        ForgetThreats();
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
        ForgetThreats();
    }
}

const TAutopilot::TKind& TAutopilot::KindOf(const TSprite* S) {
    const std::type_info& type = typeid(*S);
    // Sprites of a class come in runs (a volley of bullets), so the last answer is tried first.
    // A class has one type_info here, so addresses are compared rather than names.
    if (LastKind_ < Kinds_.size() && Kinds_[LastKind_].Type == &type) return Kinds_[LastKind_];
    for (LastKind_ = 0; LastKind_ < Kinds_.size(); ++LastKind_)
        if (Kinds_[LastKind_].Type == &type) return Kinds_[LastKind_];
    const bool enemy = IsA<TEnemySprite>(S);
    Kinds_.push_back({&type, IsA<TTamaSprite>(S), enemy, IsA<TlazerSprite>(S), IsA<TBossSprite>(S),
                      enemy && IsShootable(S)});
    return Kinds_.back();
}

void TAutopilot::Fly(int64_t Frame) {
    TImageSpriteEx* ship = Form_.ZikiSprite.Get();
    const double sx = ship->X, sy = ship->Y;
    const double maxX = TForm1::ClientWidth - ship->Width, maxY = TForm1::ClientHeight - ship->Height;
    // The hit box rides 21 pixels right of the ship's corner.
    const double hbOffset = 21, hbSize = 8;
    const double shipCentre = sx + ship->Width / 2.0;
    // Where the hit box can be over the lookahead: threats that stay clear of it are left out.
    const double reach = ShipSpeed * Lookahead;
    const double reachX = std::clamp(sx - reach, 0.0, maxX) + hbOffset, reachY = std::clamp(sy - reach, 0.0, maxY);
    const double reachW = std::clamp(sx + reach, 0.0, maxX) + hbOffset + hbSize - reachX;
    const double reachH = std::clamp(sy + reach, 0.0, maxY) + hbSize - reachY;

    // A bullet or laser beyond this box is neither a threat (a velocity is at most 16 pixels a
    // frame, 160 over the lookahead, and a margin at most 30) nor crowds the hit box.
    const double farLeft = std::min(reachX, sx + hbOffset) - FarMargin;
    const double farRight = std::max(reachX + reachW, sx + hbOffset + hbSize) + FarMargin;
    const double farTop = std::min(reachY, sy) - FarMargin;
    const double farBottom = std::max(reachY + reachH, sy + hbSize) + FarMargin;

    // What can hurt, with its velocity from last frame; and what to aim at.
    std::vector<TThreat>& threats = Threats_;
    threats.clear();
    const bool seenLastFrame = SeenFrame_ == Frame - 1;
    const auto& children = Form_.SpriteEngine()->Children();
    NextSeen_.clear();
    Freed_.clear();
    SeenAt_ = 0;
    PastOld_ = false;
    const TSprite* boss = nullptr;
    const TSprite* nearest = nullptr;
    double nearestDist = 1e18;
    int crowd = 0;  // bullets near the hit box now
    for (const TSprite* s : children) {
        if (!Alive(s)) continue;
        const std::type_info* type = &typeid(*s);
        const TKind& kind = LastKind_ < Kinds_.size() && Kinds_[LastKind_].Type == type ? Kinds_[LastKind_] : KindOf(s);
        const bool bullet = kind.Bullet, enemy = kind.Enemy;
        if (!bullet && !enemy && !kind.Laser) continue;
        const TSeen* was = nullptr;
        if (seenLastFrame)
            was = !PastOld_ && SeenAt_ < Seen_.size() && Seen_[SeenAt_].Sprite == s ? &Seen_[SeenAt_++] : Previous(s);
        NextSeen_.push_back({s, s->X, s->Y});
        if (!enemy &&
            (s->X > farRight || s->X + s->Width < farLeft || s->Y > farBottom || s->Y + s->Height < farTop))
            continue;
        double vx = 0, vy = 0;
        if (was) {
            vx = s->X - was->X;
            vy = s->Y - was->Y;
            // A new sprite in a freed one's place. The length is at least the longer side and
            // below the sum of the sides, so hypot is asked only in between.
            const double ax = std::abs(vx), ay = std::abs(vy);
            if (ax > 16 || ay > 16 || (ax + ay >= 16 && std::hypot(vx, vy) > 16)) vx = vy = 0;
        }
        const double margin = kind.Boss ? BossMargin : bullet ? BulletMargin : BodyMargin;
        const double w = s->Width, h = s->Height;
        if (bullet && AxisGap(sx + hbOffset, hbSize, s->X, w) < CrowdRadius &&
            AxisGap(sy, hbSize, s->Y, h) < CrowdRadius &&
            Gap(sx + hbOffset, sy, hbSize, hbSize, s->X, s->Y, w, h) < CrowdRadius)
            ++crowd;
        // Where the threat can be over the lookahead; one pixel spare for rounding.
        const double lx = s->X + std::min(vx, vx * Lookahead), ly = s->Y + std::min(vy, vy * Lookahead);
        const double lw = std::abs(vx) * (Lookahead - 1) + w, lh = std::abs(vy) * (Lookahead - 1) + h;
        if (AxisGap(reachX, reachW, lx, lw) < margin + 1 && AxisGap(reachY, reachH, ly, lh) < margin + 1)
            threats.push_back({s->X, s->Y, w, h, vx, vy, margin, bullet});
        if (!enemy || !kind.Shootable) continue;
        if (kind.Boss) {
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
    Seen_.swap(NextSeen_);
    SeenFrame_ = Frame;

    const TSprite* target = boss ? boss : nearest;
    const double targetX = target ? target->X + target->Width / 2.0 - ship->Width / 2.0 : sx;

    // Each of the nine moves is held for the lookahead; the nearest frames weigh most. Danger[m]
    // sums over the frames and, within a frame, over the threats in order; NearDanger[m] the same
    // over the bullets of the first two frames. A gap is at least its longer side, so hypot is
    // asked only when both sides are under the margin.
    double danger[9] = {}, nearDanger[9] = {};
    for (int t = 1; t <= Lookahead; ++t) {
        double hx[3], hy[3];  // the hit box's corner under each step, -1, 0 and 1
        for (int d = -1; d <= 1; ++d) {
            hx[d + 1] = std::clamp(sx + d * ShipSpeed * t, 0.0, maxX) + hbOffset;
            hy[d + 1] = std::clamp(sy + d * ShipSpeed * t, 0.0, maxY);
        }
        // The span of the three columns (rows): a threat clear of it is clear of each.
        const double left = hx[0], right = hx[2] + hbSize, top = hy[0], bottom = hy[2] + hbSize;
        for (const TThreat& th : threats) {
            const double bx = th.X + th.VX * t;
            if (bx - right >= th.Margin || left - (bx + th.W) >= th.Margin) continue;
            const double by = th.Y + th.VY * t;
            if (by - bottom >= th.Margin || top - (by + th.H) >= th.Margin) continue;
            double gx[3], gy[3];
            bool nearX = false, nearY = false;
            for (int i = 0; i < 3; ++i) {
                gx[i] = std::max({0.0, bx - (hx[i] + hbSize), hx[i] - (bx + th.W)});
                nearX |= gx[i] < th.Margin;
            }
            if (!nearX) continue;
            for (int i = 0; i < 3; ++i) {
                gy[i] = std::max({0.0, by - (hy[i] + hbSize), hy[i] - (by + th.H)});
                nearY |= gy[i] < th.Margin;
            }
            if (!nearY) continue;
            for (int j = 0; j < 3; ++j) {
                const double gb = gy[j];
                if (gb >= th.Margin) continue;
                for (int i = 0; i < 3; ++i) {
                    const double ga = gx[i];
                    if (ga >= th.Margin) continue;
                    const double g = ga == 0 ? gb : gb == 0 ? ga : std::hypot(ga, gb);
                    if (g < th.Margin) {
                        const double c = (th.Margin - g) * (th.Margin - g) / t;
                        danger[j * 3 + i] += c;
                        if (th.Bullet && t <= 2) nearDanger[j * 3 + i] += c;
                    }
                }
            }
        }
    }
    int bestDX = 0, bestDY = 0;
    double bestCost = 1e300;
    double leastDanger = 1e300;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int m = (dy + 1) * 3 + dx + 1;
            const double d = danger[m];
            const double nx = std::clamp(sx + dx * ShipSpeed, 0.0, maxX);
            const double ny = std::clamp(sy + dy * ShipSpeed, 0.0, maxY);
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

    // Bomb when bullets crowd the hit box or every move runs into one; a press of one frame.
    if (BombHeld_) {
        Keys_.SetState(isButton2, false);
        BombHeld_ = false;
        return;
    }
    const bool cornered = leastDanger >= BulletMargin * BulletMargin;
    if ((crowd >= CrowdCount || cornered) && Form_.Bomb > 0 && !Form_.BombActive && !Form_.MutekiMode) {
        Keys_.SetState(isButton2, true);
        BombHeld_ = true;
    }
}

}  // namespace kv::app
