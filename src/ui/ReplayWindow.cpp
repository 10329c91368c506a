#include "ui/ReplayWindow.h"

#include <cstdio>

#include "i18n/Tr.h"
#include "ui/Sources.h"

namespace kv::ui {

std::string FormatLength(int64_t Frames) {
    const int64_t s = Frames / 60;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
    return buf;
}

namespace {

// What to do with one replay.
class TReplayActions : public TWindow {
public:
    TReplayActions(IUiContext& U, TReplayInfo R) : TWindow(U), R_(std::move(R)) {
        Menu.Title = R_.Date;
        Menu.OnBack = [this] { Ui.Close(this); };
        Menu.Add(N_("再生する"), [this] {
            IReplayShelf* shelf = Ui.Replays();
            const std::string problem = shelf ? shelf->Play(R_.Id) : N_("リプレイを読めません");
            if (problem.empty()) Ui.CloseAll();
            else Problem_ = problem;
        });
        Menu.Add(R_.Kept ? N_("保存をやめる") : N_("ずっと保存する"), [this] {
            IReplayShelf* shelf = Ui.Replays();
            const std::string problem = shelf ? shelf->Keep(R_.Id, !R_.Kept) : N_("リプレイを読めません");
            if (problem.empty()) Ui.Close(this);
            else Problem_ = problem;
        });
        Menu.Add(N_("戻る"), [this] { Ui.Close(this); });
    }
    void Refresh() override {
        Menu.Status = Problem_.empty() ? i18n::Format(N_("%s　%d 点　%s"), {R_.Mode + (R_.Invincible ? " / " + i18n::Tr(N_("無敵")) : ""),
                                                                       std::to_string(R_.Score), FormatLength(R_.Frames)})
                                       : Problem_;
    }

private:
    TReplayInfo R_;
    std::string Problem_;
};

class TReplayWindow : public TWindow {
public:
    explicit TReplayWindow(IUiContext& U) : TWindow(U) {
        Menu.Title = N_("リプレイ");
        Menu.OnBack = [this] { Ui.Close(this); };
    }
    // Listed afresh each time the window is drawn: a kept mark or a new replay shows at once.
    void Refresh() override {
        // Read again twice a second, so a replay just kept or saved shows without hitting the
        // disk every frame.
        if (Turn_++ % 30 != 0) return;
        IReplayShelf* shelf = Ui.Replays();
        std::vector<TReplayInfo> list = shelf ? shelf->List() : std::vector<TReplayInfo>{};
        const size_t focus = Menu.Focus;
        Menu.Entries.clear();
        for (const TReplayInfo& r : list) {
            const std::string label = (r.Kept ? "★" : "　") + r.Date + "  " + r.Mode + (r.Invincible ? "  " + i18n::Tr(N_("無敵")) : "");
            Menu.Add(label, [this, r] { Ui.Open(std::make_unique<TReplayActions>(Ui, r)); },
                     std::to_string(r.Score) + "  " + FormatLength(r.Frames));
        }
        Menu.Add(N_("閉じる"), [this] { Ui.Close(this); });
        Menu.Focus = focus;
        Menu.ClampFocus();
        Menu.Status = list.empty() ? N_("リプレイはまだありません") : N_("★：ずっと保存するリプレイ");
    }

private:
    int32_t Turn_ = 0;
};

}  // namespace

std::unique_ptr<TWindow> MakeReplayWindow(IUiContext& Ui) { return std::make_unique<TReplayWindow>(Ui); }

}  // namespace kv::ui
