#pragma once
// The main window: it owns every component and holds the game's global state.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "engine/ImageSprite.h"
#include "engine/Input.h"
#include "engine/Music.h"
#include "engine/Pictures.h"
#include "engine/Random.h"
#include "engine/Sounds.h"
#include "engine/Sprite.h"
#include "engine/Surface.h"
#include "engine/Timer.h"
#include "engine/Widgets.h"
#include "shell/EventLog.h"
#include "shell/GameState.h"
#include "shell/VarsStore.h"

namespace kv {

// What the platform hands the window. Any pointer may be null (then that service is absent).
struct TServices {
    ISurface* Surface = nullptr;
    IAudioDevice* Audio = nullptr;
    IMusicPlayer* Music = nullptr;
    IDialogs* Dialogs = nullptr;
    IKeyboardSource* Keyboard = nullptr;
    IJoystickSource* Joystick = nullptr;
    const TKeyAssignment* Keys = nullptr;  // the keyboard's table; nullptr: the default one
    std::string ExeDir;   // folder of the executable, with its trailing separator
    std::string DataDir;  // where Pictures.dxg, Sounds.dxg and Score.dtf are; "" = current directory
    uint32_t Seed = 0;
};

// The window's global game state lives in TGameState, the one state object a snapshot copies.
class TForm1 : public TEngineContext, public TGameState {
public:
    explicit TForm1(const TServices& Services);
    ~TForm1() override;

    // ---- components ----
    std::string Caption = "Kalvento";
    static constexpr int32_t ClientWidth = 321, ClientHeight = 481;
    ISurface* DXDraw1 = nullptr;  // back buffer
    TDXImageList DXImageList1;
    TDXWaveList DXWaveList1;
    TSpriteEngine* SpriteEngine() { return Engine_.get(); }
    const TSpriteEngine* SpriteEngine() const { return Engine_.get(); }
    TDXInput DXInput1;
    // The keyboard's key table, changed while the program runs (the key editor).
    void SetKeyTable(const TKeyAssignment& Keys);
    TDXTimer DXTimer1;
    IMusicPlayer* MediaPlayer1 = nullptr;
    IDialogs* Dialogs = nullptr;
    TButton Button1, Button2, Button3, Button4, Button5, Button6;
    TEdit Edit1, Edit2;
    TSubWindow Form2;
    bool CloseRequested = false;  // Button3 ("終了") closed the window
    TRandom RandomGen;
    int32_t Random(int32_t n) { return RandomGen.Random(n); }
    double Random() { return RandomGen.Random(); }
    TEventLog Log;
    std::string ExeDir, DataDir;
    std::string ScoreFile;    // the record; "" = Score.dtf in the data folder
    std::string MusicDir;     // folder of the tracks, with its trailing separator; "" = musics beside the program
    std::string DataMissing;  // set when no data folder was found: FormCreate reports it in place of a file error

    // For the sprites that Playing does not remove: the game numbered Game is gone once the
    // menu has been back since, or a later game has begun (with no frame between the two).
    bool GameGone(int32_t Game) const { return ResetDone || GameNo != Game; }
    double HanteiX() const { return ZikiHanteiSprite ? ZikiHanteiSprite->X : LastHanteiX; }
    double HanteiY() const { return ZikiHanteiSprite ? ZikiHanteiSprite->Y : LastHanteiY; }
    double ZikiX() const { return ZikiSprite ? ZikiSprite->X : LastZikiX; }
    double ZikiY() const { return ZikiSprite ? ZikiSprite->Y : LastZikiY; }

    // Class-wide values of the game classes (spiral centres, dive velocities …), one object
    // per type T, default-constructed on first use and living as long as this window.
    template <class T>
    T& Vars() {
        return VarsStore.Get<T>();
    }
    TVarsStore VarsStore;

    // ---- handlers ----
    void FormCreate();
    void FormCreateAfterAssets();
    void DXTimer1Timer(int32_t LagCount);
    void Timer1Timer();
    // One frame: the frame timer's tick as the platform's loop drives it.
    void DrawHud();

    // ---- operations of the shell that game code calls ----
    void AllButtonHide();
    void AllButtonShow();
    void Shokika();
    void BSReset();
    void MutekiModein();
    void Load();
    void Save();
    void EditShow();
    void EditHide();
    void BGMStart(int32_t Track);
    void BGMStop(const std::string& FileName);
    void MediaPlayer1Notify();
    void TaikyuuReset();
    void BossNameCheck();
    void GameStart();
    // The start shared by every game: HUD on, menu away, the ship with 10 HP and 3 bombs.
    void EnterPlay();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Form2Button1Click();

    // ---- helpers ----
    TPictureCollectionItem* Picture(const std::string& Name) { return DXImageList1.Lookup(Name); }
    void PlaySound(const std::string& Name) { DXWaveList1.Lookup(Name)->Play(false); }
    std::string DataPath(const std::string& FileName) const { return DataDir.empty() ? FileName : DataDir + "/" + FileName; }
    std::string ScorePath() const { return ScoreFile.empty() ? DataPath("Score.dtf") : ScoreFile; }
    // A boss phase was created: its constructor has set BossName and AttackName.
    void PhaseStarted(const char* ClassName);

    // Runs one handler; a framework error abandons it and is reported (shown once, logged each time).
    template <class F>
    bool Handle(F&& Handler) {
        try {
            Handler();
            return true;
        } catch (const std::exception& e) {
            ReportError(e.what());
            return false;
        }
    }
    void ReportError(const std::string& Message);
    // Errors not yet shown in a message box (the platform shows them between frames).
    std::vector<std::string> PendingErrorBoxes;
    std::function<void(const std::string&)> ErrorSink;  // stderr in the program

private:
    void CreateControls();  // captions, places, fonts and handlers of the buttons and fields
    std::unique_ptr<TSpriteEngine> Engine_;
    std::unique_ptr<TKeyboard> Keyboard_;
    std::unique_ptr<TJoystick> Joystick_;
    std::map<std::string, int64_t> ErrorCounts_;
};

// The window that owns a sprite (every game sprite lives under the window's engine).
inline TForm1& FormOf(const TSprite* S) {
    const TSpriteEngine* e = S->Engine ? S->Engine : static_cast<const TSpriteEngine*>(S);
    return *static_cast<TForm1*>(e->Context);
}

}  // namespace kv
