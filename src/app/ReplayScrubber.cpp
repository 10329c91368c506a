#include "app/ReplayScrubber.h"

#include <algorithm>

#include "i18n/Tr.h"

namespace kv::app {

TReplayScrubber::TReplayScrubber(int64_t End, int64_t Every, size_t MaxBytes)
    : End_(End), Every_(std::max<int64_t>(1, Every)), MaxBytes_(MaxBytes) {}

void TReplayScrubber::SetSpeed(ESpeed S) {
    Speed_ = S;
    Quarters_ = 0;
}

void TReplayScrubber::Faster() {
    if (Speed_ + 1 < SpeedCount) SetSpeed(static_cast<ESpeed>(Speed_ + 1));
}

void TReplayScrubber::Slower() {
    if (Speed_ > Quarter) SetSpeed(static_cast<ESpeed>(Speed_ - 1));
}

int32_t TReplayScrubber::FramesThisTurn() {
    if (Speed_ == Max) return -1;
    static constexpr int32_t quarters[] = {1, 2, 4, 8, 16};
    Quarters_ += quarters[Speed_];
    const int32_t frames = Quarters_ / 4;
    Quarters_ %= 4;
    return frames;
}

bool TReplayScrubber::Wants(int64_t Frame) const {
    if (Frame % Every_ != 0) return false;
    return Kept_.empty() || Kept_.back().Frame < Frame;
}

void TReplayScrubber::Keep(std::unique_ptr<TGameSnapshot> Snapshot) {
    const int64_t frame = Snapshot->Frame();
    Keep(frame, std::move(Snapshot), TRewind());
}

void TReplayScrubber::Keep(int64_t Frame, std::unique_ptr<TGameSnapshot> Snapshot, TRewind History) {
    const int64_t frame = Frame;
    Bytes_ += Snapshot->Bytes() + History.Bytes();
    auto at = std::lower_bound(Kept_.begin(), Kept_.end(), frame, [](const TKept& K, int64_t F) { return K.Frame < F; });
    if (at != Kept_.end() && at->Frame == frame) {
        Bytes_ -= at->Snapshot->Bytes() + at->History.Bytes();
        at->Snapshot = std::move(Snapshot);
        at->History = std::move(History);
    } else {
        Kept_.insert(at, TKept{frame, std::move(Snapshot), std::move(History)});
    }
    // Over the limit, every other one goes and they are kept twice as far apart from now on:
    // the jumps get longer, evenly, wherever they land.
    while (Bytes_ > MaxBytes_ && Kept_.size() > 1) {
        Every_ *= 2;
        std::vector<TKept> kept;
        Bytes_ = 0;
        for (TKept& k : Kept_)
            if (k.Frame % Every_ == 0 || &k == &Kept_.front()) {
                Bytes_ += k.Snapshot->Bytes() + k.History.Bytes();
                kept.push_back(std::move(k));
            }
        Kept_ = std::move(kept);
    }
}

const TReplayScrubber::TKept* TReplayScrubber::StartFor(int64_t Current, int64_t Target) const {
    auto after = std::upper_bound(Kept_.begin(), Kept_.end(), Target, [](int64_t F, const TKept& K) { return F < K.Frame; });
    if (after == Kept_.begin()) return nullptr;
    const TKept& k = *(after - 1);
    // Forward from where the game is, a snapshot not beyond it saves nothing.
    if (Current <= Target && k.Frame <= Current) return nullptr;
    return &k;
}

void TReplayScrubber::Mark(int64_t Frame, bool Stage) {
    auto at = std::lower_bound(Marks_.begin(), Marks_.end(), Frame, [](const TMark& M, int64_t F) { return M.Frame < F; });
    if (at != Marks_.end() && at->Frame == Frame && at->Stage == Stage) return;
    Marks_.insert(at, TMark{Frame, Stage});
}

int64_t TReplayScrubber::Target(int64_t Current, EJump Jump) const {
    switch (Jump) {
        case Back5s:
            return std::max<int64_t>(0, Current - FramesPer5s);
        case Forward5s:
            return std::min(End_, Current + FramesPer5s);
        case PreviousMark: {
            int64_t to = 0;
            for (const TMark& m : Marks_)
                if (m.Frame < Current - MarkGrace) to = m.Frame;
            return to;
        }
        case NextMark:
            for (const TMark& m : Marks_)
                if (m.Frame > Current) return m.Frame;
            return -1;
    }
    return Current;
}

std::string SpeedLabel(TReplayScrubber::ESpeed Speed) {
    switch (Speed) {
        case TReplayScrubber::Quarter: return "¼×";
        case TReplayScrubber::Half: return "½×";
        case TReplayScrubber::Normal: return "1×";
        case TReplayScrubber::Double: return "2×";
        case TReplayScrubber::Quadruple: return "4×";
        default: return i18n::Tr("最速");
    }
}

}  // namespace kv::app
