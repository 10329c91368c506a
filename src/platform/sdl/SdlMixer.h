#pragma once
// The sound output that the effects and the music share. Opening may fail (no sound card, a
// broken driver): the game then runs silent. SDL_AUDIODRIVER=dummy is honoured by SDL itself.
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

private:
    bool Started_ = false;  // the SDL audio subsystem
    bool Open_ = false;
    bool Mp3_ = false;
    std::string Failure_;
};

}  // namespace kv
