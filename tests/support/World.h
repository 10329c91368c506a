#pragma once
// A fresh main window over headless services, for frame-by-frame tests of the game.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/Headless.h"
#include "shell/Form1.h"

namespace kvtest {

struct TWorldOptions {
    bool LoadAssets = true;   // in-memory pictures and sounds for every name the game uses
    bool RunFormCreate = true;
    uint32_t Seed = 1;
    std::string ScoreFile;    // contents of Score.dtf; empty = no file
    bool WriteScoreFile = false;
    kv::ISurface* Surface = nullptr;  // draw here instead of recording the draws (benchmarks)
};

class TWorld {
public:
    explicit TWorld(const TWorldOptions& Options = {});
    ~TWorld();

    kv::TForm1& F() { return *Form; }
    kv::TSpriteEngine* E() { return Form->SpriteEngine(); }
    // Runs frames of the frame loop, delivering music notifications between them.
    void Frame(int N = 1);
    // One tick of the one-second timer.
    void Tick() { Form->Handle([&] { Form->Timer1Timer(); }); }
    void Press(int32_t State) { Keyboard.SetState(State, true); }
    void Release(int32_t State) { Keyboard.SetState(State, false); }
    std::string ScorePath() const { return (Dir / "Score.dtf").string(); }
    std::string ReadScoreFile() const;

    // Sprites of a class now in the engine, in creation order.
    template <class T>
    std::vector<T*> All() {
        std::vector<T*> out;
        for (kv::TSprite* s : E()->Children())
            if (auto* t = dynamic_cast<T*>(s)) out.push_back(t);
        return out;
    }
    template <class T>
    int CountOf() { return static_cast<int>(All<T>().size()); }
    template <class T>
    int LiveCountOf() {
        int n = 0;
        for (T* t : All<T>()) n += t->Killed ? 0 : 1;
        return n;
    }

    kv::headless::TRecordingSurface Surface;
    kv::headless::TScriptedKeyboard Keyboard;
    kv::headless::TRecordingAudio Audio;
    kv::headless::TFakeMusic Music;
    kv::headless::TAutoDialogs Dialogs;
    std::filesystem::path Dir;
    std::unique_ptr<kv::TForm1> Form;
    std::vector<std::string> Errors;
};

// Every picture name the game looks up, with its size.
struct TPictureSpec {
    const char* Name;
    int W, H;
};
const std::vector<TPictureSpec>& GamePictures();
const std::vector<std::string>& GameSounds();

}  // namespace kvtest
