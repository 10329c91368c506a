#include "platform/sdl/MusicBackend.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kv {

namespace {

class TMixerMusicBackend : public IMusicBackend {
public:
    TMixerMusicBackend() {
        Current.store(this);
        Mix_HookMusicFinished(&TMixerMusicBackend::Hook);
    }
    ~TMixerMusicBackend() override {
        Mix_HookMusicFinished(nullptr);
        Current.store(nullptr);
        Unload();
    }
    std::string Load(const std::string& Path) override {
        Unload();
        Music_ = Mix_LoadMUS(Path.c_str());
        return Music_ ? std::string() : std::string(Mix_GetError());
    }
    void Unload() override {
        if (!Music_) return;
        if (Mix_PlayingMusic()) Mix_HaltMusic();
        Mix_FreeMusic(Music_);
        Music_ = nullptr;
    }
    std::string Play(double FromSeconds) override {
        if (!Music_) return "no file is open";
        const int rc = FromSeconds > 0 ? Mix_FadeInMusicPos(Music_, 1, 0, FromSeconds) : Mix_PlayMusic(Music_, 1);
        return rc == 0 ? std::string() : std::string(Mix_GetError());
    }
    void Halt() override { Mix_HaltMusic(); }
    bool Playing() const override { return Mix_PlayingMusic() != 0; }
    double Position() const override {
        const double p = Music_ ? Mix_GetMusicPosition(Music_) : 0;
        return p > 0 ? p : 0;
    }
    double Duration() const override {
        const double d = Music_ ? Mix_MusicDuration(Music_) : 0;
        return d > 0 ? d : 0;
    }

private:
    // Runs on the audio thread at a track's end, on the caller's thread on a halt.
    static void SDLCALL Hook() {
        if (TMixerMusicBackend* b = Current.load(); b && b->Finished) b->Finished();
    }
    static std::atomic<TMixerMusicBackend*> Current;
    Mix_Music* Music_ = nullptr;
};

std::atomic<TMixerMusicBackend*> TMixerMusicBackend::Current{nullptr};

class TSilentMusicBackend : public IMusicBackend {
public:
    std::string Load(const std::string& Path) override {
        Unload();
        std::FILE* f = std::fopen(Path.c_str(), "rb");
        if (!f) return std::strerror(errno);
        std::fclose(f);
        Loaded_ = true;
        return {};
    }
    void Unload() override {
        Halt();
        Loaded_ = false;
    }
    std::string Play(double) override {
        if (!Loaded_) return "no file is open";
        Playing_ = true;
        return {};
    }
    void Halt() override {
        if (!Playing_) return;
        Playing_ = false;
        if (Finished) Finished();
    }
    bool Playing() const override { return Playing_; }
    double Position() const override { return 0; }

private:
    bool Loaded_ = false;
    bool Playing_ = false;
};

}  // namespace

std::unique_ptr<IMusicBackend> NewMixerMusicBackend() { return std::make_unique<TMixerMusicBackend>(); }
std::unique_ptr<IMusicBackend> NewSilentMusicBackend() { return std::make_unique<TSilentMusicBackend>(); }

}  // namespace kv
