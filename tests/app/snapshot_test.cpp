// Snapshots of the whole game: restored in a fresh window, a game goes on exactly as it went.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Autopilot.h"
#include "app/Session.h"
#include "player/Play.h"
#include "shell/StateChecksum.h"
#include "snapshot/GameSnapshot.h"
#include "support/SessionFrame.h"

using namespace kv;
using kvtest::TWorld;

namespace {

constexpr int64_t Every = 300;

using kvtest::RunSessionFrame;

struct TCheckpoint {
    std::unique_ptr<TGameSnapshot> Snapshot;
    uint64_t Checksum;
    size_t LogLine;  // the event log's length at the snapshot
};

}  // namespace

// The autopilot plays a whole normal game and then the Extra game; every 300 frames the game is
// snapshotted. Each snapshot, restored in a window of its own and played on with the recorded
// input, reaches the next checkpoint with the same checksum and writes the same events.
TEST(Snapshot, RestoredInAFreshWindowEveryCheckpointOfANormalAndAnExtraGameComesOutTheSame) {
    const auto dir = std::filesystem::temp_directory_path() / ("kv-snapshot-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    app::TOptions recordOptions;
    recordOptions.RecordFile = (dir / "run.rec").string();
    recordOptions.Invincible = recordOptions.Autopilot = true;
    std::vector<TCheckpoint> checkpoints;
    std::vector<std::string> lines;
    {
        TWorld a;
        a.Surface.Record = false;
        app::TSession s(recordOptions);
        s.OpenFiles();
        s.Attach(a.F(), 1);
        a.F().Log.Sink = [&](const std::string& L) { lines.push_back(L); };
        app::TAutopilot pilot(a.F(), a.Keyboard);
        TKeyboard recorder(&a.Keyboard);
        ASSERT_TRUE(s.StartRequestedGame());
        for (int64_t frame = 1; frame <= 150000 && a.F().Log.CountOf("game_clear") < 2; ++frame) {
            RunSessionFrame(a, s, frame, &pilot, &recorder);
            if (frame % Every == 0)
                checkpoints.push_back({std::make_unique<TGameSnapshot>(a.F()), StateChecksum(a.F()), lines.size()});
            if (frame % 60 == 0) s.Timer(frame + 1);
        }
        s.Finish();
        ASSERT_EQ(a.F().Log.CountOf("game_clear"), 2) << "the autopilot did not clear the normal game and the Extra game";
        ASSERT_EQ(a.F().Log.CountOf("start"), 2);
    }

    app::TOptions playOptions;
    playOptions.InputFile = recordOptions.RecordFile;
    for (size_t i = 0; i + 1 < checkpoints.size(); ++i) {
        const int64_t from = static_cast<int64_t>(i + 1) * Every;
        TWorld b;
        b.Surface.Record = false;
        app::TSession s(playOptions);
        s.OpenFiles();
        s.Attach(b.F(), 1);
        std::vector<std::string> own;
        b.F().Log.Sink = [&](const std::string& L) { own.push_back(L); };
        checkpoints[i].Snapshot->Restore(b.F());
        ASSERT_EQ(StateChecksum(b.F()), checkpoints[i].Checksum) << "restored at frame " << from;
        s.SkipScriptTo(from, &b.Keyboard);
        for (int64_t frame = from + 1; frame <= from + Every; ++frame) RunSessionFrame(b, s, frame, nullptr, nullptr);
        ASSERT_EQ(StateChecksum(b.F()), checkpoints[i + 1].Checksum) << "from frame " << from;
        ASSERT_FALSE(s.Diverged());
        const std::vector<std::string> want(lines.begin() + checkpoints[i].LogLine,
                                            lines.begin() + checkpoints[i + 1].LogLine);
        ASSERT_EQ(own, want) << "the events after frame " << from;
    }
    std::filesystem::remove_all(dir);
}

// Restoring in the same window, after the game has gone on, takes it back to the snapshot.
TEST(Snapshot, RestoredInTheSameWindowTheGameReturnsToItsMoment) {
    TWorld w;
    w.Surface.Record = false;
    auto run = [&](int Frames) {
        for (int i = 1; i <= Frames; ++i) {
            w.Frame(1);
            if (w.F().Log.Frame % 60 == 0) w.Tick();
        }
        return StateChecksum(w.F());
    };
    w.F().Handle([&] { w.F().Button1Click(); });
    w.Press(isButton1);
    w.Press(isLeft);
    const uint64_t then = run(400);
    const TGameSnapshot snap(w.F());
    const uint64_t later = run(300);
    ASSERT_NE(later, then);
    snap.Restore(w.F());
    EXPECT_EQ(StateChecksum(w.F()), then);
    EXPECT_EQ(run(300), later);
    EXPECT_GT(snap.Bytes(), sizeof(TGameSnapshot));
}

namespace {
// A class someone added without KV_SPRITE_COPY.
class TForgottenSprite : public TImageSpriteEx {
public:
    using TImageSpriteEx::TImageSpriteEx;
};
}  // namespace

TEST(Snapshot, AClassWithoutACopyOfItsOwnIsNamedAndTheGameIsLeftAsItWas) {
    TWorld w;
    kvtest::StartPlaying(w);
    new TForgottenSprite(w.E());
    const int members = w.E()->MemberCount;
    try {
        TGameSnapshot snap(w.F());
        FAIL() << "the snapshot copied a class it does not know as another";
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string(e.what()).find("TForgottenSprite"), std::string::npos) << e.what();
    }
    EXPECT_EQ(w.E()->MemberCount, members);
}
