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

// Gap between two rectangles (0 when they overlap).
double Gap(double AX, double AY, double AW, double AH, double BX, double BY, double BW, double BH) {
    const double dx = std::max({0.0, BX - (AX + AW), AX - (BX + BW)});
    const double dy = std::max({0.0, BY - (AY + AH), AY - (BY + BH)});
    return std::hypot(dx, dy);
}

bool Alive(const TSprite* S) { return S && !S->Killed; }

size_t HashOf(const TSprite* S, uint32_t Bits) {
    return static_cast<size_t>((reinterpret_cast<uintptr_t>(S) >> 4) * 0x9E3779B97F4A7C15ull >> (64 - Bits));
}

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
    std::vector<TThreat>().swap(Threats_);
    SeenBits_ = NextSeenBits_ = 0;
}

TAutopilot::TSeen* TAutopilot::Slot(std::vector<TSeen>& Table, uint32_t Bits, const TSprite* S) {
    const size_t mask = Table.size() - 1;
    size_t i = HashOf(S, Bits);
    while (Table[i].Sprite && Table[i].Sprite != S) i = (i + 1) & mask;
    return &Table[i];
}

const TAutopilot::TSeen* TAutopilot::Find(std::vector<TSeen>& Table, uint32_t Bits, const TSprite* S) {
    if (Table.empty()) return nullptr;
    const TSeen* slot = Slot(Table, Bits, S);
    return slot->Sprite ? slot : nullptr;
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
    if (LastKind_ < Kinds_.size() && *Kinds_[LastKind_].Type == type) return Kinds_[LastKind_];
    for (LastKind_ = 0; LastKind_ < Kinds_.size(); ++LastKind_)
        if (*Kinds_[LastKind_].Type == type) return Kinds_[LastKind_];
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

    // What can hurt, with its velocity from last frame; and what to aim at.
    std::vector<TThreat>& threats = Threats_;
    threats.clear();
    const bool seenLastFrame = SeenFrame_ == Frame - 1;
    const auto& children = Form_.SpriteEngine()->Children();
    NextSeenBits_ = 4;
    while ((size_t{1} << NextSeenBits_) < 2 * children.size()) ++NextSeenBits_;
    NextSeen_.assign(size_t{1} << NextSeenBits_, TSeen{nullptr, 0, 0});
    const TSprite* boss = nullptr;
    const TSprite* nearest = nullptr;
    double nearestDist = 1e18;
    int crowd = 0;  // bullets near the hit box now
    for (const TSprite* s : children) {
        if (!Alive(s)) continue;
        const TKind& kind = KindOf(s);
        const bool bullet = kind.Bullet, enemy = kind.Enemy;
        if (!bullet && !enemy && !kind.Laser) continue;
        double vx = 0, vy = 0;
        if (seenLastFrame) {
            if (const TSeen* was = Find(Seen_, SeenBits_, s)) {
                vx = s->X - was->X;
                vy = s->Y - was->Y;
                // A new sprite in a freed one's place. The length is at least the longer side and
                // below the sum of the sides, so hypot is asked only in between.
                const double ax = std::abs(vx), ay = std::abs(vy);
                if (ax > 16 || ay > 16 || (ax + ay >= 16 && std::hypot(vx, vy) > 16)) vx = vy = 0;
            }
        }
        *Slot(NextSeen_, NextSeenBits_, s) = {s, s->X, s->Y};
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
    std::swap(SeenBits_, NextSeenBits_);
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
        for (const TThreat& th : threats) {
            const double bx = th.X + th.VX * t, by = th.Y + th.VY * t;
            double gx[3], gy[3];
            for (int i = 0; i < 3; ++i) {
                gx[i] = std::max({0.0, bx - (hx[i] + hbSize), hx[i] - (bx + th.W)});
                gy[i] = std::max({0.0, by - (hy[i] + hbSize), hy[i] - (by + th.H)});
            }
            for (int m = 0; m < 9; ++m) {
                const double ga = gx[m % 3], gb = gy[m / 3];
                if (ga >= th.Margin || gb >= th.Margin) continue;
                const double g = ga == 0 ? gb : gb == 0 ? ga : std::hypot(ga, gb);
                if (g < th.Margin) {
                    const double c = (th.Margin - g) * (th.Margin - g) / t;
                    danger[m] += c;
                    if (th.Bullet && t <= 2) nearDanger[m] += c;
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
