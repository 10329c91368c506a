#pragma once
// Sound effects through SDL_mixer. Every voice has a mixer channel of its own, so copies of one
// sound overlap; without an open device everything is silent.
#include <SDL_mixer.h>

#include <memory>
#include <vector>

#include "engine/Sounds.h"
#include "platform/sdl/SdlMixer.h"

namespace kv {

class TSdlAudio : public IAudioDevice {
public:
    // Channels beyond this many are shared by voices (the newest start wins the channel).
    static constexpr int32_t MaxChannels = 256;

    explicit TSdlAudio(TSdlMixer& Mixer) : Mixer_(Mixer) {}
    ~TSdlAudio() override;

    bool Initialized() const override { return Mixer_.IsOpen(); }
    // Decodes the RIFF WAVE image into Item.DeviceData; a sound SDL cannot read stays silent
    // and is named in a warning on stderr.
    void Prepare(TWaveCollectionItem& Item) override;
    int32_t NewVoice(TWaveCollectionItem& Item) override;
    bool IsPlaying(int32_t Voice) const override;
    void Start(int32_t Voice, bool Looped) override;

    int32_t VoiceCount() const { return static_cast<int32_t>(Voices_.size()); }
    int32_t ChannelOf(int32_t Voice) const;

private:
    struct TVoice {
        std::weak_ptr<void> Chunk;  // the item's decoded sound; gone when the item is
        bool HadChunk = false;      // a voice of a silent item is never handed to another item
        int32_t Channel = -1;
    };
    Mix_Chunk* ChunkOf(const TVoice& V) const;
    TSdlMixer& Mixer_;
    std::vector<TVoice> Voices_;
    int32_t Allocated_ = 0;
};

}  // namespace kv
