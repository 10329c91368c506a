#include "engine/SpriteGrid.h"

#include <algorithm>

#include "engine/Sprite.h"

namespace kv {

TSpriteGrid::TSpriteGrid(TSprite* Root) : Root_(Root), Cells_(2) {}

void TSpriteGrid::Join(TSpritePlace* P) {
    P->Grid_ = this;
    P->Seq_ = NextSeq();
    Queue(P);
}

void TSpriteGrid::Leave(TSpritePlace* P) {
    if (P->Queued_) {
        Queue_[P->QueueSlot_] = nullptr;
        if (P->QueueSlot_ + 1 == Queue_.size()) Queue_.pop_back();
        P->Queued_ = false;
    }
    Take(P);
    P->Grid_ = nullptr;
}

void TSpriteGrid::SetView(const TRect& View) {
    View_ = View;
    Cols_ = std::max(1, (View.Width() + (1 << CellShift) - 1) >> CellShift);
    Rows_ = std::max(1, (View.Height() + (1 << CellShift) - 1) >> CellShift);
    Rebuild_ = true;
    ++Changes_;
}

void TSpriteGrid::Queue(TSpritePlace* P) {
    if (P == Root_) {
        Rebuild_ = true;
        ++Changes_;
        return;
    }
    P->Queued_ = true;
    P->QueueSlot_ = static_cast<uint32_t>(Queue_.size());
    Queue_.push_back(P);
    if (P->Seq_ <= WatchLast_) ++Changes_;
}

int32_t TSpriteGrid::CellOf(int32_t X, int32_t Y) const {
    // Cells outside the view are folded onto its edge cells, which keeps the test conservative.
    const int64_t cx = std::clamp<int64_t>((int64_t{X} - View_.Left) >> CellShift, 0, Cols_ - 1);
    const int64_t cy = std::clamp<int64_t>((int64_t{Y} - View_.Top) >> CellShift, 0, Rows_ - 1);
    return static_cast<int32_t>(cy * Cols_ + cx);
}

void TSpriteGrid::Take(TSpritePlace* P) {
    if (P->Cell_ < 0) return;
    auto& cell = Cells_[P->Cell_];
    const uint32_t slot = P->Slot_;
    if (slot + 1 != cell.size()) {
        cell[slot] = cell.back();
        cell[slot].S->Slot_ = slot;
    }
    cell.pop_back();
    P->Cell_ = -1;
    --Held_;
}

// A small image sprite without children is held by its rectangle in the cell of its top-left
// corner; any other sprite (whose rectangle or hit test may be its own) in the always-visited list.
void TSpriteGrid::Place(TSprite* S) {
    const int32_t always = Cols_ * Rows_;
    const TRect r = S->OwnRect();
    const int32_t w = S->Width, h = S->Height;
    const bool small = S->IsImageSpriteEx() && S->Children().empty() && w > 0 && h > 0 && w <= SizeCap && h <= SizeCap;
    const int32_t cell = small ? CellOf(r.Left, r.Top) : always;
    if (S->Cell_ == cell) {
        Cells_[cell][S->Slot_].R = r;
    } else {
        Take(S);
        S->Cell_ = cell;
        S->Slot_ = static_cast<uint32_t>(Cells_[cell].size());
        Cells_[cell].push_back({r, S->Seq_, S});
        ++Held_;
    }
    if (small) {
        MaxW_ = std::max(MaxW_, w);
        MaxH_ = std::max(MaxH_, h);
    }
}

void TSpriteGrid::Flush() {
    if (Rebuild_) {
        Rebuild_ = false;
        for (TSpritePlace* p : Queue_)
            if (p) p->Queued_ = false;
        Queue_.clear();
        for (TSprite* s : Root_->Children()) s->Cell_ = -1;
        Cells_.assign(static_cast<size_t>(Cols_) * Rows_ + 1, {});
        Held_ = 0;
        MaxW_ = MaxH_ = 0;
        for (TSprite* s : Root_->Children()) Place(s);
        return;
    }
    for (TSpritePlace* p : Queue_) {
        if (!p) continue;
        p->Queued_ = false;
        Place(static_cast<TSprite*>(p));
    }
    Queue_.clear();
}

void TSpriteGrid::Collect(const TRect& R, bool Cells, uint64_t After, uint64_t Last,
                          std::vector<TCandidate>& Out) const {
    Out.clear();
    for (const TEntry& e : Cells_[static_cast<size_t>(Cols_) * Rows_])
        if (e.Seq > After && e.Seq <= Last) Out.emplace_back(e.Seq, e.S);
    if (Cells && MaxW_ > 0) {
        // A held sprite meets R only if its corner lies within R grown up and left by its size.
        const int32_t first = CellOf(static_cast<int32_t>(std::max<int64_t>(int64_t{R.Left} - MaxW_ + 1, INT32_MIN)),
                                     static_cast<int32_t>(std::max<int64_t>(int64_t{R.Top} - MaxH_ + 1, INT32_MIN)));
        const int32_t last = CellOf(static_cast<int32_t>(std::max<int64_t>(int64_t{R.Right} - 1, INT32_MIN)),
                                    static_cast<int32_t>(std::max<int64_t>(int64_t{R.Bottom} - 1, INT32_MIN)));
        const int32_t x0 = first % Cols_, y0 = first / Cols_, x1 = last % Cols_, y1 = last / Cols_;
        for (int32_t y = y0; y <= y1; ++y)
            for (int32_t x = x0; x <= x1; ++x)
                for (const TEntry& e : Cells_[static_cast<size_t>(y) * Cols_ + x])
                    if (e.Seq > After && e.Seq <= Last && OverlapRect(e.R, R)) Out.emplace_back(e.Seq, e.S);
    }
    std::sort(Out.begin(), Out.end(), [](const TCandidate& A, const TCandidate& B) { return A.first < B.first; });
}

}  // namespace kv
