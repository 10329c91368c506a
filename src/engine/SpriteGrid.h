#pragma once
// Where the sprites hanging from the engine are, for the collision walk: a uniform grid of the
// view holding each small image sprite's rectangle, kept up to date by the position and size
// fields themselves, which report every write.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/Geometry.h"

namespace kv {

class TSprite;
class TSpriteGrid;
struct TSpritePlace;

// A number that tells the grid when it is written; reads as a plain value.
template <class T, int Field>
class TTracked {
public:
    TTracked() = default;
    TTracked(const TTracked&) = delete;  // a copy would report writes for a sprite it is not in
    TTracked& operator=(const TTracked& O) { return Set(O.V_); }
    TTracked& operator=(T V) { return Set(V); }
    operator T() const { return V_; }
    template <class U>
    TTracked& operator+=(U V) { return Set(static_cast<T>(V_ + V)); }
    template <class U>
    TTracked& operator-=(U V) { return Set(static_cast<T>(V_ - V)); }
    template <class U>
    TTracked& operator*=(U V) { return Set(static_cast<T>(V_ * V)); }
    template <class U>
    TTracked& operator/=(U V) { return Set(static_cast<T>(V_ / V)); }

private:
    TTracked& Set(T V);
    T V_{};
};

// A sprite's position and size, and its place in the grid.
struct TSpritePlace {
    TTracked<double, 0> X;
    TTracked<double, 1> Y;
    TTracked<int32_t, 2> Width;
    TTracked<int32_t, 3> Height;

    TSpriteGrid* Grid_ = nullptr;  // set while the sprite hangs from an engine
    bool Queued_ = false;          // written since the grid last looked
    uint32_t QueueSlot_ = 0;
    uint64_t Seq_ = 0;             // creation order among the engine's sprites: their tree order
    int32_t Cell_ = -1;            // the cell holding it (the last one: visited by every walk)
    uint32_t Slot_ = 0;
};

class TSpriteGrid {
public:
    struct TEntry {
        TRect R;
        uint64_t Seq;
        TSprite* S;
    };
    using TCandidate = std::pair<uint64_t, TSprite*>;

    explicit TSpriteGrid(TSprite* Root);

    // A new sprite under the root, or one that leaves (is freed).
    void Join(TSpritePlace* P);
    void Leave(TSpritePlace* P);
    // The root's size or position changed: every rectangle is taken again.
    void SetView(const TRect& View);
    void Queue(TSpritePlace* P);
    void Flush();
    bool Backlog() const { return Queue_.size() > 2 * Held_ + 256; }

    // Changes to sprites created up to Watch (and to the root) are counted while a walk runs.
    void Watch(uint64_t Last) { WatchLast_ = Last; }
    uint64_t Changes() const { return Changes_; }
    uint64_t NextSeq() { return ++Seq_; }

    // The root's sprites created after After and up to Last that a collider with rectangle R
    // could hit, in tree order: those of the cells whose rectangles meet R (only when Cells),
    // and every sprite the grid does not hold by its rectangle.
    void Collect(const TRect& R, bool Cells, uint64_t After, uint64_t Last, std::vector<TCandidate>& Out) const;

    // Largest width and height a sprite held in a cell may have; larger ones are always visited.
    static constexpr int32_t SizeCap = 48;
    static constexpr int CellShift = 4;

private:
    void Place(TSprite* S);
    void Take(TSpritePlace* P);
    int32_t CellOf(int32_t X, int32_t Y) const;

    TSprite* Root_;
    TRect View_;
    int32_t Cols_ = 1, Rows_ = 1;
    int32_t MaxW_ = 0, MaxH_ = 0;   // largest sprite held in a cell since the last rebuild
    std::vector<std::vector<TEntry>> Cells_;  // Cols_ * Rows_ cells, then the always-visited list
    std::vector<TSpritePlace*> Queue_;
    size_t Held_ = 0;
    bool Rebuild_ = true;
    uint64_t Seq_ = 0;
    uint64_t WatchLast_ = 0;
    uint64_t Changes_ = 0;
};

template <class T, int Field>
TTracked<T, Field>& TTracked<T, Field>::Set(T V) {
    V_ = V;
    constexpr size_t offset = Field == 0   ? offsetof(TSpritePlace, X)
                              : Field == 1 ? offsetof(TSpritePlace, Y)
                              : Field == 2 ? offsetof(TSpritePlace, Width)
                                           : offsetof(TSpritePlace, Height);
    auto* p = reinterpret_cast<TSpritePlace*>(reinterpret_cast<char*>(this) - offset);
    if (p->Grid_ && !p->Queued_) p->Grid_->Queue(p);
    return *this;
}

}  // namespace kv
