#include "ui/SettingsWindow.h"

#include <algorithm>
#include <iterator>

#include "i18n/Tr.h"
#include "ui/KeyEditor.h"

namespace kv::ui {

void ApplySettings(const userfiles::TSettings& S, const TSettingsHooks& H) {
    if (H.MusicVolume) H.MusicVolume(S.MusicVolume);
    if (H.EffectVolume) H.EffectVolume(S.EffectVolume);
    if (H.PadButtons) H.PadButtons(S);
}

namespace {

const char* OnOff(bool On) { return On ? N_("オン") : N_("オフ"); }

// Each language by its own name, so that a player finds theirs whatever is shown.
std::string LanguageCaption(const std::string& Code) {
    return Code == "ja" ? "日本語" : Code == "en" ? "English" : "Auto";
}

// The name after (or before) Current among Names, going round; the first when Current is none.
std::string Cycled(const std::string& Current, const char* const* Names, int32_t Count, int32_t Step) {
    int32_t at = 0;
    for (int32_t i = 0; i < Count; ++i)
        if (Current == Names[i]) at = i;
    return Names[((at + Step) % Count + Count) % Count];
}

// Shown as it is in every language: the one row a player who cannot read the game must find.
const char* const kLanguageRow = N_("言語 / Language");

class TSettingsWindow : public TWindow {
public:
    explicit TSettingsWindow(IUiContext& U) : TWindow(U) {
        Menu.Title = N_("設定");
        Menu.OnBack = [this] { Ui.Close(this); };
        userfiles::TSettings& s = Ui.Settings().Values;
        Volume(N_("音楽の音量"), s.MusicVolume, [this](int32_t v) { Hook(Ui.Hooks().MusicVolume, v); });
        Volume(N_("効果音の音量"), s.EffectVolume, [this](int32_t v) { Hook(Ui.Hooks().EffectVolume, v); });
        {
            TEntry& e = Menu.Add(N_("画面の倍率"));
            e.OnAdjust = [this](int32_t step) {
                int32_t& k = Ui.Settings().Values.Scale;
                const int32_t now = std::clamp((k < 1 ? 1 : k) + step, 1, userfiles::MaxScale);
                if (now == k) return;
                k = now;
                Hook(Ui.Hooks().Scale, k);
            };
        }
        Toggle(N_("全画面表示"), s.Fullscreen, [this](bool on) { Hook(Ui.Hooks().Fullscreen, on); });
        Toggle(N_("垂直同期を待つ"), s.VSync, [this](bool on) { Hook(Ui.Hooks().VSync, on); });
        Menu.Add(N_("キー設定…"), [this] { Ui.Open(MakeKeyEditor(Ui)); });
        {
            TEntry& e = Menu.Add(kLanguageRow);
            e.OnAdjust = [this](int32_t step) {
                std::string& l = Ui.Settings().Values.Language;
                int32_t n = 0;
                const char* const* names = userfiles::LanguageNames(n);
                l = Cycled(l, names, n, step);
                Hook(Ui.Hooks().Language, l);
            };
        }
        Pad(N_("パッド ショット"), s.PadShot);
        Pad(N_("パッド ボム"), s.PadBomb);
        Pad(N_("パッド 低速移動"), s.PadSlow);
        Pad(N_("パッド ポーズ"), s.PadPause);
        Pad(N_("パッド 巻き戻し"), s.PadRewind);
        Renderer();
        Menu.Add(N_("閉じる"), [this] { Ui.Close(this); });
    }

    void Refresh() override {
        const userfiles::TSettings& s = Ui.Settings().Values;
        auto set = [&](const char* label, std::string v) {
            for (TEntry& e : Menu.Entries)
                if (e.Label == label) e.Value = std::move(v);
        };
        set("音楽の音量", std::to_string(s.MusicVolume) + " %");
        set("効果音の音量", std::to_string(s.EffectVolume) + " %");
        set("画面の倍率", s.Scale < 1 ? N_("自動") : "× " + std::to_string(s.Scale));
        set("全画面表示", OnOff(s.Fullscreen));
        set("垂直同期を待つ", OnOff(s.VSync));
        set(kLanguageRow, LanguageCaption(s.Language));
        set(N_("描画方式"), RendererCaption(s.Renderer));
        set("パッド ショット", s.PadShot);
        set("パッド ボム", s.PadBomb);
        set("パッド 低速移動", s.PadSlow);
        set("パッド ポーズ", s.PadPause);
        set("パッド 巻き戻し", s.PadRewind);
        Menu.Status = Problem_.empty() ? Ui.Settings().Error : Problem_;
        if (Menu.Status.empty()) Menu.Status = Note_;
        if (Menu.Status.empty()) Menu.Status = N_("←→ で変更　X・Esc・B で戻る");
    }

private:
    template <class F, class V>
    void Hook(const F& Apply, V Value) {
        if (Apply) Apply(Value);
        Problem_ = Ui.SaveSettings();
    }
    void Volume(const char* Label, int32_t& Field, std::function<void(int32_t)> Apply) {
        TEntry& e = Menu.Add(Label);
        e.OnAdjust = [this, &Field, Apply](int32_t step) {
            const int32_t now = std::clamp(Field + 5 * step, 0, 100);
            if (now == Field) return;
            Field = now;
            Apply(now);
        };
        e.OnPress = [] {};  // pressing a volume does nothing; left and right change it
    }
    void Toggle(const char* Label, bool& Field, std::function<void(bool)> Apply) {
        TEntry& e = Menu.Add(Label);
        e.OnAdjust = [&Field, Apply](int32_t) {
            Field = !Field;
            Apply(Field);
        };
    }
    // The window is made with its renderer: a new choice shows from the next start.
    void Renderer() {
        TEntry& e = Menu.Add(N_("描画方式"));
        e.OnAdjust = [this](int32_t step) {
            std::string& r = Ui.Settings().Values.Renderer;
            r = Cycled(r, userfiles::RendererNames, static_cast<int32_t>(std::size(userfiles::RendererNames)), step);
            Problem_ = Ui.SaveSettings();
            Note_ = N_("描画方式は次の起動から変わります");
        };
    }
    static const char* RendererCaption(const std::string& Name) {
        return Name == "gpu" ? "GPU" : Name == "software" ? N_("ソフトウェア") : N_("自動");
    }
    void Pad(const char* Label, std::string& Field) {
        TEntry& e = Menu.Add(Label);
        e.OnAdjust = [this, &Field](int32_t step) {
            int32_t n = 0;
            const char* const* names = userfiles::PadButtonNames(n);
            Field = Cycled(Field, names, n, step);
            Hook(Ui.Hooks().PadButtons, Ui.Settings().Values);
        };
    }
    std::string Problem_, Note_;
};

}  // namespace

std::unique_ptr<TWindow> MakeSettingsWindow(IUiContext& Ui) { return std::make_unique<TSettingsWindow>(Ui); }

}  // namespace kv::ui
