#include "platform/sdl/SdlMixer.h"

#include <algorithm>

#include <SDL.h>
#include <SDL_mixer.h>

namespace kv {

TSdlMixer::TSdlMixer(bool Enable) {
    if (!Enable) {
        Failure_ = "sound is switched off";
        return;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        Failure_ = std::string("no audio system: ") + SDL_GetError();
        return;
    }
    Started_ = true;
    Mp3_ = (Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3) != 0;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        Failure_ = std::string("no audio device: ") + Mix_GetError();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        Started_ = false;
        return;
    }
    Open_ = true;
}

TSdlMixer::~TSdlMixer() {
    if (Open_) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        Mix_CloseAudio();
    }
    if (Started_) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

namespace {
int32_t MixVolume(int32_t Percent) { return (std::clamp(Percent, 0, 100) * MIX_MAX_VOLUME + 50) / 100; }
}  // namespace

void TSdlMixer::SetMusicVolume(int32_t Percent) {
    if (Open_) Mix_VolumeMusic(MixVolume(Percent));
}

void TSdlMixer::SetEffectVolume(int32_t Percent) {
    EffectMix_ = MixVolume(Percent);
    if (Open_) Mix_Volume(-1, EffectMix_);
}

}  // namespace kv
