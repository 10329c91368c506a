#include "ui/PracticeWindow.h"

#include "i18n/Tr.h"
#include "shell/Form1.h"
#include "stages/Practice.h"
#include "ui/Sources.h"

namespace kv::ui {

namespace {

std::string StageCaption(int32_t Stage) {
    return Stage == 5 ? N_("Extra Stage") : i18n::Format(N_("Stage %d"), {std::to_string(Stage)});
}

class TPracticeWindow : public TWindow {
public:
    explicit TPracticeWindow(IUiContext& U) : TWindow(U) {
        Menu.Title = N_("練習");
        Menu.OnBack = [this] { Ui.Close(this); };
        const bool extra = Ui.Form().ExtraOpen == 1;
        for (const TPracticeInfo& p : PracticeInfos()) {
            if (p.Stage == 5 && !extra) continue;
            const std::string label = p.IsStage ? StageCaption(p.Stage) : "　" + p.BossName + "　" + p.AttackName;
            TEntry& e = Menu.Add(label, [this, name = p.Name] {
                Ui.CloseAll();
                Ui.Actions().Practice(name);
            });
            Phases_.push_back(p.IsStage ? std::string() : p.Name);
            Names_.push_back(p.IsStage ? std::pair<std::string, std::string>{} : std::pair{p.BossName, p.AttackName});
            (void)e;
        }
        Menu.Add(N_("閉じる"), [this] { Ui.Close(this); });
        Phases_.push_back({});
        Names_.emplace_back();
    }

    void Refresh() override {
        IAttackHistory* h = Ui.History();
        auto counts = [](const TAttackCounts& C) { return std::to_string(C.Cleared) + "/" + std::to_string(C.Reached); };
        for (size_t i = 0; i < Menu.Entries.size() && i < Phases_.size(); ++i) {
            if (Phases_[i].empty()) continue;
            // The boss and attack as the HUD shows them.
            Menu.Entries[i].Shown = "　" + i18n::Tr(Names_[i].first) + "　" + i18n::Tr(Names_[i].second);
            std::optional<TAttackRecord> r = h ? h->Find(Phases_[i]) : std::nullopt;
            // Ended without losing HP / reached: normal games, then practice.
            Menu.Entries[i].Value = r ? counts(r->Normal) + " " + counts(r->Practice) : "-/- -/-";
        }
        Menu.Status = N_("右の数：被弾なしで終えた回数／出会った回数（通常・練習）");
    }

private:
    std::vector<std::string> Phases_;  // the phase of each entry; empty for a stage
    std::vector<std::pair<std::string, std::string>> Names_;  // its boss and attack
};

}  // namespace

std::unique_ptr<TWindow> MakePracticeWindow(IUiContext& Ui) { return std::make_unique<TPracticeWindow>(Ui); }

}  // namespace kv::ui
