#include "ui/KeyEditor.h"

#include <map>

#include "i18n/Tr.h"
#include "userfiles/KeyConfig.h"
#include "userfiles/KeysConf.h"

namespace kv::ui {

namespace {

struct TRowSpec {
    int32_t State;
    const char* Caption;
};
const TRowSpec kRows[] = {{isUp, N_("上")},         {isDown, N_("下")},       {isLeft, N_("左")},
                          {isRight, N_("右")},      {isButton1, N_("ショット")}, {isButton2, N_("ボム")},
                          {isButton3, N_("低速移動")}, {ksRewind, N_("巻き戻し")}};

class TKeyEditor : public TWindow {
public:
    explicit TKeyEditor(IUiContext& U) : TWindow(U), Table_(U.Keys()) {
        Menu.Title = N_("キー設定");
        Menu.Layout = TMenu::Grid;
        Menu.Columns = 3;
        Menu.OnBack = [this] { Ui.Close(this); };
        int32_t row = 0;
        for (const TRowSpec& r : kRows) {
            Menu.RowLabels.push_back(r.Caption);
            for (int32_t slot = 0; slot < 3; ++slot) {
                TEntry& e = Menu.Entries.emplace_back();
                e.Row = row;
                e.Col = slot;
                e.OnPress = [this, state = r.State, slot] {
                    Waiting_ = true;
                    WaitState_ = state;
                    WaitSlot_ = slot;
                };
                e.OnClear = [this, state = r.State, slot] { Set(state, slot, 0); };
            }
            ++row;
        }
        Menu.Add(N_("既定に戻す"), [this] {
            const TKeyAssignment d = DefaultKeyAssignment();
            for (const TRowSpec& r : kRows) Table_[static_cast<size_t>(r.State)] = d[static_cast<size_t>(r.State)];
            Write();
        });
        Menu.Add(N_("閉じる"), [this] { Ui.Close(this); });
    }

    bool Capture(const SDL_Event& E) override {
        if (!Waiting_) return false;
        if (E.type == SDL_KEYDOWN && !E.key.repeat) {
            Waiting_ = false;
            SDL_Scancode k = E.key.keysym.scancode;
            if (k == SDL_SCANCODE_ESCAPE) return true;
            // The table's Shift slot reads either shift key.
            if (k == SDL_SCANCODE_RSHIFT) k = SDL_SCANCODE_LSHIFT;
            if (k > 0 && k <= MaxKeyCode) Set(WaitState_, WaitSlot_, static_cast<uint16_t>(k));
            return true;
        }
        // The pad's B gives up as well; other pad input waits.
        if (E.type == SDL_CONTROLLERBUTTONDOWN && E.cbutton.button == SDL_CONTROLLER_BUTTON_B) Waiting_ = false;
        return E.type == SDL_KEYUP || E.type == SDL_CONTROLLERBUTTONDOWN || E.type == SDL_CONTROLLERBUTTONUP ||
               E.type == SDL_TEXTINPUT;
    }

    void Refresh() override {
        // Which states each key is in, to mark the keys two states share.
        std::map<uint16_t, std::vector<const char*>> users;
        for (const TRowSpec& r : kRows)
            for (uint16_t k : Table_[static_cast<size_t>(r.State)])
                if (k) {
                    auto& v = users[k];
                    if (v.empty() || v.back() != r.Caption) v.push_back(r.Caption);
                }
        std::string clash;
        size_t i = 0;
        for (const TRowSpec& r : kRows)
            for (int32_t slot = 0; slot < 3; ++slot, ++i) {
                TEntry& e = Menu.Entries[i];
                const uint16_t k = Table_[static_cast<size_t>(r.State)][static_cast<size_t>(slot)];
                const bool waiting = Waiting_ && WaitState_ == r.State && WaitSlot_ == slot;
                e.Label = waiting ? "…" : k ? KeyName(k) : "—";
                e.Warn = k && users[k].size() > 1;
            }
        for (const auto& [k, v] : users) {
            if (v.size() < 2) continue;
            std::string states;
            // TRANSLATORS: between the names of the states that share a key
            for (size_t n = 0; n < v.size(); ++n) states += (n ? i18n::Tr("・") : "") + i18n::Tr(v[n]);
            clash += (clash.empty() ? "" : "\n") + i18n::Format(i18n::Tr("%s が %s に重なっています"), {KeyName(k), states});
        }
        if (Waiting_)
            Menu.Status = N_("割り当てるキーを押してください（Esc で取り消し）");
        else if (!Problem_.empty())
            Menu.Status = Problem_;
        else if (!clash.empty())
            Menu.Status = clash;
        else
            Menu.Status = N_("決定で変更　Delete・Y で空に　Esc・B で戻る");
    }

private:
    void Set(int32_t State, int32_t Slot, uint16_t Key) {
        Table_[static_cast<size_t>(State)][static_cast<size_t>(Slot)] = Key;
        Write();
    }
    void Write() {
        Problem_.clear();
        std::vector<TKeyBinding> b;
        for (const TRowSpec& r : kRows) b.push_back({r.State, Table_[static_cast<size_t>(r.State)]});
        try {
            // A file the game could not read is kept as keys.conf.bak and written afresh.
            userfiles::WriteKeyBindings(Ui.ConfigDir() / "keys.conf", b, true);
        } catch (const std::exception& e) {
            Problem_ = e.what();
        }
        Ui.SetKeys(Table_);
    }
    TKeyAssignment Table_;
    bool Waiting_ = false;
    int32_t WaitState_ = 0, WaitSlot_ = 0;
    std::string Problem_;
};

}  // namespace

std::unique_ptr<TWindow> MakeKeyEditor(IUiContext& Ui) { return std::make_unique<TKeyEditor>(Ui); }

}  // namespace kv::ui
