// The record survives a program killed while it saves: a child saves Score.dtf again and again
// through the window's own Save, alternating two records, and is killed at a random moment.
// Afterwards the file is always one of the two records, whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "shell/ScoreFile.h"
#include "support/World.h"

namespace {

struct TRecord {
    std::string Name, Comment;
    int32_t Score, ExtraOpen;
};

// Two records of different lengths, so that a torn write could not pass for either.
const TRecord kRecords[2] = {{"太郎", "はじめての記録", 81200, 0},
                             {"Hanako", "A much longer comment than the first record has", 1234567, 1}};

std::string Bytes(const TRecord& R) {
    kv::TScoreRecord r;
    r.Name = R.Name, r.Comment = R.Comment, r.Score = R.Score, r.ExtraOpen = R.ExtraOpen;
    return kv::FormatScoreFile(kv::ScoreFileLines(r, "Score.dtf"));
}

std::string ReadFile(const std::filesystem::path& Path) {
    std::ifstream f(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Temporaries of saves that were cut off before their rename; they are removed once counted.
int TakeTemporaries(const std::filesystem::path& Dir) {
    int n = 0;
    for (auto& e : std::filesystem::directory_iterator(Dir)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("Score.dtf.", 0) == 0) {
            ++n;
            std::filesystem::remove(e.path());
        }
    }
    return n;
}

// In the child: save the two records in turn for ever, telling the parent after the first.
[[noreturn]] void SaveForEver(kvtest::TWorld& W, int Ready) {
    try {
        for (uint64_t i = 1;; ++i) {
            const TRecord& r = kRecords[i % 2];
            W.F().HighScoreName = r.Name;
            W.F().HighScoreComment = r.Comment;
            W.F().HighScore = r.Score;
            W.F().ExtraOpen = r.ExtraOpen;
            W.F().Save();
            if (i == 1 && ::write(Ready, "s", 1) != 1) ::_exit(4);
        }
    } catch (...) {
        ::_exit(3);
    }
}

}  // namespace

TEST(ScoreFileKill, AKilledSaveLeavesTheOldOrTheNewRecordNeverABrokenOne) {
    kvtest::TWorldOptions o;
    o.ScoreFile = Bytes(kRecords[0]);
    kvtest::TWorld w(o);
    ASSERT_TRUE(w.Errors.empty());
    const std::string good[2] = {Bytes(kRecords[0]), Bytes(kRecords[1])};

    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> delayUs(0, 3000);
    int midWrite = 0, kills = 0;
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const int delay = delayUs(random);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            SaveForEver(w, pipeFds[1]);
        }
        ::close(pipeFds[1]);
        char c;
        const bool ready = ::read(pipeFds[0], &c, 1) == 1;
        ::close(pipeFds[0]);
        if (ready) std::this_thread::sleep_for(std::chrono::microseconds(delay));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(ready) << "the child stopped before its first save, status " << status;
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child ended by itself, status " << status;
        ++kills;
        // A temporary left behind means the kill came between its creation and the rename.
        midWrite += TakeTemporaries(w.Dir) > 0;

        const std::string now = ReadFile(w.ScorePath());
        ASSERT_TRUE(now == good[0] || now == good[1]) << "a broken record: '" << now << "'";
        kv::TScoreRecord r;
        ASSERT_NO_THROW(kv::ParseScoreFile(now, w.ScorePath(), r));
        const TRecord& want = kRecords[now == good[0] ? 0 : 1];
        EXPECT_EQ(r.Name, want.Name);
        EXPECT_EQ(r.Score, want.Score);
        EXPECT_EQ(r.Comment, want.Comment);
        EXPECT_EQ(r.ExtraOpen, want.ExtraOpen);
    }
    std::cout << "[ kills    ] " << kills << " kills, " << midWrite << " of them during a write\n";
    RecordProperty("kills_during_write", midWrite);
    // Kills that all fell between saves would prove nothing about the write itself.
    EXPECT_GT(midWrite, 0);
}
