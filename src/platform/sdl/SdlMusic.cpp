#include "platform/sdl/SdlMusic.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "engine/Errors.h"
#include "platform/sdl/SdlMixer.h"
#include "i18n/Tr.h"

namespace kv {

namespace {

// Backslashes in the game's track names are folder separators.
std::string Slashed(std::string Path) {
    std::replace(Path.begin(), Path.end(), '\\', '/');
    return Path;
}

}  // namespace

TSdlMusic::TSdlMusic(std::unique_ptr<IMusicBackend> Backend) : Backend_(std::move(Backend)) {
    if (!Backend_) Backend_ = NewSilentMusicBackend();
    Backend_->Finished = [this] { Ended(); };
    NotifyEventType();  // registered here, on the main thread, not first on the audio thread
}

std::unique_ptr<TSdlMusic> TSdlMusic::Create(const TSdlMixer& Mixer) {
    if (Mixer.IsOpen() && Mixer.CanPlayMp3()) return std::make_unique<TSdlMusic>(NewMixerMusicBackend());
    if (Mixer.IsOpen())
        SDL_LogWarn(SDL_LOG_CATEGORY_AUDIO, "SDL_mixer cannot decode MP3 here; the music stays silent");
    return std::make_unique<TSdlMusic>(NewSilentMusicBackend());
}

TSdlMusic::~TSdlMusic() {
    Backend_->Finished = nullptr;
    Backend_.reset();
}

uint32_t TSdlMusic::NotifyEventType() {
    static const uint32_t type = [] {
        const Uint32 t = SDL_RegisterEvents(1);
        return t == static_cast<Uint32>(-1) ? 0u : t;
    }();
    return SDL_WasInit(SDL_INIT_EVENTS) ? type : 0;
}

void TSdlMusic::Ended() {
    // May run on the audio thread: count, and wake the event loop; nothing else.
    Pending_.fetch_add(1);
    if (const uint32_t type = NotifyEventType()) {
        SDL_Event e{};
        e.type = type;
        SDL_PushEvent(&e);
    }
}

int32_t TSdlMusic::DeliverNotifications() {
    const int32_t n = Pending_.exchange(0);
    for (int32_t i = 0; i < n; ++i)
        if (OnNotify) OnNotify();
    return n;
}

void TSdlMusic::RequireOpen() const {
    if (!Open_) throw EMCIDeviceError(N_("MCI デバイスがありません"));
}

void TSdlMusic::Cut() {
    if (Backend_->Playing()) Backend_->Halt();
}

void TSdlMusic::Open(const std::string& Path) {
    Cut();
    Backend_->Unload();
    Open_ = false;
    Position_ = 0;
    Path_ = Slashed(Path);
    if (std::string why = Backend_->Load(Path_); !why.empty())
        throw EMCIDeviceError("The music file '" + Path + "' cannot be opened: " + why);
    Open_ = true;
}

void TSdlMusic::Rewind() {
    RequireOpen();
    Cut();  // seeking ends a running play
    Position_ = 0;
}

void TSdlMusic::Play() {
    RequireOpen();
    Cut();  // a new play supersedes the running one
    // Notifications still pending belong to plays this one replaces. Delivered now, each would
    // reopen the track, cutting this play off and so notifying again: the track would restart
    // every turn for ever.
    Pending_.store(0);
    if (std::string why = Backend_->Play(Position_); !why.empty())
        throw EMCIDeviceError("The music file '" + Path_ + "' cannot be played: " + why);
}

void TSdlMusic::PlayAt(const std::string& Path, double Seconds) {
    const bool same = Open_ && Slashed(Path) == Path_;
    if (!same) Open(Path);
    if (const double length = Backend_->Duration(); length > 0) Seconds = std::fmod(Seconds, length);
    Seconds = std::max(0.0, Seconds);
    if (same && Backend_->Playing() && std::abs(Backend_->Position() - Seconds) < 0.25) return;
    Position_ = Seconds;
    Play();
}

void TSdlMusic::Stop() {
    RequireOpen();
    if (Backend_->Playing()) {
        Position_ = Backend_->Position();
        Backend_->Halt();
    }
}

}  // namespace kv
