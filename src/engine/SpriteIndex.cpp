#include "engine/SpriteIndex.h"

#include <algorithm>

#include "engine/Sprite.h"

namespace kv {

namespace {

// The cell of a coordinate, clamped to the grid; monotonic, so a range of coordinates maps to
// a range of cells that holds every cell of a coordinate inside it.
int32_t CellOf(int64_t V, int32_t Count) {
    const int64_t c = (V >= 0 ? V : V - (TSpriteIndex::CellSize - 1)) / TSpriteIndex::CellSize;
    return static_cast<int32_t>(std::clamp<int64_t>(c, 0, Count - 1));
}

}  // namespace

TSpriteIndex::TSpriteIndex(TSprite* Root) : Root_(Root), Lists_(kAlways + 1) {}

void TSpriteIndex::Join(TSprite* S) {
    S->Index_ = this;
    S->Order_ = NextOrder_++;
    S->List_ = -1;
    MarkUnsure(S);
}

void TSpriteIndex::Leave(TSprite* S) {
    Drop(S);
    if (S->Unsure_) {
        Unsure_[S->UnsureSlot_] = nullptr;
        S->Unsure_ = false;
        // Sprites that come and go between walks leave holes; they are closed once they are many.
        if (++UnsureLeft_ > 256 && UnsureLeft_ * 2 > Unsure_.size()) {
            std::erase(Unsure_, nullptr);
            for (size_t i = 0; i < Unsure_.size(); ++i) Unsure_[i]->UnsureSlot_ = static_cast<uint32_t>(i);
            UnsureLeft_ = 0;
        }
    }
    S->Index_ = nullptr;
}

void TSpriteIndex::Reclassify(TSprite* S) { Moved(S); }

void TSpriteIndex::MarkUnsure(TSpritePlace* P) {
    if (P == Root_) {
        RootMoved_ = true;  // the root's place is every sprite's origin
        return;
    }
    P->Unsure_ = true;
    P->UnsureSlot_ = static_cast<uint32_t>(Unsure_.size());
    Unsure_.push_back(P);
}

void TSpriteIndex::Drop(TSpritePlace* P) {
    if (P->List_ < 0) return;
    auto& list = Lists_[P->List_];
    if (P->Slot_ + 1 != list.size()) {
        list[P->Slot_] = list.back();
        list[P->Slot_].Sprite->Slot_ = P->Slot_;
    }
    list.pop_back();
    P->List_ = -1;
}

void TSpriteIndex::Put(TSprite* S) {
    const TRect r = S->OwnRect();
    int32_t to;
    if (!S->IsImageSpriteEx() || !S->Children().empty())
        to = kAlways;
    else if (S->Width <= CellSize && S->Height <= CellSize)
        to = CellOf(r.Top, Rows) * Columns + CellOf(r.Left, Columns);
    else
        to = kLarge;
    if (S->List_ != to) {
        Drop(S);
        S->List_ = to;
        S->Slot_ = static_cast<uint32_t>(Lists_[to].size());
        Lists_[to].push_back({r.Left, r.Top, r.Right, r.Bottom, S->Order_, S});
    } else {
        TEntry& e = Lists_[to][S->Slot_];
        e.Left = r.Left;
        e.Top = r.Top;
        e.Right = r.Right;
        e.Bottom = r.Bottom;
    }
}

void TSpriteIndex::Settle() {
    if (RootMoved_) {
        RootMoved_ = false;
        for (TSprite* c : Root_->Children()) Put(c);
    } else {
        for (TSpritePlace* p : Unsure_)
            if (p) Put(static_cast<TSprite*>(p));
    }
    for (TSpritePlace* p : Unsure_)
        if (p) p->Unsure_ = false;
    Unsure_.clear();
    UnsureLeft_ = 0;
}

void TSpriteIndex::Find(uint64_t After, const TRect& R, bool Rects, std::vector<TFound>& Out) const {
    Out.clear();
    for (const TEntry& e : Lists_[kAlways])
        if (e.Order > After) Out.push_back({e.Order, e.Sprite});
    if (Rects) {
        const int32_t left = R.Left, top = R.Top, right = R.Right, bottom = R.Bottom;
        auto take = [&](const std::vector<TEntry>& List) {
            for (const TEntry& e : List)
                if (e.Left < right && left < e.Right && e.Top < bottom && top < e.Bottom && e.Order > After)
                    Out.push_back({e.Order, e.Sprite});
        };
        take(Lists_[kLarge]);
        // A small sprite that meets R has its left edge in (R.Left - CellSize, R.Right), and
        // likewise its top.
        const int32_t c0 = CellOf(int64_t{left} - CellSize + 1, Columns), c1 = CellOf(int64_t{right} - 1, Columns);
        const int32_t r0 = CellOf(int64_t{top} - CellSize + 1, Rows), r1 = CellOf(int64_t{bottom} - 1, Rows);
        for (int32_t row = r0; row <= r1; ++row)
            for (int32_t col = c0; col <= c1; ++col) take(Lists_[row * Columns + col]);
    }
    std::sort(Out.begin(), Out.end(), [](const TFound& A, const TFound& B) { return A.Order < B.Order; });
}

TSprite* TSpriteIndex::FirstUnsure(uint64_t After, uint64_t Before) const {
    TSpritePlace* first = nullptr;
    for (TSpritePlace* p : Unsure_)
        if (p && p->Order_ > After && p->Order_ < Before) {
            Before = p->Order_;
            first = p;
        }
    return static_cast<TSprite*>(first);
}

}  // namespace kv
