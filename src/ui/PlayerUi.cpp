#include "ui/PlayerUi.h"

#include "engine/FileReplace.h"
#include "i18n/Tr.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/sdl/SdlWidgets.h"
#include "shell/Form1.h"
#include "ui/MenuView.h"
#include "ui/NamePicker.h"
#include "ui/PracticeWindow.h"
#include "ui/ReplayWindow.h"
#include "ui/SettingsWindow.h"

namespace kv::ui {

namespace {

// Settings, practice and replays, from the one menu button.
class THub : public TWindow {
public:
    explicit THub(IUiContext& U, TPlayerUi& Owner) : TWindow(U) {
        Menu.Title = N_("設定・練習");
        Menu.OnBack = [this] { Ui.Close(this); };
        Menu.Add(N_("設定"), [&Owner] { Owner.OpenSettings(); });
        Menu.Add(N_("練習"), [this] { Ui.Open(MakePracticeWindow(Ui)); });
        Menu.Add(N_("リプレイ"), [this] { Ui.Open(MakeReplayWindow(Ui)); });
        Menu.Add(N_("閉じる"), [this] { Ui.Close(this); });
        Menu.Status = N_("↑↓ で選ぶ　Z・Enter・A で決定\nX・Esc・B で戻る");
    }
};


}  // namespace

TPlayerUi::TPlayerUi(TForm1& Form, TSdlWidgets& Widgets, TGameActions Actions, TSettingsHooks Hooks,
                     std::filesystem::path ConfigDir, userfiles::TSettingsFile Settings, const TKeyAssignment& Keys)
    : Form_(Form), Widgets_(Widgets), Actions_(std::move(Actions)), Hooks_(std::move(Hooks)),
      ConfigDir_(std::move(ConfigDir)), Settings_(std::move(Settings)), Keys_(Keys), Nav_(Keys_) {
    ApplySettings(Settings_.Values, Hooks_);

    // Beside "終了", under the title's picture, in the buttons' own style.
    MoreButton.Name = "SettingsButton";
    MoreButton.Caption = N_("設定・練習");
    MoreButton.Hint = N_("設定、練習、リプレイの画面を開きます。");
    MoreButton.Bounds = Bounds(8, 432, 129, 41);
    MoreButton.Font = {"HGPｺﾞｼｯｸM", -15};
    MoreButton.Visible = false;
    MoreButton.OnClick = [this] { OpenHub(); };
    Widgets_.SetOwnButtons({&MoreButton});
    Widgets_.BeforeControls = [this] { Turn(); };
    Widgets_.DrawControls = [this] { Draw(); };
}

TPlayerUi::~TPlayerUi() {
    Widgets_.BeforeControls = nullptr;
    Widgets_.DrawControls = nullptr;
    Widgets_.SetOwnButtons({});
    Widgets_.FocusedControl = nullptr;
    for (SDL_GameController* p : Pads_) SDL_GameControllerClose(p);
}

// ---- the window stack ----

TWindow* TPlayerUi::Top() const {
    for (auto it = Stack_.rbegin(); it != Stack_.rend(); ++it)
        if (!(*it)->Closed) return it->get();
    return nullptr;
}

bool TPlayerUi::WindowOpen() const { return Top() != nullptr; }

void TPlayerUi::Open(std::unique_ptr<TWindow> W) {
    Armed_ = nullptr;
    Stack_.push_back(std::move(W));
}

void TPlayerUi::Close(TWindow* W) {
    Armed_ = nullptr;
    W->Closed = true;
}

void TPlayerUi::CloseAll() {
    Armed_ = nullptr;
    for (auto& w : Stack_) w->Closed = true;
}

void TPlayerUi::Purge() {
    std::erase_if(Stack_, [](const std::unique_ptr<TWindow>& w) { return w->Closed; });
}

void TPlayerUi::OpenHub() {
    if (!WindowOpen()) Open(std::make_unique<THub>(*this, *this));
}

void TPlayerUi::OpenSettings() { Open(MakeSettingsWindow(*this)); }

std::string TPlayerUi::SaveSettings() {
    if (ConfigDir_.empty()) return N_("設定を保存するフォルダーがありません（HOME も XDG_CONFIG_HOME もありません）");
    try {
        // A file the game could not read is kept beside the new one rather than lost.
        if (!Settings_.Error.empty()) {
            std::string old;
            if (ReadWholeFile(Settings_.Path.string(), old)) ReplaceFileAtomically(Settings_.Path.string() + ".bak", old);
            Settings_.Error.clear();
        }
        userfiles::SaveSettings(Settings_.Path, Settings_.Values);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

void TPlayerUi::SetKeys(const TKeyAssignment& Keys) {
    Keys_ = Keys;
    if (Hooks_.Keys) Hooks_.Keys(Keys_);
}

// ---- where the player is ----

TPlayerUi::TContext TPlayerUi::Context() const {
    if (Top()) return Windows;
    const bool menu = Form_.Button1.Visible;
    if (menu && Form_.Form2.Visible) return VersionWindow;
    if (Form_.NameEntry && Form_.Button5.Visible) return NameEntry;
    if (menu) return MainMenu;
    return InGame;
}

void TPlayerUi::EnterContext(TContext C) {
    if (C == Last_) return;
    Last_ = C;
    Armed_ = nullptr;
    if (C == MainMenu && (!MenuFocus_ || !static_cast<const TButton*>(MenuFocus_)->Visible)) MenuFocus_ = &Form_.Button1;
    if (C == NameEntry) NameFocus_ = &Form_.Edit1;  // the first field has the keys when they appear
}

TMenu TPlayerUi::MenuEntries() {
    TMenu m;
    auto add = [&](TButton& B, int32_t Row, int32_t Col, std::function<void()> Press) {
        TEntry& e = m.Entries.emplace_back();
        e.Label = B.Name;
        e.Row = Row;
        e.Col = Col;
        e.Enabled = B.Visible;
        e.OnPress = std::move(Press);
        if (&B == MenuFocus_) m.Focus = m.Entries.size() - 1;
    };
    auto click = [this](const TButton& B) { return [this, name = B.Name] { Actions_.Click(name); }; };
    add(Form_.Button1, 0, 1, click(Form_.Button1));
    add(Form_.Button6, 0, 2, click(Form_.Button6));
    add(Form_.Button2, 1, 1, click(Form_.Button2));
    add(Form_.Button4, 2, 1, click(Form_.Button4));
    add(MoreButton, 3, 0, [this] { OpenHub(); });
    add(Form_.Button3, 3, 1, click(Form_.Button3));
    return m;
}

// ---- events ----

bool TPlayerUi::HandleEvent(const SDL_Event& E) {
    if (E.type == SDL_CONTROLLERDEVICEADDED) {
        // Opened here too, so the pad's buttons arrive as events whether or not a game reads it.
        if (SDL_GameController* p = SDL_GameControllerOpen(E.cdevice.which)) Pads_.push_back(p);
        return false;
    }
    if (E.type == SDL_CONTROLLERDEVICEREMOVED) {
        std::erase_if(Pads_, [&](SDL_GameController* p) {
            if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(p)) != E.cdevice.which) return false;
            SDL_GameControllerClose(p);
            return true;
        });
        return false;
    }
    const TContext c = Context();
    EnterContext(c);
    // A click may move the keys to another field: followed for the next turns, while ImGui
    // takes it in.
    if (E.type == SDL_MOUSEBUTTONDOWN && c == NameEntry) ClickTurns_ = 3;
    if (c == Windows && Top()->Capture(E)) {
        Purge();
        return true;
    }
    const TNavEvent n = Nav_.Translate(E);
    bool used = false;
    switch (c) {
        case Windows: used = Windowed(n, E); break;
        case MainMenu: used = Menu(n, E); break;
        case VersionWindow: used = Version(n); break;
        case NameEntry: used = Names(n, E); break;
        case InGame:
            if (E.type == SDL_CONTROLLERBUTTONDOWN &&
                E.cbutton.button == PadButtonOf(Settings_.Values.PadPause, SDL_CONTROLLER_BUTTON_START) && Actions_.TogglePause)
                Actions_.TogglePause();
            break;
    }
    Purge();
    // Pad buttons are the windows' alone: the game reads the pad's state, not its events.
    return used || E.type == SDL_CONTROLLERBUTTONDOWN || E.type == SDL_CONTROLLERBUTTONUP;
}

void TPlayerUi::Arm(const void* Target) { Armed_ = Target; }

bool TPlayerUi::Fire(const void* Target) {
    const bool fire = Armed_ && Armed_ == Target;
    Armed_ = nullptr;
    return fire;
}

bool TPlayerUi::Windowed(const TNavEvent& N, const SDL_Event& E) {
    TWindow* w = Top();
    TMenu& m = w->Menu;
    m.ClampFocus();
    if (m.Entries.empty()) return true;
    const void* target = &m.Entries[std::min(m.Focus, m.Entries.size() - 1)];
    switch (N.Kind) {
        case TNavEvent::Move: Armed_ = nullptr; m.Handle(N.Dir); break;
        case TNavEvent::PressDown: Arm(target); break;
        case TNavEvent::PressUp:
            if (Fire(target)) m.Handle(TNav::Press);
            break;
        case TNavEvent::Back: Armed_ = nullptr; m.Handle(TNav::Back); break;
        case TNavEvent::Clear: m.Handle(TNav::Clear); break;
        case TNavEvent::None: break;
    }
    // A window takes every key while it is open (but F12's screenshot): none reaches the
    // game's pause or the fields.
    if ((E.type == SDL_KEYDOWN || E.type == SDL_KEYUP) && E.key.keysym.scancode == SDL_SCANCODE_F12) return false;
    return E.type == SDL_KEYDOWN || E.type == SDL_KEYUP || E.type == SDL_TEXTINPUT || E.type == SDL_TEXTEDITING ||
           N.Kind != TNavEvent::None;
}

bool TPlayerUi::Menu(const TNavEvent& N, const SDL_Event& E) {
    if (E.type == SDL_KEYDOWN && E.key.keysym.scancode == SDL_SCANCODE_F1 && !E.key.repeat) {
        OpenHub();
        if (TWindow* hub = Top()) hub->Menu.Handle(TNav::Press);  // its first entry: the settings
        return true;
    }
    TMenu m = MenuEntries();
    switch (N.Kind) {
        case TNavEvent::Move:
            Armed_ = nullptr;
            if (!m.Handle(N.Dir)) return false;
            break;
        case TNavEvent::PressDown: Arm(MenuFocus_); return true;
        case TNavEvent::PressUp:
            if (!Fire(MenuFocus_)) return false;
            m.Handle(TNav::Press);
            return true;
        case TNavEvent::Back: return true;  // nothing to go back to, and nothing to pause
        default: return false;
    }
    // Back to the control the entry stands for.
    const TEntry* e = m.Focused();
    for (TButton* b : {&Form_.Button1, &Form_.Button6, &Form_.Button2, &Form_.Button4, &MoreButton, &Form_.Button3})
        if (e && b->Name == e->Label) MenuFocus_ = b;
    return true;
}

bool TPlayerUi::Version(const TNavEvent& N) {
    const void* close = &Form_.Form2.Buttons.front();
    switch (N.Kind) {
        case TNavEvent::PressDown: Arm(close); return true;
        case TNavEvent::PressUp:
            if (Fire(close)) Actions_.Click("Form2.Button1");
            return true;
        case TNavEvent::Back: Actions_.Click("Form2.Button1"); return true;
        case TNavEvent::Move: return true;
        default: return false;
    }
}

void TPlayerUi::FocusNameControl(const void* Control) {
    NameFocus_ = Control;
    Armed_ = nullptr;
    if (Control == &Form_.Edit1) Widgets_.FocusEdit(&Form_.Edit1);
    else if (Control == &Form_.Edit2) Widgets_.FocusEdit(&Form_.Edit2);
    else Widgets_.FocusEdit(nullptr);
}

bool TPlayerUi::Names(const TNavEvent& N, const SDL_Event& E) {
    // The input method's keys are its own while it composes.
    if (Widgets_.Composing()) return false;
    const void* order[] = {&Form_.Edit1, &Form_.Edit2, &Form_.Button5};
    size_t at = 0;
    for (size_t i = 0; i < 3; ++i)
        if (order[i] == NameFocus_) at = i;
    const bool onField = at < 2;
    const bool typing = onField && N.TypingKey;  // letters, Z, X and Space go into the field
    switch (N.Kind) {
        case TNavEvent::Move:
            if (typing || N.Dir == TNav::Left || N.Dir == TNav::Right) return false;
            FocusNameControl(order[(at + (N.Dir == TNav::Up ? 2 : 1)) % 3]);
            return true;
        case TNavEvent::PressDown:
            if (typing) return false;
            Arm(NameFocus_);
            return true;
        case TNavEvent::PressUp:
            if (typing) return false;
            if (!Fire(NameFocus_)) return true;
            if (at == 2) {
                Actions_.Click("Button5");
            } else if (N.FromPad) {
                Open(MakeNamePicker(*this, at == 0 ? Form_.Edit1 : Form_.Edit2));
            } else {
                FocusNameControl(order[at + 1]);  // Enter in a field: on to the next
            }
            return true;
        case TNavEvent::Back:
            // "決定" is the only way on; Esc would only undo the typing.
            return !typing;
        case TNavEvent::Clear:
        case TNavEvent::None:
            return false;
    }
    return false;
}

// ---- each turn of the loop ----

void TPlayerUi::Turn() {
    if (EachTurn) EachTurn();
    if (HaveMouse_) {
        HaveMouse_ = false;
        if (TWindow* w = Top(); w && MouseEntry_ < w->Menu.Entries.size()) {
            w->Menu.Focus = MouseEntry_;
            w->Menu.Handle(MouseNav_);
        } else if (w && MouseNav_ == TNav::Back) {
            w->Menu.Handle(TNav::Back);
        }
        Purge();
    }
    Widgets_.DeliverOwnClicks();
    Purge();
    const TContext c = Context();
    EnterContext(c);
    if (ClickTurns_ > 0) {
        --ClickTurns_;
        if (const TEdit* active = Widgets_.ActiveEdit(); c == NameEntry && active) NameFocus_ = active;
    }
    MoreButton.Visible = Form_.Button1.Visible;
    switch (c) {
        case MainMenu: Widgets_.FocusedControl = MenuFocus_; break;
        case VersionWindow: Widgets_.FocusedControl = &Form_.Form2.Buttons.front(); break;
        case NameEntry: Widgets_.FocusedControl = NameFocus_ == &Form_.Button5 ? NameFocus_ : nullptr; break;
        default: Widgets_.FocusedControl = nullptr; break;
    }
    Widgets_.FocusPushed = Armed_ != nullptr && Armed_ == Widgets_.FocusedControl;
}

void TPlayerUi::Draw() {
    TWindow* w = Top();
    if (!w) return;
    w->Refresh();
    w->Menu.ClampFocus();
    const bool pushed = Armed_ && !w->Menu.Entries.empty() && Armed_ == &w->Menu.Entries[w->Menu.Focus];
    const TMenuMouse m = DrawMenu(w->Menu, Widgets_, pushed);
    if (m.Any) {
        HaveMouse_ = true;
        MouseEntry_ = m.Nav == TNav::Back ? w->Menu.Entries.size() : m.Entry;
        MouseNav_ = m.Nav;
    }
}

}  // namespace kv::ui
