// The game-over and game-clear screens: slide, hold, and the hand-over to the record or the menu.
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include "player/Play.h"
#include "shell/EndScreens.h"

using namespace kv;
using kvtest::TWorld;
using kvtest::TWorldOptions;

namespace {

TWorldOptions WithRecord(int HighScore) {
    TWorldOptions o;
    o.ScoreFile = "Taro\r\n" + std::to_string(HighScore) + "\r\nHello\r\n0\r\n";
    o.WriteScoreFile = true;
    return o;
}

// Counts the times Score.dtf is written (in place or renamed over) in a folder.
class TScoreWrites {
public:
    explicit TScoreWrites(const std::string& Dir) : Fd_(inotify_init1(IN_NONBLOCK)) {
        inotify_add_watch(Fd_, Dir.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO);
    }
    ~TScoreWrites() { close(Fd_); }
    int Count() {
        alignas(inotify_event) char buf[8192];
        for (;;) {
            ssize_t n = read(Fd_, buf, sizeof buf);
            if (n <= 0) break;
            for (char* p = buf; p < buf + n;) {
                auto* e = reinterpret_cast<inotify_event*>(p);
                if (e->len && std::string(e->name) == "Score.dtf") ++Count_;
                p += sizeof(inotify_event) + e->len;
            }
        }
        return Count_;
    }

private:
    int Fd_;
    int Count_ = 0;
};

}  // namespace

TEST(GameOverScreen, SlidesFortyStepsHoldsAndActsOnItsStep190) {
    TWorld w(WithRecord(500));
    kvtest::StartPlaying(w);
    w.F().Playing = false;
    w.F().Score = 500;  // equal is not a record
    auto* screen = new TGameOverSprite(w.E());
    EXPECT_DOUBLE_EQ(screen->X, 20.5);
    EXPECT_DOUBLE_EQ(screen->Y, -58);
    EXPECT_EQ(screen->Image, w.F().Picture("GameOver"));
    EXPECT_NE(kvtest::Events(w, "game_over").at(0).find("\"score\":500"), std::string::npos);
    w.Frame(39);
    EXPECT_LT(screen->Y, 174);
    w.Frame();
    EXPECT_GE(screen->Y, 174);
    const double held = screen->Y;
    EXPECT_EQ(w.F().GameOverCount, 0);
    w.Frame(149);
    EXPECT_DOUBLE_EQ(screen->Y, held);
    EXPECT_EQ(w.F().GameOverCount, 149);
    EXPECT_FALSE(screen->Killed);
    EXPECT_EQ(w.F().Log.CountOf("menu"), 0);
    w.Frame();  // step 190
    EXPECT_TRUE(screen->Killed);
    EXPECT_EQ(w.F().GameOverCount, 0);
    EXPECT_EQ(w.F().Log.CountOf("menu"), 1);
    EXPECT_TRUE(w.F().ResetDone);
    EXPECT_FALSE(w.F().NameEntry);
    EXPECT_EQ(w.F().HighScore, 500);
}

TEST(GameOverScreen, ANewRecordOpensTheNameEntry) {
    TWorld w(WithRecord(500));
    TScoreWrites writes(w.Dir.string());
    w.F().Score = 501;
    new TGameOverSprite(w.E());
    w.Frame(190);
    EXPECT_EQ(w.F().HighScore, 501);
    EXPECT_TRUE(w.F().NameEntry);
    EXPECT_EQ(w.F().Log.CountOf("menu"), 0);
    EXPECT_EQ(writes.Count(), 0) << "the name entry writes the record";
}

TEST(GameClearScreen, AWonGameWithANewRecordWritesScoreDtfTwice) {
    TWorld w(WithRecord(500));
    kvtest::StartPlaying(w);
    TScoreWrites writes(w.Dir.string());
    w.F().Score = 900;
    auto* screen = new TGameClearSprite(w.E());
    EXPECT_FALSE(w.F().Playing);
    EXPECT_DOUBLE_EQ(screen->X, 35);
    EXPECT_EQ(w.F().Log.CountOf("game_clear"), 1);
    w.Frame(189);
    EXPECT_FALSE(w.All<TZikiSprite>().front()->Killed) << "the ship stays until the screen acts";
    EXPECT_EQ(writes.Count(), 0);
    w.Frame();
    EXPECT_EQ(writes.Count(), 2);
    EXPECT_EQ(w.F().ExtraOpen, 1);
    EXPECT_EQ(w.F().HighScore, 900);
    EXPECT_EQ(w.ReadScoreFile(), "Taro\r\n900\r\nHello\r\n1\r\n");
    EXPECT_TRUE(w.All<TZikiSprite>().front()->Killed);
    EXPECT_TRUE(w.All<TZikiHanteiSprite>().front()->Killed);
    EXPECT_TRUE(screen->Killed);
    EXPECT_TRUE(w.F().NameEntry);
    EXPECT_EQ(w.F().Log.CountOf("menu"), 0);
}

TEST(GameClearScreen, AWonGameBelowTheRecordStillUnlocksTheExtraStage) {
    TWorld w(WithRecord(500));
    kvtest::StartPlaying(w);
    TScoreWrites writes(w.Dir.string());
    w.F().Score = 400;
    new TGameClearSprite(w.E());
    w.Frame(190);
    EXPECT_EQ(writes.Count(), 1);
    EXPECT_EQ(w.ReadScoreFile(), "Taro\r\n500\r\nHello\r\n1\r\n");
    EXPECT_EQ(w.F().Log.CountOf("menu"), 1);
    EXPECT_TRUE(w.F().Button6.Visible);
}

TEST(GameClearScreen, AnUnwritableRecordIsReportedAndTheMenuStillReturns) {
    TWorld w(WithRecord(500));
    kvtest::StartPlaying(w);
    std::filesystem::remove(w.ScorePath());
    std::filesystem::create_directory(w.ScorePath());  // cannot be replaced by a file
    w.F().Score = 400;
    new TGameClearSprite(w.E());
    w.Frame(190);
    EXPECT_FALSE(w.Errors.empty());
    EXPECT_EQ(w.F().Log.CountOf("menu"), 1);
    EXPECT_EQ(w.CountOf<TGameClearSprite>(), 1);
    w.Frame();
    EXPECT_EQ(w.CountOf<TGameClearSprite>(), 0);
}

TEST(GameClearScreen, RemovedAsTheMenuReturnsItStillCountsAndActsInThatStep) {
    // A game-over screen hands back to the menu while a game-clear screen of the same game holds:
    // the clear screen's next step removes it, and that step still counts to 150 and acts.
    TWorld w(WithRecord(500));
    kvtest::StartPlaying(w);
    w.F().Score = 400;
    auto* screen = new TGameClearSprite(w.E());
    w.Frame(189);
    EXPECT_EQ(w.F().GameClearCount, 149);
    w.F().Shokika();
    w.Frame();
    EXPECT_TRUE(screen->Killed);
    EXPECT_EQ(w.F().GameClearCount, 0);
    EXPECT_EQ(w.F().ExtraOpen, 1);
    EXPECT_EQ(w.ReadScoreFile(), "Taro\r\n500\r\nHello\r\n1\r\n");
    EXPECT_EQ(w.F().Log.CountOf("menu"), 2);
}
