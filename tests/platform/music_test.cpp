// The music player's notifications, with a back end that plays nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "engine/Errors.h"
#include "platform/sdl/MusicBackend.h"
#include "platform/sdl/SdlMusic.h"

namespace kv {
namespace {

struct TFakeState {
    std::set<std::string> Files;
    std::vector<std::string> Loaded;
    std::vector<double> PlayedFrom;
    bool Playing = false;
    double Position = 0;
    double Duration = 0;
    IMusicBackend* Backend = nullptr;
};

class TFakeBackend : public IMusicBackend {
public:
    explicit TFakeBackend(TFakeState& S) : S_(S) { S_.Backend = this; }
    std::string Load(const std::string& Path) override {
        Unload();
        if (!S_.Files.count(Path)) return "No such file or directory";
        S_.Loaded.push_back(Path);
        Loaded_ = true;
        return {};
    }
    void Unload() override {
        Halt();
        Loaded_ = false;
    }
    std::string Play(double From) override {
        if (!Loaded_) return "no file is open";
        S_.PlayedFrom.push_back(From);
        S_.Playing = true;
        return {};
    }
    void Halt() override {
        if (!S_.Playing) return;
        S_.Playing = false;
        if (Finished) Finished();
    }
    bool Playing() const override { return S_.Playing; }
    double Position() const override { return S_.Position; }
    double Duration() const override { return S_.Duration; }

private:
    TFakeState& S_;
    bool Loaded_ = false;
};

// The track runs out, on another thread as SDL_mixer's audio thread does it.
void TrackEnds(TFakeState& S) {
    S.Playing = false;
    std::thread([&] { S.Backend->Finished(); }).join();
}

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        State.Files = {"/game/musics/1-0.mp3", "/game/musics/2-0.mp3"};
        Music = std::make_unique<TSdlMusic>(std::make_unique<TFakeBackend>(State));
        Music->OnNotify = [this] { ++Notified; };
    }
    TFakeState State;
    std::unique_ptr<TSdlMusic> Music;
    int Notified = 0;
};

TEST_F(MusicTest, TheEndOfATrackIsDeliveredBetweenFramesOnce) {
    Music->Open("/game/musics/1-0.mp3");
    Music->Rewind();
    Music->Play();
    TrackEnds(State);
    EXPECT_EQ(Notified, 0);  // not while the audio thread runs
    EXPECT_EQ(Music->PendingNotifications(), 1);
    EXPECT_EQ(Music->DeliverNotifications(), 1);
    EXPECT_EQ(Notified, 1);
    EXPECT_EQ(Music->DeliverNotifications(), 0);
    EXPECT_EQ(Notified, 1);
}

TEST_F(MusicTest, StopCutsThePlayAndNotifies) {
    Music->Open("/game/musics/1-0.mp3");
    Music->Play();
    Music->Stop();
    EXPECT_FALSE(State.Playing);
    Music->Stop();  // stopped already: no second notification, still open
    EXPECT_TRUE(Music->IsOpen());
    EXPECT_EQ(Music->DeliverNotifications(), 1);
    EXPECT_EQ(Notified, 1);
}

TEST_F(MusicTest, StopWithoutADeviceIsTheDeviceError) {
    try {
        Music->Stop();
        FAIL() << "no error";
    } catch (const EMCIDeviceError& e) {
        EXPECT_STREQ(e.what(), "MCI デバイスがありません");
    }
    EXPECT_THROW(Music->Play(), EMCIDeviceError);
    EXPECT_EQ(Music->DeliverNotifications(), 0);
}

TEST_F(MusicTest, AMissingFileIsNamedAndLeavesThePlayerClosed) {
    Music->Open("/game/musics/1-0.mp3");
    try {
        Music->Open("/game/musics/9-9.mp3");
        FAIL() << "no error";
    } catch (const EMCIDeviceError& e) {
        EXPECT_NE(std::string(e.what()).find("/game/musics/9-9.mp3"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos);
    }
    EXPECT_FALSE(Music->IsOpen());
    EXPECT_THROW(Music->Stop(), EMCIDeviceError);
}

TEST_F(MusicTest, BackslashesAreFolderSeparators) {
    State.Files.insert("/game//musics/1-0.mp3");
    Music->Open("/game/\\musics\\1-0.mp3");
    ASSERT_EQ(State.Loaded.size(), 1u);
    // The doubled separator is accepted by the file system; the fake wants it folded.
    EXPECT_EQ(State.Loaded[0], "/game//musics/1-0.mp3") << "backslashes must become slashes";
}

TEST_F(MusicTest, OpeningWhilePlayingEndsThatPlay) {
    State.Files.insert("/game//musics/2-0.mp3");
    Music->Open("/game/musics/1-0.mp3");
    Music->Play();
    Music->Open("/game/musics/2-0.mp3");
    EXPECT_FALSE(State.Playing);
    EXPECT_EQ(Music->DeliverNotifications(), 1);
}

TEST_F(MusicTest, ANewPlayDropsTheEndsOfTheOnesItReplaces) {
    Music->Open("/game/musics/1-0.mp3");
    Music->Play();
    Music->Play();
    EXPECT_TRUE(State.Playing);
    EXPECT_EQ(Music->DeliverNotifications(), 0);
    // The game's own sequence: the menu stops the track, and a game starts its own before that
    // stop is delivered. The notification handler reopens and plays; it must not go on for ever.
    Music->OnNotify = [this] {
        ++Notified;
        Music->Open("/game/musics/2-0.mp3");
        Music->Rewind();
        Music->Play();
    };
    Music->Stop();
    Music->Open("/game/musics/1-0.mp3");
    Music->Rewind();
    Music->Play();
    for (int turn = 0; turn < 3; ++turn) Music->DeliverNotifications();
    EXPECT_EQ(Notified, 0);
    EXPECT_EQ(State.Loaded.back(), "/game/musics/1-0.mp3");
    EXPECT_TRUE(State.Playing);
}

TEST_F(MusicTest, NotifyThatReopensLoopsTheTrack) {
    // What the game does while a stage runs: every ended play reopens, rewinds and plays.
    Music->OnNotify = [this] {
        ++Notified;
        Music->Open("/game/musics/1-0.mp3");
        Music->Rewind();
        Music->Play();
    };
    Music->Open("/game/musics/1-0.mp3");
    Music->Rewind();
    Music->Play();
    for (int i = 0; i < 3; ++i) {
        TrackEnds(State);
        EXPECT_EQ(Music->DeliverNotifications(), 1);
        EXPECT_TRUE(State.Playing);
    }
    EXPECT_EQ(Notified, 3);
    EXPECT_EQ(State.PlayedFrom.size(), 4u);
    EXPECT_EQ(Music->PendingNotifications(), 0);
}

TEST_F(MusicTest, StopThenNotifySwitchesTracks) {
    // Stop names nothing; the notification of the cut play starts the next file.
    std::string next;
    Music->OnNotify = [&] {
        if (next.empty()) return;
        Music->Open(next);
        Music->Rewind();
        Music->Play();
    };
    Music->Open("/game/musics/1-0.mp3");
    Music->Play();
    Music->Stop();
    next = "/game/musics/2-0.mp3";
    Music->DeliverNotifications();
    EXPECT_TRUE(State.Playing);
    EXPECT_EQ(State.Loaded.back(), "/game/musics/2-0.mp3");
}

TEST_F(MusicTest, PlayResumesWhereStopLeftOffUntilRewound) {
    Music->Open("/game/musics/1-0.mp3");
    Music->Play();
    State.Position = 12.5;
    Music->Stop();
    Music->Play();
    Music->Stop();
    Music->Rewind();
    Music->Play();
    ASSERT_EQ(State.PlayedFrom.size(), 3u);
    EXPECT_EQ(State.PlayedFrom[0], 0);
    EXPECT_EQ(State.PlayedFrom[1], 12.5);
    EXPECT_EQ(State.PlayedFrom[2], 0);
}

// A game put back to another moment: its track from where it was then, counted round the
// track's length, the play running near there left alone, and no notification from the plays
// cut off to get there.
TEST_F(MusicTest, PlayAtFollowsTheGameWithoutANotification) {
    State.Duration = 100;
    Music->PlayAt("\\game\\musics\\1-0.mp3", 250);
    State.Position = 50.1;
    Music->PlayAt("/game/musics/1-0.mp3", 50);  // within a quarter second: left alone
    Music->PlayAt("/game/musics/2-0.mp3", 12);
    Music->PlayAt("/game/musics/2-0.mp3", 3);  // the same track, elsewhere
    EXPECT_EQ(State.PlayedFrom, (std::vector<double>{50, 12, 3}));
    EXPECT_EQ(State.Loaded, (std::vector<std::string>{"/game/musics/1-0.mp3", "/game/musics/2-0.mp3"}));
    EXPECT_EQ(Music->DeliverNotifications(), 0);
    EXPECT_THROW(Music->PlayAt("/game/musics/9-9.mp3", 0), EMCIDeviceError);
}

TEST(SilentMusic, ChecksFilesAndEndsPlaysOnStop) {
    const std::string path = (std::filesystem::temp_directory_path() / "kv_silent_track.mp3").string();
    std::ofstream(path) << "not really music";
    TSdlMusic m(NewSilentMusicBackend());
    int notified = 0;
    m.OnNotify = [&] { ++notified; };
    EXPECT_THROW(m.Open(path + ".missing"), EMCIDeviceError);
    m.Open(path);
    m.Rewind();
    m.Play();
    EXPECT_EQ(m.DeliverNotifications(), 0);  // a silent play does not end by itself
    m.Stop();
    EXPECT_EQ(m.DeliverNotifications(), 1);
    EXPECT_EQ(notified, 1);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace kv
