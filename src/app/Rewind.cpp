#include "app/Rewind.h"

#include <algorithm>
#include <utility>

#include "shell/Form1.h"

namespace kv::app {

bool TRewind::Allowed(const TForm1& F) { return F.Practice && F.Playing && F.HudOn && !F.NameEntry; }

bool TRewind::CanRewind(const TForm1& F) const {
    return Enabled && Allowed(F) && !Kept_.empty() && F.GameNo == GameNo_ && F.Log.Frame >= Kept_.front().Frame;
}

void TRewind::Clear() {
    Kept_.clear();
    Read_.clear();
    Bytes_ = 0;
    GameNo_ = -1;
    HoldFrom_ = -1;
}

void TRewind::DropFront() {
    Bytes_ -= Kept_.front().Before->Bytes();
    Kept_.pop_front();
    const int64_t from = Kept_.empty() ? ReadFrom_ + static_cast<int64_t>(Read_.size()) : Kept_.front().Frame;
    while (ReadFrom_ < from && !Read_.empty()) {
        Read_.pop_front();
        ++ReadFrom_;
    }
}

void TRewind::Settle(TForm1& F) {
    if (HoldFrom_ < 0) return;
    F.Log.Write("rewind", {{"from", HoldFrom_}, {"to", F.Log.Frame}});
    HoldFrom_ = -1;
}

void TRewind::BeforeFrame(TForm1& F, int64_t ActionsDone) {
    Settle(F);
    if (!Enabled || !Allowed(F)) {
        if (!Kept_.empty()) Clear();
        return;
    }
    const int64_t next = F.Log.Frame + 1;
    // Anything else that moved the game (a new game, a jump in a replay) starts a new history.
    if (!Kept_.empty() && (F.GameNo != GameNo_ || next != ReadFrom_ + static_cast<int64_t>(Read_.size()))) Clear();
    const bool acted = ActionsDone != ActionsSeen_;
    ActionsSeen_ = ActionsDone;
    if (Kept_.empty()) {
        GameNo_ = F.GameNo;
        ReadFrom_ = next;
        Read_.clear();
    }
    if (!Kept_.empty() && Kept_.back().Frame == next) {
        // The frame did not run after all (a paced tick that was not due): taken again.
        if (!acted) return;
        Bytes_ -= Kept_.back().Before->Bytes();
        Kept_.pop_back();
    }
    if (Kept_.empty() || acted || next - Kept_.back().Frame >= Every) {
        auto snap = std::make_shared<const TGameSnapshot>(F);
        Bytes_ += snap->Bytes();
        Kept_.push_back({next, std::move(snap)});
    }
    // What lies further back than MaxFrames is let go.
    while (Kept_.front().Frame < next - MaxFrames) DropFront();
}

void TRewind::AfterFrame(const TForm1& F) {
    if (Kept_.empty()) return;
    if (F.Log.Frame != ReadFrom_ + static_cast<int64_t>(Read_.size()) || F.GameNo != GameNo_) {
        Clear();
        return;
    }
    Read_.push_back(F.DXInput1.PreviousStates());
}

bool TRewind::StepBack(TForm1& F, ISurface& Unseen, IAudioDevice* Audio) {
    if (!CanRewind(F)) return false;
    const int64_t now = F.Log.Frame;
    const int64_t to = std::max(now - FramesPerTurn, Kept_.front().Frame);
    if (to >= now) return false;
    auto k = std::prev(std::upper_bound(Kept_.begin(), Kept_.end(), to, [](int64_t T, const TKept& K) { return T < K.Frame; }));
    // The frames run again leave no trace but the game: no sound, no events, drawn nowhere but
    // the last. Put back however it ends.
    struct TQuiet {
        TForm1& F;
        IAudioDevice* Audio;
        ISurface* Shown = F.DXDraw1;
        std::function<void(const std::string&)> Sink = std::exchange(F.Log.Sink, nullptr);
        std::function<void(const std::string&, const TLogFields&)> Observer = std::exchange(F.Log.Observer, nullptr);
        ~TQuiet() {
            F.DXInput1.Replay.reset();
            F.DXDraw1 = Shown;
            F.DXWaveList1.AttachDevice(Audio);
            F.Log.Sink = std::move(Sink);
            F.Log.Observer = std::move(Observer);
        }
    } quiet{F, Audio};
    F.DXWaveList1.AttachDevice(nullptr);
    k->Before->Restore(F);
    for (int64_t g = k->Frame; g <= to; ++g) {
        F.DXInput1.Replay = Read_[static_cast<size_t>(g - ReadFrom_)];
        F.DXDraw1 = g == to ? quiet.Shown : &Unseen;
        F.DXTimer1.OnTimer(16);
    }
    // The frames gone back over are another game's now.
    while (Kept_.back().Frame > to) {
        Bytes_ -= Kept_.back().Before->Bytes();
        Kept_.pop_back();
    }
    Read_.resize(static_cast<size_t>(to - ReadFrom_ + 1));
    if (HoldFrom_ < 0) HoldFrom_ = now;
    return true;
}

}  // namespace kv::app
