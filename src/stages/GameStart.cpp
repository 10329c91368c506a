// The "Normal" button: a new game from Stage 1.
#include "player/HitBox.h"
#include "player/Ship.h"
#include "shell/Form1.h"
#include "shell/FormHooks.h"
#include "stages/FirstStage.h"

namespace kv {

namespace {
const TFormHookRegistrar kNormalButton{[](TForm1& F) {
    F.Button1.OnClick = [&F] { F.Handle([&F] { F.Button1Click(); }); };
}};
}  // namespace

void TForm1::Button1Click() {
    PlaySound("Pingpong");
    // Sprites killed at the end of the last game go before the new game's are made.
    SpriteEngine()->Purge();
    ResetDone = false;
    GameStart();
}

void TForm1::GameStart() {
    Practice = false;
    Log.Write("start", {{"mode", std::string("normal")}});
    BGMStart(1);
    EnterPlay();
    new TFirstStageSprite(SpriteEngine());
}

void TForm1::EnterPlay() {
    GameNo += 1;
    HudOn = true;
    AllButtonHide();
    if (TitleSprite) TitleSprite->Kill();
    Playing = true;
    HP = 10;
    Bomb = 3;
    ZikiSprite = new TZikiSprite(SpriteEngine());
    ZikiHanteiSprite = new TZikiHanteiSprite(SpriteEngine());  // takes its place from the ship
}

}  // namespace kv
