// Start-up and the frame loop with its head-up display.
#include <string>

#include "engine/Errors.h"
#include "i18n/Tr.h"
#include "shell/Form1.h"
#include "shell/Title.h"

namespace kv {

void TForm1::FormCreate() {
    Handle([this] {
        // The generator was seeded by the platform (clock or --seed) before the window was made.
        if (!DataMissing.empty()) throw EFOpenError(DataMissing);
        DXWaveList1.LoadList(DataPath("Sounds.dxg"));
        DXImageList1.LoadList(DataPath("Pictures.dxg"));
        FormCreateAfterAssets();
    });
}

using i18n::Tr;

// The start-up steps after the asset lists are loaded: the title, then the record.
void TForm1::FormCreateAfterAssets() {
    TitleSprite = new TTitleSprite(SpriteEngine());
    ScoreLines.clear();
    ScoreLinesCreated = true;
    Load();
    if (ExtraOpen == 1) Button6.Visible = true;
}

void TForm1::DXTimer1Timer(int32_t LagCount) {
    Log.Frame++;
    if (DXDraw1) DXDraw1->Fill(0);
    DXInput1.Refresh();
    // Drawing changes nothing but pixels: on a surface nobody looks at it is left out.
    const bool drawn = DXDraw1 && !DXDraw1->Blind();
    if (drawn) Engine_->Draw();
    Engine_->Purge();
    Engine_->Move(LagCount);
    if (ZikiSprite) {
        LastZikiX = ZikiSprite->X;
        LastZikiY = ZikiSprite->Y;
    }
    if (ZikiHanteiSprite) {
        LastHanteiX = ZikiHanteiSprite->X;
        LastHanteiY = ZikiHanteiSprite->Y;
    }
    if (drawn) DrawHud();
}

void TForm1::DrawHud() {
    TCanvas canvas(DXDraw1);
    const TColor white{255, 255, 255}, yellow{255, 255, 0};
    if (HudOn) {
        canvas.BrushClear();
        canvas.FontColor = white;
        canvas.FontSize = 12;
        canvas.TextOut(0, 0, StageNo == 5 ? Tr("Extra Stage") : Tr("Stage") + std::to_string(StageNo));
        canvas.TextOut(0, 426, Tr("HP:") + std::to_string(HP));
        canvas.TextOut(0, 444, Tr("Bomb:") + std::to_string(Bomb));
        canvas.TextOut(0, 462, Tr("Score:") + std::to_string(Score));
        if (!BossName.empty()) {
            canvas.FontColor = yellow;
            canvas.TextOut(0, 18, Tr("Boss:") + Tr(BossName));
            canvas.TextOut(0, 36, Tr(AttackName));
        }
    }
    if (NameEntry) {
        canvas.BrushClear();
        canvas.FontColor = white;
        canvas.FontSize = 12;
        canvas.TextOut(108, 180, Tr("ハイスコアです！"));
        canvas.TextOut(50, 198, Tr("名前とコメントを入力してください。"));
        canvas.TextOut(20, 232, Tr("名前："));
        canvas.TextOut(20, 264, Tr("コメント："));
    }
    if (TaikyuuCount > 0) {
        canvas.BrushClear();
        canvas.FontColor = white;
        canvas.FontSize = 24;
        canvas.TextOut(284, 0, std::to_string(TaikyuuCount));
    }
    canvas.Release();
}

}  // namespace kv
