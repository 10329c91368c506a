#pragma once
// The media player that plays the music tracks.
#include <functional>
#include <string>

namespace kv {

class IMusicPlayer {
public:
    virtual ~IMusicPlayer() = default;
    // Close any open device, then open Path; raises EMCIDeviceError when it cannot be opened.
    virtual void Open(const std::string& Path) = 0;
    virtual void Rewind() = 0;
    // Start playing; every play ends with one notification, whether it ran to its end or was
    // cut off by Stop. Notifications are delivered between frames, never inside one.
    virtual void Play() = 0;
    // Raises EMCIDeviceError ("MCI デバイスがありません") when no device is open.
    virtual void Stop() = 0;
    virtual bool IsOpen() const = 0;
    std::function<void()> OnNotify;
};

}  // namespace kv
