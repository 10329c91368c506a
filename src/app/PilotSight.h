#pragma once
// What the autopilot sees of the playfield each frame: the threats near its ship with their
// velocities, the bullets crowding it, what to aim at, and how dangerous each of its nine moves
// is over the next frames.
#include <cstdint>
#include <typeinfo>
#include <vector>

#include "engine/Sprite.h"

namespace kv::app {

class TPilotSight {
public:
    static constexpr double ShipSpeed = 5;
    static constexpr double BulletMargin = 10;  // pixels of clearance wanted around the hit box
    static constexpr int Lookahead = 10;  // frames a candidate move is followed ahead
    // The hit box rides HitBoxOffset pixels right of the ship's corner.
    static constexpr double HitBoxOffset = 21, HitBoxSize = 8;

    struct TShip {
        double X, Y;  // the ship's corner
        double Width;
        double MaxX, MaxY;  // the farthest it can go
    };
    // Looks at the engine's sprites on frame Frame, with the ship at Ship. Velocities are per
    // frame, known when the last look was at most MaxSince frames before.
    static constexpr int64_t MaxSince = 2;
    void Look(const TSpriteEngine& Engine, int64_t Frame, const TShip& Ship);
    // Each of the nine moves ((dy + 1) * 3 + dx + 1, with dx and dy -1, 0 or 1) held over the
    // lookahead, the nearest frames weighing most: Danger over every threat, NearDanger over the
    // bullets of the first two frames.
    void Weigh(double (&Danger)[9], double (&NearDanger)[9]);
    // Between games: the room a bullet storm took is given back.
    void Forget();

    int Crowd() const { return Crowd_; }  // bullets near the hit box now
    const TSprite* Boss() const { return Boss_; }
    const TSprite* Nearest() const { return Nearest_; }  // the nearest other enemy worth a shot

private:
    // What the pilot makes of a class; the same for every sprite of it.
    struct TKind {
        const std::type_info* Type;
        bool Bullet, Enemy, Laser, Boss, Shootable;
        bool Looked;  // a bullet, enemy or laser
        double Margin;  // the clearance wanted around the hit box
    };
    // What can hurt, a column a field with room for one more, so that they are weighed two at
    // a time.
    struct TThreats {
        std::vector<double> X, Y, W, H;  // now
        std::vector<double> VX, VY;      // per frame
        std::vector<double> Margin;
        std::vector<uint8_t> Bullet;
        size_t Count = 0;
        void Add(double AX, double AY, double AW, double AH, double AVX, double AVY, double AMargin, bool ABullet);
    };
    // Where a sprite near the ship was, by the order it joined the engine in.
    struct TSeen {
        uint64_t Order;
        double X, Y;
    };

    const TKind& KindOf(const TSprite* S);
    size_t KindSlot(const std::type_info* Type) const;

    std::vector<TKind> Kinds_;
    std::vector<int32_t> KindTable_ = std::vector<int32_t>(64, -1);  // into Kinds_, -1 free
    // The sprites near the ship on the last look (SeenFrame_) and on this one, in the engine's
    // order, which is the order they joined in.
    std::vector<TSeen> Seen_, NextSeen_;
    int64_t SeenFrame_ = -1;
    TThreats Threats_;
    std::vector<uint32_t> Close_;  // the threats near the hit box's span on one frame
    TShip Ship_{};
    int Crowd_ = 0;
    const TSprite* Boss_ = nullptr;
    const TSprite* Nearest_ = nullptr;
};

}  // namespace kv::app
