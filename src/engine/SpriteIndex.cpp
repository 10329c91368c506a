#include "engine/SpriteIndex.h"

#include <algorithm>
#include <cstring>

#include "engine/Sprite.h"

namespace kv {

void TSpriteIndex::Put(uint32_t Row, TSprite* S) {
    const TRect r = S->OwnRect();
    Left_[Row] = r.Left;
    Top_[Row] = r.Top;
    Right_[Row] = r.Right;
    Bottom_[Row] = r.Bottom;
    Always_[Row] = !S->IsImageSpriteEx() || !S->Children().empty();
    Grow(Row);
}

void TSpriteIndex::Grow(uint32_t Row) {
    TRect& box = Boxes_[Row / Block];
    box.Left = std::min(box.Left, Left_[Row]);
    box.Top = std::min(box.Top, Top_[Row]);
    box.Right = std::max(box.Right, Right_[Row]);
    box.Bottom = std::max(box.Bottom, Bottom_[Row]);
    BlockAlways_[Row / Block] |= Always_[Row];
}

void TSpriteIndex::Refresh() {
    const size_t n = Left_.size();
    const size_t blocks = (n + Block - 1) / Block;
    Boxes_.assign(blocks, TRect{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN});
    BlockAlways_.assign(blocks, 0);
    for (size_t b = 0; b < blocks; ++b) {
        const size_t end = std::min(n, (b + 1) * Block);
        int32_t l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, bo = INT32_MIN;
        uint8_t a = 0;
        for (size_t k = b * Block; k < end; ++k) {
            l = std::min(l, Left_[k]);
            t = std::min(t, Top_[k]);
            r = std::max(r, Right_[k]);
            bo = std::max(bo, Bottom_[k]);
            a |= Always_[k];
        }
        Boxes_[b] = {l, t, r, bo};
        BlockAlways_[b] = a;
    }
}

void TSpriteIndex::Join(TSprite* S) {
    const auto row = static_cast<uint32_t>(Left_.size());
    for (auto* v : {&Left_, &Top_, &Right_, &Bottom_}) v->push_back(0);
    Always_.push_back(1);
    if (row % Block == 0) {
        Boxes_.push_back({INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN});
        BlockAlways_.push_back(0);
    }
    S->Index_ = this;
    S->Row_ = row;
    Put(row, S);
}

void TSpriteIndex::Leave(TSprite* S) {
    const uint32_t row = S->Row_;
    for (auto* v : {&Left_, &Top_, &Right_, &Bottom_}) v->erase(v->begin() + row);
    Always_.erase(Always_.begin() + row);
    S->Index_ = nullptr;
    const auto& c = Root_->Children();
    for (size_t i = row; i < c.size(); ++i) c[i]->Row_ = static_cast<uint32_t>(i);
    // Each later block takes the first row of the next one.
    for (size_t b = row / Block; b + 1 < Boxes_.size(); ++b) {
        const TRect& next = Boxes_[b + 1];
        TRect& box = Boxes_[b];
        box = {std::min(box.Left, next.Left), std::min(box.Top, next.Top), std::max(box.Right, next.Right),
               std::max(box.Bottom, next.Bottom)};
        BlockAlways_[b] |= BlockAlways_[b + 1];
    }
    Boxes_.resize((c.size() + Block - 1) / Block);
    BlockAlways_.resize(Boxes_.size());
}

void TSpriteIndex::Renumber() {
    // Rows keep their order and only move down.
    const auto& c = Root_->Children();
    for (size_t i = 0; i < c.size(); ++i) {
        const uint32_t old = c[i]->Row_;
        Left_[i] = Left_[old];
        Top_[i] = Top_[old];
        Right_[i] = Right_[old];
        Bottom_[i] = Bottom_[old];
        Always_[i] = Always_[old];
        c[i]->Row_ = static_cast<uint32_t>(i);
    }
    for (auto* v : {&Left_, &Top_, &Right_, &Bottom_}) v->resize(c.size());
    Always_.resize(c.size());
    Refresh();
}

void TSpriteIndex::Moved(TSpritePlace* P) {
    if (P == Root_) {
        // The root's place is every sprite's origin.
        const auto& c = Root_->Children();
        for (size_t i = 0; i < c.size(); ++i) Put(static_cast<uint32_t>(i), c[i]);
        return;
    }
    auto* s = static_cast<TSprite*>(P);
    Put(s->Row_, s);
}

void TSpriteIndex::Reclassify(TSprite* S) {
    if (S != Root_) Put(S->Row_, S);
}

namespace {

// Whether rows [First, First + N) may be hit, one byte each. Plain loads and compares on locals,
// which the compiler turns into vector instructions.
template <uint32_t N>
void Test(const int32_t* __restrict L, const int32_t* __restrict T, const int32_t* __restrict R,
          const int32_t* __restrict B, const uint8_t* __restrict A, uint8_t* __restrict Hit, int32_t Left,
          int32_t Top, int32_t Right, int32_t Bottom, uint8_t Rects) {
    for (uint32_t j = 0; j < N; ++j)
        Hit[j] = A[j] | (Rects & (L[j] < Right) & (Left < R[j]) & (T[j] < Bottom) & (Top < B[j]));
}

}  // namespace

uint32_t TSpriteIndex::Next(uint32_t First, uint32_t End, const TRect& R, bool Rects) const {
    const int32_t left = R.Left, top = R.Top, right = R.Right, bottom = R.Bottom;
    const uint8_t rects = Rects;
    uint32_t k = First;
    while (k < End) {
        // Whole blocks whose box misses R.
        const uint32_t b = k / Block;
        if (!BlockAlways_[b]) {
            const TRect& box = Boxes_[b];
            if (!rects || !(box.Left < right && left < box.Right && box.Top < bottom && top < box.Bottom)) {
                k = (b + 1) * Block;
                continue;
            }
        }
        if (k % Block != 0 || k + Block > End) break;
        alignas(16) uint8_t hit[Block];
        Test<Block>(&Left_[k], &Top_[k], &Right_[k], &Bottom_[k], &Always_[k], hit, left, top, right, bottom, rects);
        uint64_t words[Block / 8];
        std::memcpy(words, hit, Block);
        for (uint32_t w = 0; w < Block / 8; ++w)
            if (words[w])
                for (uint32_t j = w * 8;; ++j)
                    if (hit[j]) return k + j;
        k += Block;
    }
    // The rest of a block begun in the middle, or the last one.
    for (; k < End; ++k) {
        if (Always_[k] | (rects & (Left_[k] < right) & (left < Right_[k]) & (Top_[k] < bottom) & (top < Bottom_[k])))
            return k;
        if ((k + 1) % Block == 0) return Next(k + 1, End, R, Rects);
    }
    return End;
}

}  // namespace kv
