#include "shell/Form1.h"

#include <algorithm>
#include <atomic>

#include "engine/Errors.h"
#include "shell/FormHooks.h"

namespace kv {

std::vector<TFormHook>& FormCreateHooks() {
    static std::vector<TFormHook> hooks;
    return hooks;
}

size_t TVarsStore::NextId() {
    static std::atomic<size_t> next{0};
    return next++;
}

TForm1::TForm1(const TServices& S)
    : ExeDir(S.ExeDir), DataDir(S.DataDir), Engine_(std::make_unique<TSpriteEngine>()) {
    Engine_->Context = this;
    DXDraw1 = S.Surface;
    MediaPlayer1 = S.Music;
    Dialogs = S.Dialogs;
    RandomGen.Seed(S.Seed);  // FormCreate's first step: the platform chose the seed
    Keyboard_ = std::make_unique<TKeyboard>(S.Keyboard);
    if (S.Keys) Keyboard_->Keys = *S.Keys;
    Joystick_ = std::make_unique<TJoystick>(S.Joystick);
    DXInput1.AddDevice(Keyboard_.get());
    DXInput1.AddDevice(Joystick_.get());
    Engine_->SetSurface(DXDraw1);
    DXImageList1.AttachSurface(DXDraw1);
    DXWaveList1.AttachDevice(S.Audio);
    if (MediaPlayer1) MediaPlayer1->OnNotify = [this] { Handle([this] { MediaPlayer1Notify(); }); };
    // Every loop that drives the window (the real one, headless runs, tests) gets the same
    // guard: an error skips the rest of that frame, and the next frame comes as usual.
    DXTimer1.OnTimer = [this](int32_t lag) { Handle([&] { DXTimer1Timer(lag); }); };
    CreateControls();
    for (TFormHook h : FormCreateHooks()) h(*this);
}

TForm1::~TForm1() {
    if (MediaPlayer1) MediaPlayer1->OnNotify = nullptr;
    Engine_.reset();  // sprites first: their destructors may still look at the window
}

void TForm1::SetKeyTable(const TKeyAssignment& Keys) { Keyboard_->Keys = Keys; }

void TForm1::ReportError(const std::string& Message) {
    // Every occurrence is logged with its count; the player sees each error once, and stderr
    // hears of a repeat only at 10, 100, 1000 … so a fault in every frame does not flood it.
    const int64_t count = ++ErrorCounts_[Message];
    Log.Write("error", {{"message", Message}, {"count", count}});
    if (count == 1) PendingErrorBoxes.push_back(Message);
    bool tell = count == 1;
    for (int64_t p = 10; p <= count && !tell; p *= 10) tell = p == count;
    if (tell && ErrorSink) ErrorSink(count == 1 ? Message : Message + " (" + std::to_string(count) + " times)");
}

void TForm1::PhaseStarted(const char* ClassName) {
    Log.Write("phase", {{"class", std::string(ClassName)}, {"boss", BossName}, {"attack", AttackName}});
}

}  // namespace kv
