#pragma once
// The media player for the music tracks. The end of every play (at the end of the track or cut
// off by Stop, Rewind or Open) is counted as it happens and delivered by DeliverNotifications,
// which the event loop calls between frames. A new Play drops what is still pending: only the
// latest play's end is news.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/Music.h"
#include "platform/sdl/MusicBackend.h"

namespace kv {

class TSdlMixer;

class TSdlMusic : public IMusicPlayer {
public:
    explicit TSdlMusic(std::unique_ptr<IMusicBackend> Backend);
    // SDL_mixer when the device is open and can decode MP3, else silent plays.
    static std::unique_ptr<TSdlMusic> Create(const TSdlMixer& Mixer);
    ~TSdlMusic() override;

    // Backslashes in Path are folder separators. Raises EMCIDeviceError naming the file when it
    // cannot be opened (the player is closed then).
    void Open(const std::string& Path) override;
    void Rewind() override;
    void Play() override;
    // Raises EMCIDeviceError ("MCI デバイスがありません") when no file is open.
    void Stop() override;
    bool IsOpen() const override { return Open_; }
    const std::string& FileName() const { return Path_; }
    // Plays Path from Seconds in (past its end: where a looping track would be), leaving a play
    // of that file alone when it is already within a quarter of a second of there. For a game
    // put back to another moment. Raises EMCIDeviceError as Open and Play do.
    void PlayAt(const std::string& Path, double Seconds);

    // Calls OnNotify once per play that ended since the last call; returns how many. Plays that
    // end inside OnNotify are delivered by the next call.
    int32_t DeliverNotifications();
    int32_t PendingNotifications() const { return Pending_.load(); }
    // The SDL user event posted when a play ends (it wakes a waiting event loop); 0 if SDL's
    // event system is not running.
    static uint32_t NotifyEventType();

private:
    void Ended();
    void RequireOpen() const;
    void Cut();  // end the running play, if any
    std::atomic<int32_t> Pending_{0};
    std::unique_ptr<IMusicBackend> Backend_;
    bool Open_ = false;
    std::string Path_;
    double Position_ = 0;
};

}  // namespace kv
