#pragma once
// Where the sprites hanging from the engine are, for the collision walk: a table of their
// rectangles in tree order, kept current by the position and size fields themselves, which
// report every write. A collider finds the sprites its rectangle meets by one pass over packed
// numbers instead of a call per sprite.
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

// A sprite's position and size, and its row in the index.
struct TSpritePlace {
    TTracked<double, 0> X;
    TTracked<double, 1> Y;
    TTracked<int32_t, 2> Width;
    TTracked<int32_t, 3> Height;

    TSpriteIndex* Index_ = nullptr;  // set while the sprite hangs from the engine itself
    uint32_t Row_ = 0;               // its place among the engine's children
};

class TSpriteIndex {
public:
    explicit TSpriteIndex(TSprite* Root) : Root_(Root) {}

    // A new child of the root (its last row), or one that the root no longer holds.
    void Join(TSprite* S);
    void Leave(TSprite* S);
    // After a purge took rows out of the root's children.
    void Renumber();
    // Shrinks each block's box to its rows again (a box only grows as its sprites move).
    void Refresh();
    // A row's rectangle, or whether every walk must visit it, may have changed.
    void Moved(TSpritePlace* P);
    void Reclassify(TSprite* S);

    // The first row from First on, before End, that a collider with rectangle R may hit: one
    // whose rectangle meets R (only when Rects), or one that every walk visits (a sprite whose
    // rectangle or hit test may be its own, or one with children).
    uint32_t Next(uint32_t First, uint32_t End, const TRect& R, bool Rects) const;

    static constexpr uint32_t Block = 64;

private:
    void Put(uint32_t Row, TSprite* S);
    void Grow(uint32_t Row);

    TSprite* Root_;
    std::vector<int32_t> Left_, Top_, Right_, Bottom_;
    std::vector<uint8_t> Always_;
    // For each block of rows: a box holding every rectangle in it, and whether any row of it is
    // always visited. A block whose box misses the collider's rectangle is passed over whole.
    std::vector<TRect> Boxes_;
    std::vector<uint8_t> BlockAlways_;
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
