#pragma once
// What the music player needs from an MP3 back end. Finished is called once for every play that
// ends, by running to its end or by Halt, on whatever thread the back end runs it.
#include <functional>
#include <memory>
#include <string>

namespace kv {

class TSdlMixer;

class IMusicBackend {
public:
    virtual ~IMusicBackend() = default;
    // Loads the file in place of the loaded one; returns "" or the reason it cannot be used.
    virtual std::string Load(const std::string& Path) = 0;
    virtual void Unload() = 0;
    // Plays the loaded file once from a position in seconds; returns "" or the reason.
    virtual std::string Play(double FromSeconds) = 0;
    virtual void Halt() = 0;
    virtual bool Playing() const = 0;
    virtual double Position() const = 0;  // seconds into the play; 0 when unknown
    virtual double Duration() const { return 0; }  // of the loaded file, in seconds; 0 when unknown
    std::function<void()> Finished;
};

// SDL_mixer (Mix_LoadMUS, Mix_PlayMusic, Mix_HaltMusic, Mix_HookMusicFinished). One at a time.
std::unique_ptr<IMusicBackend> NewMixerMusicBackend();
// No sound device: files are checked and plays run silently until they are halted.
std::unique_ptr<IMusicBackend> NewSilentMusicBackend();

}  // namespace kv
