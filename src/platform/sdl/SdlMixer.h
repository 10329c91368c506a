#pragma once
// The sound output that the effects and the music share. Opening may fail (no sound card, a
// broken driver): the game then runs silent. SDL_AUDIODRIVER=dummy is honoured by SDL itself.
#include <cstdint>
#include <string>

namespace kv {

class TSdlMixer {
public:
    // Enable = false never touches the audio system (a silent run).
    explicit TSdlMixer(bool Enable = true);
    ~TSdlMixer();
    TSdlMixer(const TSdlMixer&) = delete;
    TSdlMixer& operator=(const TSdlMixer&) = delete;

    bool IsOpen() const { return Open_; }
    bool CanPlayMp3() const { return Mp3_; }
    // Why the device is not open ("" when it is).
    const std::string& Failure() const { return Failure_; }

    // The player's volumes, 0 … 100 per cent, applied at once: the music also to the track
    // playing, the effects to those sounding and every one started later.
    void SetMusicVolume(int32_t Percent);
    void SetEffectVolume(int32_t Percent);
    // The effects' volume on SDL_mixer's scale (0 … MIX_MAX_VOLUME).
    int32_t EffectMixVolume() const { return EffectMix_; }

private:
    bool Started_ = false;  // the SDL audio subsystem
    bool Open_ = false;
    bool Mp3_ = false;
    std::string Failure_;
    int32_t EffectMix_ = 128;
};

}  // namespace kv
