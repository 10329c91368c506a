#include "shell/EndScreens.h"

#include "shell/GameSprite.h"

namespace kv {

namespace {

constexpr double kHoldY = 174, kSlide = 5.8;
constexpr int32_t kHoldFrames = 150;

// Slide down until the hold line, then count the hold; true on the step the hold ends.
bool SlideAndHold(TImageSpriteEx* S, int32_t& Count) {
    if (S->Y >= kHoldY)
        Count += 1;
    else
        S->Y += kSlide;
    if (Count != kHoldFrames) return false;
    Count = 0;
    return true;
}

// A record that cannot be written is reported, but the player still gets back to the menu.
void SaveRecord(TForm1& F) {
    F.Handle([&] { F.Save(); });
}

}  // namespace

TMessageSprite::TMessageSprite(TSprite* Parent) : TImageSpriteEx(Parent), Game(FormOf(this).GameNo) {}

void TMessageSprite::Step(int32_t MoveCount) {
    TImageSpriteEx::Step(MoveCount);
    if (FormOf(this).GameGone(Game)) Kill();
}

bool TMessageSprite::LaterGameBegun() const { return FormOf(this).GameNo != Game; }

TGameOverSprite::TGameOverSprite(TSprite* Parent) : TMessageSprite(Parent) {
    SetupImage(this, "GameOver");
    X = 20.5;
    Y = -58;
    TForm1& F = FormOf(this);
    F.Log.Write("game_over", {{"score", int64_t{F.Score}}});
}

void TGameOverSprite::Step(int32_t MoveCount) {
    TMessageSprite::Step(MoveCount);
    TForm1& F = FormOf(this);
    // Removed as the menu comes back, the screen still slides or counts, and may act, in this
    // step; but nothing of it may act in a game begun since.
    if (LaterGameBegun()) return;
    if (!SlideAndHold(this, F.GameOverCount)) return;
    Kill();
    if (F.Score > F.HighScore && !F.Practice) {
        F.HighScore = F.Score;
        F.EditShow();
    } else {
        F.Shokika();
    }
}

TGameClearSprite::TGameClearSprite(TSprite* Parent) : TMessageSprite(Parent) {
    SetupImage(this, "GameClear");
    X = 35;
    Y = -58;
    TForm1& F = FormOf(this);
    F.Playing = false;
    F.Log.Write("game_clear", {{"score", int64_t{F.Score}}});
}

void TGameClearSprite::Step(int32_t MoveCount) {
    TMessageSprite::Step(MoveCount);
    TForm1& F = FormOf(this);
    if (LaterGameBegun()) return;
    if (!SlideAndHold(this, F.GameClearCount)) return;
    // The unlock is stored at once, whatever the score; a practice game stores nothing.
    if (!F.Practice) {
        F.ExtraOpen = 1;
        SaveRecord(F);
    }
    if (F.ZikiSprite) F.ZikiSprite->Kill();
    if (F.ZikiHanteiSprite) F.ZikiHanteiSprite->Kill();
    Kill();
    if (F.Score > F.HighScore && !F.Practice) {
        F.HighScore = F.Score;
        SaveRecord(F);
        F.EditShow();
    } else {
        F.Shokika();
    }
}

}  // namespace kv
