// Background music against a player that records its commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/World.h"

using kvtest::TWorld;
using Calls = std::vector<std::string>;

namespace {

std::string Track(TWorld& W, const std::string& Name) { return (W.Dir / "musics" / Name).string(); }

void MakeTrack(TWorld& W, const std::string& Name) {
    std::filesystem::create_directories(W.Dir / "musics");
    std::ofstream(Track(W, Name)) << "mp3";
}

// A game in progress, as the game start leaves it for the music.
void InGame(TWorld& W) {
    W.F().HudOn = true;
    W.F().Playing = true;
}

}  // namespace

TEST(Music, GameStartsPlayTheirOwnFirstTrack) {
    TWorld w;
    InGame(w);
    w.F().BGMStart(1);
    EXPECT_EQ(w.Music.Calls, (Calls{"open " + Track(w, "1-0.mp3"), "rewind", "play"}));
    EXPECT_EQ(w.F().MediaFileName.find("//"), std::string::npos);
    EXPECT_EQ(w.F().MediaFileName.find('\\'), std::string::npos);
    w.Music.Calls.clear();
    w.F().BGMStart(2);
    EXPECT_EQ(w.Music.Calls, (Calls{"open " + Track(w, "1-0-1.mp3"), "rewind", "play"}));
    // Any other number plays the file already chosen.
    w.Music.Calls.clear();
    w.F().BGMStart(7);
    EXPECT_EQ(w.Music.Calls.front(), "open " + Track(w, "1-0-1.mp3"));
}

TEST(Music, TrackLoopsWhileTheGameRuns) {
    TWorld w;
    InGame(w);
    w.F().BGMStart(1);
    w.Music.Calls.clear();
    w.Music.EndTrack();
    w.Frame(1);
    EXPECT_EQ(w.Music.Calls, (Calls{"open " + Track(w, "1-0.mp3"), "rewind", "play"}));
    EXPECT_TRUE(w.Music.PlayingNow);
}

TEST(Music, StopNamesTheNextTrackAndItsNotificationStartsIt) {
    TWorld w;
    InGame(w);
    w.F().BGMStart(1);
    w.Music.Calls.clear();
    w.F().BGMStop("\\2-0.mp3");
    EXPECT_EQ(w.Music.Calls, Calls{"stop"});
    w.Frame(1);
    EXPECT_EQ(w.Music.Calls, (Calls{"stop", "open " + Track(w, "2-0.mp3"), "rewind", "play"}));
    // One notification, one start: the new track is not restarted again.
    w.Frame(3);
    EXPECT_EQ(w.Music.Calls.size(), 4u);
}

TEST(Music, EndingScreensKeepTheMusicAndTheMenuSilencesIt) {
    TWorld w;
    InGame(w);
    w.F().BGMStart(1);
    w.F().Playing = false;  // game over: the HUD stays on until the reset
    w.Music.EndTrack();
    w.Frame(1);
    EXPECT_TRUE(w.Music.PlayingNow);
    w.Music.Calls.clear();
    w.F().Shokika();
    w.Frame(2);
    EXPECT_EQ(w.Music.Calls, Calls{"stop"});
    EXPECT_FALSE(w.Music.PlayingNow);
    EXPECT_TRUE(w.Music.IsOpen());  // the device stays open between games
}

TEST(Music, AGameStartedBeforeTheMenusStopIsDeliveredPlaysItsTrackOnce) {
    TWorld w;
    InGame(w);
    MakeTrack(w, "1-0.mp3");
    w.F().BGMStart(1);
    w.F().Shokika();  // stops the track; its notification is still pending
    InGame(w);
    w.F().BGMStart(1);
    w.Music.Calls.clear();
    w.Frame(3);  // delivers between frames; must come back
    EXPECT_EQ(w.Music.Calls, Calls{});
    EXPECT_TRUE(w.Music.PlayingNow);
}

TEST(Music, AMissingTrackIsReportedOnceAndTheGameGoesOn) {
    TWorld w;
    w.Music.RequireFiles = true;
    MakeTrack(w, "1-1.mp3");
    InGame(w);
    w.F().BGMStart(1);
    ASSERT_EQ(w.Errors.size(), 1u);
    EXPECT_NE(w.Errors[0].find("1-0.mp3"), std::string::npos);
    EXPECT_FALSE(w.Music.IsOpen());
    // The next track change brings the music back even though nothing was playing to cut off.
    w.F().BGMStop("\\1-1.mp3");
    EXPECT_TRUE(w.Music.PlayingNow);
    EXPECT_EQ(w.Music.OpenPath, Track(w, "1-1.mp3"));

    // A second game with the same missing track: no second report.
    w.F().Shokika();
    InGame(w);
    w.F().BGMStart(1);
    EXPECT_EQ(w.Errors.size(), 1u);
    // The reset does not trip over a player that has nothing open.
    w.Music.Calls.clear();
    EXPECT_TRUE(w.F().Handle([&] { w.F().Shokika(); }));
    EXPECT_TRUE(w.F().ResetDone);
    EXPECT_EQ(w.Music.Calls, Calls{});
}

TEST(Music, NoPlayerMeansSilence) {
    TWorld w;
    w.Music.OnNotify = nullptr;
    w.F().MediaPlayer1 = nullptr;
    InGame(w);
    EXPECT_TRUE(w.F().Handle([&] {
        w.F().BGMStart(1);
        w.F().BGMStop("\\1-1.mp3");
        w.F().MediaPlayer1Notify();
        w.F().Shokika();
    }));
    EXPECT_TRUE(w.Music.Calls.empty());
    EXPECT_TRUE(w.Errors.empty());
}
