#pragma once
// Where the sprites hanging from the engine are, for the collision walk: a table of their
// rectangles in tree order. The position and size fields report every write, which marks the
// row as unsure until the next walk begins and takes the rectangle again; an unsure row is
// visited by every walk, like a sprite whose rectangle or hit test is its own. A collider finds
// the sprites its rectangle can meet by one pass over packed numbers instead of a call per sprite.
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
    // A row's rectangle, or whether every walk must visit it, may have changed.
    void Moved(TSpritePlace* P);
    void Reclassify(TSprite* S);
    // Takes the rectangles of the rows marked since.
    void Settle();

    // The first row from First on, before End, that a collider with rectangle R may hit: one
    // whose rectangle meets R (only when Rects), or one that every walk visits (a sprite whose
    // rectangle or hit test may be its own, or one with children).
    uint32_t Next(uint32_t First, uint32_t End, const TRect& R, bool Rects) const;

    static constexpr uint32_t Block = 64;

private:
    void Put(uint32_t Row, TSprite* S);
    void Relist();

    TSprite* Root_;
    std::vector<int32_t> Left_, Top_, Right_, Bottom_;
    // Non-zero for a row every walk visits: kSelf, kUnsure or both.
    std::vector<uint8_t> Always_;
    std::vector<uint32_t> Unsure_;
    bool RootMoved_ = false;
    static constexpr uint8_t kSelf = 1, kUnsure = 2;
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
