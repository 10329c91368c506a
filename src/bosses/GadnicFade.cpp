// Gadnic's cross-fade: the guard fades in, and after its defeat out; the king fades in.
#include "bosses/Gadnic.h"
#include "shell/GameSprite.h"

namespace kv {

namespace {
// Any other FadeIn keeps the picture's default opacity and does nothing.
void StartFade(TImageSpriteEx* Fade, uint8_t FadeIn) {
    if (FadeIn == 1) Fade->Alpha = 0;
    if (FadeIn == 0) Fade->Alpha = 255;
}

// A fade runs on through the end of its game, but once the menu is back or another game has
// begun it goes without bringing its successor (nor the king's music) into that one.
bool Outlived(TSprite* Fade, int32_t Game) {
    if (!FormOf(Fade).GameGone(Game)) return false;
    Fade->Kill();
    return true;
}
}  // namespace

TGadnicFadeSprite::TGadnicFadeSprite(TSprite* Parent, uint8_t AFadeIn) : TImageSpriteEx(Parent) {
    SetupImage(this, "衛兵ガドニック");
    X = 135;
    Y = 60;
    FadeIn = AFadeIn;
    StartFade(this, FadeIn);
    Game = FormOf(this).GameNo;
}

void TGadnicFadeSprite::Step(int32_t MoveCount) {
    TImageSprite::Step(MoveCount);
    if (Outlived(this, Game)) return;
    TForm1& f = FormOf(this);
    if (FadeIn == 1) {
        Alpha = Alpha + 3;
        if (Alpha == 255) {
            f.GadnicASprite = new TGadnicASprite(f.SpriteEngine());
            Kill();
        }
    }
    if (FadeIn == 0) {
        Alpha = Alpha - 3;
        if (Alpha == 0) {
            Kill();
            f.GEFadeSprite = new TGEFadeSprite(f.SpriteEngine(), 1);
        }
    }
}

TGEFadeSprite::TGEFadeSprite(TSprite* Parent, uint8_t AFadeIn) : TImageSpriteEx(Parent) {
    SetupImage(this, "ガドニック");
    X = 120;
    Y = 60;
    FadeIn = AFadeIn;
    StartFade(this, FadeIn);
    Game = FormOf(this).GameNo;
}

void TGEFadeSprite::Step(int32_t MoveCount) {
    TImageSprite::Step(MoveCount);
    if (Outlived(this, Game)) return;
    if (FadeIn != 1) return;
    Alpha = Alpha + 1;
    if (Alpha == 255) {
        TForm1& f = FormOf(this);
        f.BGMStop("\\4-1.mp3");
        f.GadnicBSprite = new TGadnicBSprite(f.SpriteEngine());
        Kill();
    }
}

}  // namespace kv
