#include "platform/sdl/SdlAudio.h"

#include <SDL.h>

namespace kv {

TSdlAudio::~TSdlAudio() {
    if (Mixer_.IsOpen())
        for (const TVoice& v : Voices_) Mix_HaltChannel(v.Channel);
}

void TSdlAudio::Prepare(TWaveCollectionItem& Item) {
    Item.DeviceData.reset();
    if (!Mixer_.IsOpen() || Item.Wave.empty()) return;
    SDL_RWops* rw = SDL_RWFromConstMem(Item.Wave.data(), static_cast<int>(Item.Wave.size()));
    Mix_Chunk* c = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (!c) {
        SDL_LogWarn(SDL_LOG_CATEGORY_AUDIO, "The sound '%s' cannot be decoded and stays silent: %s", Item.Name.c_str(),
                    Mix_GetError());
        return;
    }
    // Freeing a chunk halts the channels that play it.
    Item.DeviceData = std::shared_ptr<void>(c, [](void* p) { Mix_FreeChunk(static_cast<Mix_Chunk*>(p)); });
}

Mix_Chunk* TSdlAudio::ChunkOf(const TVoice& V) const {
    auto c = V.Chunk.lock();
    return static_cast<Mix_Chunk*>(c.get());  // the item keeps it alive while the voice is used
}

int32_t TSdlAudio::ChannelOf(int32_t Voice) const {
    return Voice >= 0 && Voice < VoiceCount() ? Voices_[Voice].Channel : -1;
}

int32_t TSdlAudio::NewVoice(TWaveCollectionItem& Item) {
    TVoice v;
    v.Chunk = Item.DeviceData;
    v.HadChunk = Item.DeviceData != nullptr;
    // Reuse the slot of a voice whose sound was freed with its list.
    for (size_t i = 0; i < Voices_.size(); ++i)
        if (Voices_[i].HadChunk && Voices_[i].Chunk.expired()) {
            v.Channel = Voices_[i].Channel;
            Voices_[i] = v;
            return static_cast<int32_t>(i);
        }
    const int32_t index = VoiceCount();
    v.Channel = index % MaxChannels;
    if (Mixer_.IsOpen() && v.Channel >= Allocated_) {
        Allocated_ = Mix_AllocateChannels(v.Channel + 1);
    }
    Voices_.push_back(v);
    return index;
}

bool TSdlAudio::IsPlaying(int32_t Voice) const {
    if (!Mixer_.IsOpen() || Voice < 0 || Voice >= VoiceCount()) return false;
    const TVoice& v = Voices_[Voice];
    Mix_Chunk* c = ChunkOf(v);
    return c && v.Channel < Allocated_ && Mix_Playing(v.Channel) && Mix_GetChunk(v.Channel) == c;
}

void TSdlAudio::Start(int32_t Voice, bool Looped) {
    if (!Mixer_.IsOpen() || Voice < 0 || Voice >= VoiceCount()) return;
    const TVoice& v = Voices_[Voice];
    Mix_Chunk* c = ChunkOf(v);
    if (!c || v.Channel >= Allocated_) return;
    Mix_HaltChannel(v.Channel);
    Mix_UnregisterAllEffects(v.Channel);  // centre pan
    Mix_Volume(v.Channel, Mixer_.EffectMixVolume());
    Mix_PlayChannel(v.Channel, c, Looped ? -1 : 0);
}

}  // namespace kv
