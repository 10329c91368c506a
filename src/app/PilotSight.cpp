#include "app/PilotSight.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "bullets/Bases.h"
#include "bullets/Laser.h"
#include "player/HitReactions.h"
#include "shell/GameSprite.h"

namespace kv::app {

namespace {

constexpr double BulletMargin = TPilotSight::BulletMargin;
constexpr double BodyMargin = 18;  // more for enemies, most for bosses (touching one ends the game)
constexpr double BossMargin = 30;
constexpr double CrowdRadius = 40;
// A bullet or laser this far beyond where the hit box can go is neither a threat (a velocity is
// at most 16 pixels a frame, 160 over the lookahead, and a margin at most 30) nor crowds it.
constexpr double FarMargin = 200;

// Two lanes, as every x86-64 has them; a comparison gives a lane of all ones or all zeros.
using V2 = double __attribute__((vector_size(16)));
using M2 = int64_t __attribute__((vector_size(16)));

V2 Load(const std::vector<double>& Column, size_t K) {
    V2 v;
    std::memcpy(&v, Column.data() + K, sizeof v);
    return v;
}

// The larger of two gaps, without a branch: near and far come at random, so one would often
// miss, and the compiler makes one of a comparison with a constant.
double Max(double A, double B) {
#ifdef __SSE2__
    return _mm_cvtsd_f64(_mm_max_sd(_mm_set_sd(A), _mm_set_sd(B)));
#else
    return A > B ? A : B;
#endif
}
V2 Max(V2 A, V2 B) {
#ifdef __SSE2__
    return _mm_max_pd(A, B);
#else
    return A > B ? A : B;
#endif
}
V2 Sqrt(V2 A) {
#ifdef __SSE2__
    return _mm_sqrt_pd(A);
#else
    return V2{std::sqrt(A[0]), std::sqrt(A[1])};
#endif
}

// Gap along one axis between [A, AEnd] and [B, B + BW] (0 when they overlap), and two at once.
double AxisGap(double A, double AEnd, double B, double BW) { return Max(Max(B - AEnd, A - (B + BW)), 0.0); }
V2 AxisGap(V2 A, V2 AEnd, V2 B, V2 BW) { return Max(Max(B - AEnd, A - (B + BW)), V2{0, 0}); }

}  // namespace

void TPilotSight::Forget() {
    std::vector<TSeen>().swap(Seen_);
    std::vector<TSeen>().swap(NextSeen_);
    Threats_ = {};
    std::vector<uint32_t>().swap(Close_);
}

void TPilotSight::TThreats::Add(double AX, double AY, double AW, double AH, double AVX, double AVY, double AMargin,
                                bool ABullet) {
    if (X.size() < Count + 2) {
        for (auto* c : {&X, &Y, &W, &H, &VX, &VY, &Margin}) c->resize(Count + 2);
        Bullet.resize(Count + 2);
    }
    X[Count] = AX;
    Y[Count] = AY;
    W[Count] = AW;
    H[Count] = AH;
    VX[Count] = AVX;
    VY[Count] = AVY;
    Margin[Count] = AMargin;
    Bullet[Count] = ABullet;
    ++Count;
}

const TPilotSight::TKind& TPilotSight::KindOf(const TSprite* S) {
    const std::type_info& type = typeid(*S);
    // A class has one type_info here, so addresses are compared rather than names. The game has
    // many classes of bullet, so they are looked up in a table open by address.
    size_t slot = KindSlot(&type);
    for (; KindTable_[slot] >= 0; slot = (slot + 1) % KindTable_.size())
        if (Kinds_[KindTable_[slot]].Type == &type) return Kinds_[KindTable_[slot]];
    const bool bullet = IsA<TTamaSprite>(S), enemy = IsA<TEnemySprite>(S), boss = IsA<TBossSprite>(S);
    const bool laser = IsA<TlazerSprite>(S);
    Kinds_.push_back({&type, bullet, enemy, laser, boss, enemy && IsShootable(S), bullet || enemy || laser,
                      boss ? BossMargin : bullet ? BulletMargin : BodyMargin});
    KindTable_[slot] = static_cast<int32_t>(Kinds_.size() - 1);
    if (Kinds_.size() * 2 > KindTable_.size()) {
        // Kept at most half full: twice the room, and every class placed again.
        std::vector<int32_t>(KindTable_.size() * 2, -1).swap(KindTable_);
        for (size_t k = 0; k < Kinds_.size(); ++k) {
            size_t at = KindSlot(Kinds_[k].Type);
            while (KindTable_[at] >= 0) at = (at + 1) % KindTable_.size();
            KindTable_[at] = static_cast<int32_t>(k);
        }
    }
    return Kinds_.back();
}

size_t TPilotSight::KindSlot(const std::type_info* Type) const {
    return (reinterpret_cast<uintptr_t>(Type) >> 4) * 0x9E3779B97F4A7C15ull >> 40 & (KindTable_.size() - 1);
}

void TPilotSight::Look(const TSpriteEngine& Engine, int64_t Frame, const TShip& Ship) {
    Ship_ = Ship;
    const double sx = Ship.X, sy = Ship.Y;
    const double hbX = sx + HitBoxOffset, hbRight = hbX + HitBoxSize, hbBottom = sy + HitBoxSize;
    // Where the hit box can be over the lookahead: threats that stay clear of it are left out.
    const double reach = ShipSpeed * Lookahead;
    const double reachX = std::clamp(sx - reach, 0.0, Ship.MaxX) + HitBoxOffset;
    const double reachY = std::clamp(sy - reach, 0.0, Ship.MaxY);
    const double reachRight = std::clamp(sx + reach, 0.0, Ship.MaxX) + HitBoxOffset + HitBoxSize;
    const double reachBottom = std::clamp(sy + reach, 0.0, Ship.MaxY) + HitBoxSize;
    const double farLeft = reachX - FarMargin, farRight = reachRight + FarMargin;
    const double farTop = reachY - FarMargin, farBottom = reachBottom + FarMargin;

    // Velocities are per frame, over the frames since the last look.
    const int64_t since = Frame - SeenFrame_;
    if (since < 1 || since > MaxSince) Seen_.clear();
    SeenFrame_ = Frame;
    NextSeen_.clear();
    Threats_.Count = 0;
    Crowd_ = 0;
    Boss_ = Nearest_ = nullptr;
    double nearestDist = 1e18;
    const double shipCentre = sx + Ship.Width / 2.0;
    size_t at = 0;  // the next record of last frame, in join order as the children are
    const std::type_info* lastType = nullptr;  // sprites of a class come in runs (a volley)
    const TKind* kind = nullptr;
    for (const TSprite* s : Engine.Children()) {
        if (!s || s->Killed) continue;
        const std::type_info* type = &typeid(*s);
        if (type != lastType) {
            kind = &KindOf(s);
            lastType = type;
        }
        if (!kind->Looked) continue;
        const double x = s->X, y = s->Y, w = s->Width, h = s->Height;
        // Enemies are always looked at: they are few and may be targets.
        if (!kind->Enemy && ((x > farRight) | (x + w < farLeft) | (y > farBottom) | (y + h < farTop))) continue;
        const uint64_t order = s->JoinOrder();
        while (at < Seen_.size() && Seen_[at].Order < order) ++at;
        double vx = 0, vy = 0;
        if (at < Seen_.size() && Seen_[at].Order == order) {
            vx = (x - Seen_[at].X) / since;
            vy = (y - Seen_[at].Y) / since;
            // A jump rather than a flight.
            if (vx * vx + vy * vy > 16 * 16) vx = vy = 0;
        }
        NextSeen_.push_back({order, x, y});
        if (kind->Bullet) {
            const double cx = AxisGap(hbX, hbRight, x, w), cy = AxisGap(sy, hbBottom, y, h);
            Crowd_ += cx * cx + cy * cy < CrowdRadius * CrowdRadius;
        }
        // Where the threat can be over the lookahead; one pixel spare for rounding.
        const double lx = x + std::min(vx, vx * Lookahead), ly = y + std::min(vy, vy * Lookahead);
        const double lw = std::abs(vx) * (Lookahead - 1) + w, lh = std::abs(vy) * (Lookahead - 1) + h;
        if (AxisGap(reachX, reachRight, lx, lw) < kind->Margin + 1 && AxisGap(reachY, reachBottom, ly, lh) < kind->Margin + 1)
            Threats_.Add(x, y, w, h, vx, vy, kind->Margin, kind->Bullet);
        if (!kind->Shootable) continue;
        if (kind->Boss) {
            if (!Boss_) Boss_ = s;
            continue;
        }
        // Shots fly up, so only enemies above the ship and near the field are worth chasing.
        if (y + h > sy - 20 || y < -60) continue;
        const double d = std::hypot(x + w / 2.0 - shipCentre, y - sy);
        if (d < nearestDist) {
            nearestDist = d;
            Nearest_ = s;
        }
    }
    Seen_.swap(NextSeen_);
}

void TPilotSight::Weigh(double (&Danger)[9], double (&NearDanger)[9]) {
    const double sx = Ship_.X, sy = Ship_.Y;
    const TThreats& th = Threats_;
    Close_.resize(th.Count + 1);
    const V2 zero = {0, 0};
    // Row j's danger for columns 0 and 1, and for column 2 (in both lanes).
    V2 danger01[3] = {}, danger2[3] = {}, near01[3] = {}, near2[3] = {};
    for (int t = 1; t <= Lookahead; ++t) {
        double hx[3], hy[3];  // the hit box's corner under each step, -1, 0 and 1
        for (int d = -1; d <= 1; ++d) {
            hx[d + 1] = std::clamp(sx + d * ShipSpeed * t, 0.0, Ship_.MaxX) + HitBoxOffset;
            hy[d + 1] = std::clamp(sy + d * ShipSpeed * t, 0.0, Ship_.MaxY);
        }
        // The span of the three columns (rows): a threat clear of it is clear of each. Most
        // are, so the close ones are listed first, two threats at a time.
        const double left = hx[0], right = hx[2] + HitBoxSize, top = hy[0], bottom = hy[2] + HitBoxSize;
        size_t close = 0;
        const V2 time = zero + t;
        for (size_t k = 0; k < th.Count; k += 2) {
            const V2 m = Load(th.Margin, k);
            const V2 bx = Load(th.X, k) + Load(th.VX, k) * time, by = Load(th.Y, k) + Load(th.VY, k) * time;
            const M2 in = (bx - right < m) & (left - (bx + Load(th.W, k)) < m) & (by - bottom < m) &
                          (top - (by + Load(th.H, k)) < m);
            Close_[close] = static_cast<uint32_t>(k);
            close += in[0] & 1;
            Close_[close] = static_cast<uint32_t>(k + 1);
            close += in[1] & (k + 1 < th.Count);
        }
        const V2 hx01 = {hx[0], hx[1]}, hx2 = zero + hx[2], hy01 = {hy[0], hy[1]}, hy2 = zero + hy[2];
        const double weight = 1.0 / t;
        for (size_t n = 0; n < close; ++n) {
            const size_t k = Close_[n];
            const double m = th.Margin[k];
            const V2 bx = zero + (th.X[k] + th.VX[k] * t), by = zero + (th.Y[k] + th.VY[k] * t);
            const V2 w = zero + th.W[k], h = zero + th.H[k];
            // Gaps along each axis to the three columns and the three rows.
            const V2 gx01 = AxisGap(hx01, hx01 + HitBoxSize, bx, w), gx2 = AxisGap(hx2, hx2 + HitBoxSize, bx, w);
            const V2 gy01 = AxisGap(hy01, hy01 + HitBoxSize, by, h), gy2 = AxisGap(hy2, hy2 + HitBoxSize, by, h);
            const double gy[3] = {gy01[0], gy01[1], gy2[0]};
            const V2 xx01 = gx01 * gx01, xx2 = gx2 * gx2;
            const bool nearToo = th.Bullet[k] && t <= 2;
            for (int j = 0; j < 3; ++j) {
                // Past the margin a move is safe from this threat and adds nothing.
                const V2 yy = zero + gy[j] * gy[j];
                const V2 e01 = Max(m - Sqrt(xx01 + yy), zero), e2 = Max(m - Sqrt(xx2 + yy), zero);
                const V2 c01 = e01 * e01 * weight, c2 = e2 * e2 * weight;
                danger01[j] += c01;
                danger2[j] += c2;
                if (nearToo) {
                    near01[j] += c01;
                    near2[j] += c2;
                }
            }
        }
    }
    for (int j = 0; j < 3; ++j) {
        Danger[j * 3] = danger01[j][0];
        Danger[j * 3 + 1] = danger01[j][1];
        Danger[j * 3 + 2] = danger2[j][0];
        NearDanger[j * 3] = near01[j][0];
        NearDanger[j * 3 + 1] = near01[j][1];
        NearDanger[j * 3 + 2] = near2[j][0];
    }
}

}  // namespace kv::app
