#pragma once
// What the player does to a replay being watched, without the window: the speed, the pause,
// where a jump lands, and the snapshots of the game kept on the way, thinned out when they
// would hold more memory than allowed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Rewind.h"
#include "snapshot/GameSnapshot.h"

namespace kv::app {

class TReplayScrubber {
public:
    // The speeds, slowest first; Max runs as many frames as the machine can between two shown.
    enum ESpeed { Quarter, Half, Normal, Double, Quadruple, Max, SpeedCount };
    enum EJump { Back5s, Forward5s, PreviousMark, NextMark };
    struct TMark {
        int64_t Frame;
        bool Stage;  // a stage begins; else a boss phase
    };
    struct TKept {
        int64_t Frame;
        std::unique_ptr<TGameSnapshot> Snapshot;
        // A practice game's rewind history as it was then, for a replay that goes back later.
        TRewind History;
    };

    // End: the replay's last frame. Every: frames between two snapshots at first; MaxBytes: the
    // memory all snapshots may hold together.
    explicit TReplayScrubber(int64_t End, int64_t Every = 120, size_t MaxBytes = size_t{64} << 20);

    ESpeed Speed() const { return Speed_; }
    void SetSpeed(ESpeed S);
    void Faster();
    void Slower();
    // Frames to run on this turn of the loop at the speed (-1 for Max: as many as time allows);
    // a quarter speed runs one frame every fourth turn.
    int32_t FramesThisTurn();

    // Whether the game at the end of Frame should be kept, and keeping it.
    bool Wants(int64_t Frame) const;
    void Keep(std::unique_ptr<TGameSnapshot> Snapshot);
    // Kept at the replay's Frame, which a game gone back no longer shows; its history is counted
    // whole, the snapshots it shares with others' as well.
    void Keep(int64_t Frame, std::unique_ptr<TGameSnapshot> Snapshot, TRewind History);
    // The snapshot to restore for a jump from Current to Target: the latest at or before Target,
    // or nullptr when playing on from Current gets there sooner.
    const TKept* StartFor(int64_t Current, int64_t Target) const;
    size_t Bytes() const { return Bytes_; }
    int64_t Every() const { return Every_; }
    const std::vector<TKept>& Kept() const { return Kept_; }

    // A stage or boss phase reached at Frame (seen again after a jump back, it is kept once).
    void Mark(int64_t Frame, bool Stage);
    const std::vector<TMark>& Marks() const { return Marks_; }
    // The frame a jump from Current goes to; for NextMark beyond the marks reached so far, -1
    // (play on until the next one is reached).
    int64_t Target(int64_t Current, EJump Jump) const;
    int64_t End() const { return End_; }

    static constexpr int64_t FramesPer5s = 300;
    // A jump to the previous mark made within this of it goes to the one before.
    static constexpr int64_t MarkGrace = 60;

private:
    int64_t End_;
    int64_t Every_;
    size_t MaxBytes_;
    size_t Bytes_ = 0;
    std::vector<TKept> Kept_;  // by frame
    std::vector<TMark> Marks_;  // by frame
    ESpeed Speed_ = Normal;
    int32_t Quarters_ = 0;
};

// The speed as the bar shows it ("¼×", …, "最速").
std::string SpeedLabel(TReplayScrubber::ESpeed Speed);

}  // namespace kv::app
