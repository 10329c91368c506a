// The menu over the title, the version window and the reset between games.
#include "engine/Errors.h"
#include "i18n/Tr.h"
#include "shell/Form1.h"
#include "shell/ShiftJis.h"
#include "shell/Title.h"

namespace kv {

namespace {
const char* const kButtonFace = "HGPｺﾞｼｯｸM";
const char* const kWindowFace = "ＭＳ Ｐゴシック";
const char* const kVersionFace = "HGSｺﾞｼｯｸM";
}  // namespace

void TForm1::CreateControls() {
    auto button = [this](TButton& B, const char* Name, const char* Caption, TRect Where, TFontSpec Font,
                         const char* Hint, bool Visible) {
        B.Name = Name;
        B.Caption = Caption;
        B.Bounds = Where;
        B.Font = Font;
        B.Hint = Hint;
        B.Visible = Visible;
    };
    // Button1 and Button6 start the games; their handlers come with the stages.
    button(Button1, "Button1", N_("Normal"), Bounds(144, 288, 81, 41), {kButtonFace, -15}, N_("ゲームを開始します。"), true);
    button(Button6, "Button6", N_("Extra Stage"), Bounds(232, 288, 81, 41), {"Myriad Pro Light", -13, true}, "", false);
    button(Button2, "Button2", N_("バージョン情報"), Bounds(144, 336, 169, 41), {kButtonFace, -15},
           N_("バージョン情報を別フォームで表示します。"), true);
    button(Button4, "Button4", N_("スコア表示"), Bounds(144, 384, 169, 41), {kButtonFace, -15}, N_("スコア情報を表示します。"),
           true);
    button(Button3, "Button3", N_("終了"), Bounds(144, 432, 169, 41), {kButtonFace, -15}, N_("終了します。"), true);
    button(Button5, "Button5", N_("決定"), Bounds(120, 304, 75, 25), {kButtonFace, -12}, N_("これで決定します。"), false);
    Button2.OnClick = [this] { Handle([this] { Button2Click(); }); };
    Button3.OnClick = [this] { Handle([this] { Button3Click(); }); };
    Button4.OnClick = [this] { Handle([this] { Button4Click(); }); };
    Button5.OnClick = [this] { Handle([this] { Button5Click(); }); };

    for (TEdit* e : {&Edit1, &Edit2}) {
        e->Font = {kWindowFace, -12};
        e->Visible = false;
        e->Text.clear();
        // The record holds one line per text, in Shift-JIS.
        e->Filter = [](const std::string& Typed) { return KeepShiftJisText(Typed); };
        e->Refuses = [](const std::string& Typed) {
            std::string refused;
            KeepShiftJisText(Typed, &refused);
            return refused;
        };
        e->Refused.clear();
    }
    Edit1.Name = "Edit1";
    Edit1.Bounds = Bounds(96, 232, 201, 20);
    Edit2.Name = "Edit2";
    Edit2.Bounds = Bounds(96, 264, 201, 20);

    Form2.Caption = N_("バージョン情報");
    Form2.ClientWidth = 229;
    Form2.ClientHeight = 137;  // down to the Close button and a margin below it
    Form2.Visible = false;
    Form2.IconBounds = Bounds(20, 24, 32, 32);
    Form2.Labels = {{"Kalvento", 60, 8, {kVersionFace, -16}}, {"Ver1.00", 100, 32, {kVersionFace, -15}}};
    TButton close;
    button(close, "Button1", N_("Close"), Bounds(76, 104, 75, 25), {kButtonFace, -15}, N_("この画面を閉じます。"), true);
    close.OnClick = [this] { Handle([this] { Form2Button1Click(); }); };
    Form2.Buttons = {close};
}

void TForm1::AllButtonHide() {
    for (TButton* b : {&Button1, &Button2, &Button3, &Button4, &Button6}) b->Visible = false;
}

void TForm1::AllButtonShow() {
    for (TButton* b : {&Button1, &Button2, &Button3, &Button4}) b->Visible = true;
    if (ExtraOpen == 1) Button6.Visible = true;
}

void TForm1::Shokika() {
    Playing = false;
    HudOn = false;
    AllButtonShow();
    Log.Write("menu");
    TitleSprite = new TTitleSprite(SpriteEngine());
    StageCount = 0;
    // The device is closed only when no track could ever be opened; then there is nothing to stop.
    if (MediaPlayer1 && MediaPlayer1->IsOpen()) {
        try {
            MediaPlayer1->Stop();
        } catch (const std::exception& e) {
            ReportError(e.what());
        }
    }
    ROneDown = false;
    BossCounters.fill(0);
    ZakoAACount = 0;
    ZakoABCount = 0;
    ZakoACCount = 0;
    BossName.clear();
    AttackName.clear();
    HP = 10;
    Bomb = 3;
    Score = 0;
    Edit1.Text.clear();
    Edit2.Text.clear();
    ZakoBCCounts.fill(0);
    MutekiMode = false;
    MutekiCount = 0;
    Load();
    ResetDone = true;
}

void TForm1::BSReset() {
    BossName.clear();
    AttackName.clear();
}

void TForm1::MutekiModein() {
    MutekiMode = true;
    MutekiCount = 40;
}

void TForm1::Button2Click() {
    PlaySound("Pingpong");
    Form2.Visible = true;  // one window, shown again; the game runs on behind it
}

void TForm1::Form2Button1Click() { Form2.Visible = false; }

void TForm1::Button3Click() { CloseRequested = true; }

}  // namespace kv
