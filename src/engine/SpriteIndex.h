#pragma once
// Where the sprites hanging from the engine are, for the collision walk: a uniform grid of the
// playfield whose cells list the small sprites by their top-left corner, a list of the large
// ones and a list of those every walk visits (a sprite whose rectangle or hit test may be its
// own, or one with children). Each sprite carries the number of its joining, which orders the
// engine's children as the tree does, so a walk visits what the grid yields in tree order.
// The position and size fields report every write, which marks the sprite as unsure until the
// next walk begins and takes its rectangle again; a sprite written during a walk is visited.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Geometry.h"

namespace kv {

class TSprite;
class TSpriteIndex;
struct TSpritePlace;

// A number that tells the index when it is written; reads as a plain value.
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

// A sprite's position and size, and its place in the index.
struct TSpritePlace {
    TTracked<double, 0> X;
    TTracked<double, 1> Y;
    TTracked<int32_t, 2> Width;
    TTracked<int32_t, 3> Height;

    TSpriteIndex* Index_ = nullptr;  // set while the sprite hangs from the engine itself
    uint64_t Order_ = 0;             // when it joined; later joins come later in the tree
    int32_t List_ = -1;              // the index's list that holds it, -1 for none yet
    uint32_t Slot_ = 0;              // its place in that list
    uint32_t UnsureSlot_ = 0;        // its place among the unsure, while Unsure_
    bool Unsure_ = false;
};

class TSpriteIndex {
public:
    explicit TSpriteIndex(TSprite* Root);

    // A new child of the root, or one that the root no longer holds.
    void Join(TSprite* S);
    void Leave(TSprite* S);
    // A sprite's rectangle, or whether every walk must visit it, may have changed.
    void Moved(TSpritePlace* P) {
        if (!P->Unsure_) MarkUnsure(P);
    }
    void Reclassify(TSprite* S);
    // Takes the rectangles of the sprites marked since.
    void Settle();

    struct TFound {
        uint64_t Order;
        TSprite* Sprite;
    };
    // The settled sprites joined after After that a collider with rectangle R may hit, in tree
    // order: those whose rectangle meets R (only when Rects), and those every walk visits.
    void Find(uint64_t After, const TRect& R, bool Rects, std::vector<TFound>& Out) const;
    // The first sprite marked unsure since the last Settle that joined after After and before
    // Before, or nullptr.
    TSprite* FirstUnsure(uint64_t After, uint64_t Before) const;
    // The order the next sprite to join will get.
    uint64_t End() const { return NextOrder_; }

    // Cells of CellSize pixels over the playfield; a sprite no wider or taller than that is kept
    // in the cell of its top-left corner (clamped to the grid), others in the list of large ones.
    static constexpr int32_t CellSize = 32, Columns = 12, Rows = 16;

private:
    struct TEntry {
        int32_t Left, Top, Right, Bottom;
        uint64_t Order;
        TSprite* Sprite;
    };
    static constexpr int32_t kLarge = Columns * Rows, kAlways = kLarge + 1;
    void MarkUnsure(TSpritePlace* P);
    void Put(TSprite* S);
    void Drop(TSpritePlace* P);

    TSprite* Root_;
    std::vector<std::vector<TEntry>> Lists_;  // the cells, then the large, then the always
    std::vector<TSpritePlace*> Unsure_;       // nullptr where one has left since
    size_t UnsureLeft_ = 0;
    uint64_t NextOrder_ = 1;
    bool RootMoved_ = false;
};

template <class T, int Field>
TTracked<T, Field>& TTracked<T, Field>::Set(T V) {
    V_ = V;
    constexpr size_t offset = Field == 0   ? offsetof(TSpritePlace, X)
                              : Field == 1 ? offsetof(TSpritePlace, Y)
                              : Field == 2 ? offsetof(TSpritePlace, Width)
                                           : offsetof(TSpritePlace, Height);
    auto* p = reinterpret_cast<TSpritePlace*>(reinterpret_cast<char*>(this) - offset);
    if (p->Index_) p->Index_->Moved(p);
    return *this;
}

}  // namespace kv
