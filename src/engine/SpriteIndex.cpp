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
    Always_[Row] = !S->IsImageSpriteEx() || !S->Children().empty() ? kSelf : 0;
}

void TSpriteIndex::Join(TSprite* S) {
    const auto row = static_cast<uint32_t>(Left_.size());
    for (auto* v : {&Left_, &Top_, &Right_, &Bottom_}) v->push_back(0);
    Always_.push_back(0);
    S->Index_ = this;
    S->Row_ = row;
    Moved(S);
}

// Called once the root has let the sprite go, when the rows behind it have already moved down.
void TSpriteIndex::Leave(TSprite* S) {
    const uint32_t row = S->Row_;
    const bool unsure = Always_[row] & kUnsure;
    for (auto* v : {&Left_, &Top_, &Right_, &Bottom_}) v->erase(v->begin() + row);
    Always_.erase(Always_.begin() + row);
    S->Index_ = nullptr;
    const auto& c = Root_->Children();
    for (size_t i = row; i < c.size(); ++i) c[i]->Row_ = static_cast<uint32_t>(i);
    if (row == c.size()) {
        // The last row, as when the tree is cleared from its end.
        if (unsure) Unsure_.erase(std::find(Unsure_.begin(), Unsure_.end(), row));
        return;
    }
    Relist();
}

// Rows keep their order and only move down; an unsure row stays unsure.
void TSpriteIndex::Renumber() {
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
    Relist();
}

void TSpriteIndex::Relist() {
    Unsure_.clear();
    for (uint32_t i = 0; i < Always_.size(); ++i)
        if (Always_[i] & kUnsure) Unsure_.push_back(i);
}

void TSpriteIndex::Moved(TSpritePlace* P) {
    if (P == Root_) {
        RootMoved_ = true;  // the root's place is every sprite's origin
        return;
    }
    uint8_t& a = Always_[P->Row_];
    if (a & kUnsure) return;
    a |= kUnsure;
    Unsure_.push_back(P->Row_);
}

void TSpriteIndex::Reclassify(TSprite* S) { Moved(S); }

void TSpriteIndex::Settle() {
    const auto& c = Root_->Children();
    if (RootMoved_) {
        RootMoved_ = false;
        Unsure_.clear();
        for (size_t i = 0; i < Left_.size(); ++i) Put(static_cast<uint32_t>(i), c[i]);
        return;
    }
    for (uint32_t row : Unsure_) Put(row, c[row]);
    Unsure_.clear();
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
    // Whole blocks from the first block boundary on.
    for (; k < End && k % Block != 0; ++k)
        if (Always_[k] | (rects & (Left_[k] < right) & (left < Right_[k]) & (Top_[k] < bottom) & (top < Bottom_[k])))
            return k;
    for (; k + Block <= End; k += Block) {
        alignas(16) uint8_t hit[Block];
        Test<Block>(&Left_[k], &Top_[k], &Right_[k], &Bottom_[k], &Always_[k], hit, left, top, right, bottom, rects);
        uint64_t words[Block / 8];
        std::memcpy(words, hit, Block);
        for (uint32_t w = 0; w < Block / 8; ++w)
            if (words[w])
                for (uint32_t j = w * 8;; ++j)
                    if (hit[j]) return k + j;
    }
    for (; k < End; ++k)
        if (Always_[k] | (rects & (Left_[k] < right) & (left < Right_[k]) & (Top_[k] < bottom) & (top < Bottom_[k])))
            return k;
    return End;
}

}  // namespace kv
