#pragma once
// The sound list: named sound effects played with overlapping copies.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kv {

class TWaveCollectionItem;

// The sound device. A voice is one playback buffer of one item.
class IAudioDevice {
public:
    virtual ~IAudioDevice() = default;
    virtual bool Initialized() const = 0;
    virtual void Prepare(TWaveCollectionItem& Item) = 0;  // decode the RIFF image
    virtual int32_t NewVoice(TWaveCollectionItem& Item) = 0;
    virtual bool IsPlaying(int32_t Voice) const = 0;
    // Stop, rewind and start the voice once, or looping.
    virtual void Start(int32_t Voice, bool Looped) = 0;
};

class TWaveCollectionItem {
public:
    std::string Name;
    std::vector<uint8_t> Wave;  // RIFF WAVE image
    bool Looped = false;
    int32_t MaxPlayingCount = 0;

    void Play(bool Wait);

    std::shared_ptr<void> DeviceData;  // decoded sound, owned by the device that prepared it
    IAudioDevice* Device = nullptr;
    std::vector<int32_t> Buffers;  // voices, oldest start first
};

class TDXWaveList {
public:
    void LoadList(const std::string& FileName);
    void SetItems(std::vector<std::unique_ptr<TWaveCollectionItem>> Items);
    // Case-insensitive; raises EWaveCollectionError for an unknown name.
    TWaveCollectionItem* Lookup(const std::string& Name) const;
    TWaveCollectionItem* Find(const std::string& Name) const;
    const std::vector<std::unique_ptr<TWaveCollectionItem>>& Items() const { return Items_; }
    void AttachDevice(IAudioDevice* D);

private:
    std::vector<std::unique_ptr<TWaveCollectionItem>> Items_;
    std::unordered_map<std::string, TWaveCollectionItem*> ByName_;
    IAudioDevice* Device_ = nullptr;
};

}  // namespace kv
