// The record file, the score display and the name entry.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "shell/ShiftJis.h"
#include "support/World.h"

using kvtest::TWorld;
using kvtest::TWorldOptions;

namespace {

TWorldOptions WithFile(const std::string& Contents) {
    TWorldOptions o;
    o.ScoreFile = Contents;
    o.WriteScoreFile = true;
    return o;
}

void WriteFile(const std::string& Path, const std::string& Bytes) {
    std::ofstream f(Path, std::ios::binary | std::ios::trunc);
    f << Bytes;
}

std::string ReadFile(const std::string& Path) {
    std::ifstream f(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

bool HasLeftovers(const std::filesystem::path& Dir) {
    for (auto& e : std::filesystem::directory_iterator(Dir))
        if (e.path().filename().string().rfind("Score.dtf.", 0) == 0 && e.path().filename() != "Score.dtf.bak")
            return true;
    return false;
}

}  // namespace

TEST(ScoreFile, FourLinesLoadAndShowInTheScoreDisplay) {
    TWorld w(WithFile("Taro\r\n800\r\nHello\r\n1\r\n"));
    EXPECT_TRUE(w.Errors.empty());
    EXPECT_EQ(w.F().HighScoreName, "Taro");
    EXPECT_EQ(w.F().HighScore, 800);
    EXPECT_EQ(w.F().HighScoreComment, "Hello");
    EXPECT_EQ(w.F().ExtraOpen, 1);
    EXPECT_TRUE(w.F().Button6.Visible);

    w.F().Button4.OnClick();
    ASSERT_EQ(w.Dialogs.Messages.size(), 2u);
    EXPECT_EQ(w.Dialogs.Messages[0], "最高記録：Taroさんの800点");
    EXPECT_EQ(w.Dialogs.Messages[1], "Taroさんのコメント：Hello");
    EXPECT_EQ(w.Audio.CountOf("Pingpong"), 1);
}

TEST(ScoreFile, EveryLineEndReadsTheSameAndSaveWritesCrLf) {
    const std::string expected = "Taro\r\n-5\r\nHello\r\n0\r\n";
    for (const std::string& text : {std::string("Taro\n-5\nHello\n0\n"), std::string("Taro\r-5\rHello\r0"),
                                    std::string("Taro\0-5\0Hello\0" "0", 15), std::string("Taro\r\n-5\nHello\r0\r\n")}) {
        SCOPED_TRACE(text);
        TWorld w(WithFile(text));
        EXPECT_TRUE(w.Errors.empty());
        EXPECT_EQ(w.F().HighScoreName, "Taro");
        EXPECT_EQ(w.F().HighScore, -5);
        EXPECT_EQ(w.F().HighScoreComment, "Hello");
        EXPECT_EQ(w.F().ExtraOpen, 0);
        EXPECT_EQ(w.F().ScoreLines.size(), 4u);
        w.F().Save();
        EXPECT_EQ(w.ReadScoreFile(), expected);
    }
}

TEST(ScoreFile, EmptyLinesAndLinesAfterTheFourthSurvive) {
    TWorld w(WithFile("Taro\r\n800\r\n\r\n0\r\nfifth\r\n\r\nseventh"));
    EXPECT_EQ(w.F().HighScoreComment, "");
    ASSERT_EQ(w.F().ScoreLines.size(), 7u);
    // A game clear without a new record: only the unlock changes.
    w.F().ExtraOpen = 1;
    w.F().Save();
    EXPECT_EQ(w.ReadScoreFile(), "Taro\r\n800\r\n\r\n1\r\nfifth\r\n\r\nseventh\r\n");
}

TEST(ScoreFile, NumbersAreThirtyTwoBitDecimalsWithOptionalSignAndSpaces) {
    struct TCase {
        const char* Text;
        bool Ok;
        int32_t Value;
    };
    const TCase cases[] = {{" 42 ", true, 42},          {"+7", true, 7},
                           {"-2147483648", true, INT32_MIN}, {"2147483647", true, INT32_MAX},
                           {"2147483648", false, 0},    {"-2147483649", false, 0},
                           {"12abc", false, 0},         {"", false, 0},
                           {"-", false, 0},             {"1 2", false, 0},
                           {"0x10", false, 0},          {"９", false, 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        TWorld w(WithFile(std::string("A\r\n") + c.Text + "\r\nB\r\n0\r\n"));
        if (c.Ok) {
            EXPECT_TRUE(w.Errors.empty());
            EXPECT_EQ(w.F().HighScore, c.Value);
            EXPECT_EQ(w.F().HighScoreComment, "B");
        } else {
            ASSERT_EQ(w.Errors.size(), 1u);
            EXPECT_NE(w.Errors[0].find("Score.dtf"), std::string::npos);
            EXPECT_NE(w.Errors[0].find("2 行目"), std::string::npos);
            EXPECT_EQ(w.F().HighScoreName, "A");  // read before the bad line
            EXPECT_EQ(w.F().HighScore, 0);
            EXPECT_EQ(w.F().HighScoreComment, "");  // never reached
        }
    }
}

TEST(ScoreFile, MissingFileIsAFirstStartAndTheFirstSaveWritesAWholeRecord) {
    TWorld w;  // no Score.dtf
    EXPECT_TRUE(w.Errors.empty());
    EXPECT_TRUE(w.Dialogs.Messages.empty());
    EXPECT_EQ(w.F().HighScore, 0);
    EXPECT_EQ(w.F().HighScoreName, "");
    EXPECT_EQ(w.F().ExtraOpen, 0);
    EXPECT_FALSE(w.F().Button6.Visible);

    w.F().ExtraOpen = 1;  // the game-clear screen's unlock
    ASSERT_TRUE(w.F().Handle([&] { w.F().Save(); }));
    EXPECT_EQ(w.ReadScoreFile(), "\r\n0\r\n\r\n1\r\n");
    w.F().Load();
    EXPECT_EQ(w.F().ExtraOpen, 1);
}

TEST(ScoreFile, ShortFileNamesTheMissingLineAndIsKeptBeforeTheFirstOverwrite) {
    const std::string original = "Taro\r\n800\r\n";
    TWorld w(WithFile(original));
    ASSERT_EQ(w.Errors.size(), 1u);
    EXPECT_NE(w.Errors[0].find(w.ScorePath()), std::string::npos);
    EXPECT_NE(w.Errors[0].find("3 行目"), std::string::npos);
    EXPECT_NE(w.Errors[0].find("リストのインデックスが範囲を超えています (2)"), std::string::npos) << w.Errors[0];
    EXPECT_EQ(w.F().HighScoreName, "Taro");
    EXPECT_EQ(w.F().HighScore, 800);
    EXPECT_FALSE(w.F().Button6.Visible);  // the rest of the start-up was skipped

    w.F().HighScoreComment = "new";
    w.F().Save();
    EXPECT_EQ(ReadFile(w.ScorePath() + ".bak"), original);
    EXPECT_EQ(w.ReadScoreFile(), "Taro\r\n800\r\nnew\r\n0\r\n");

    // The copy is of the damaged file, not of a later good one.
    w.F().Load();
    w.F().HighScore = 900;
    w.F().Save();
    EXPECT_EQ(ReadFile(w.ScorePath() + ".bak"), original);
    EXPECT_FALSE(HasLeftovers(w.Dir));
}

TEST(ScoreFile, ShiftJisOnDiskUtf8InMemory) {
    // 太郎 / ｶﾙｳﾞｪﾝﾄ～表示 in code page 932 (表 ends in the byte 0x5C).
    const std::string name = "\x91\xbe\x98\x59";
    const std::string comment = "\xb6\xd9\xb3\xde\xaa\xdd\xc4\x81\x60\x95\x5c\x8e\xa6";
    const std::string file = name + "\r\n100\r\n" + comment + "\r\n0\r\n";
    TWorld w(WithFile(file));
    EXPECT_EQ(w.F().HighScoreName, "太郎");
    EXPECT_EQ(w.F().HighScoreComment, "ｶﾙｳﾞｪﾝﾄ～表示");
    w.F().Save();
    EXPECT_EQ(w.ReadScoreFile(), file);

    w.F().HighScoreName = "花子";
    w.F().Save();
    w.F().Load();
    EXPECT_EQ(w.F().HighScoreName, "花子");
}

TEST(ScoreFile, LinesThatAreNotShiftJisShowAsBestTheyCanAndAreWrittenBackAsTheyWere) {
    // A lead byte without its partner in the name, a lone 0xFD in the comment, and a fifth line
    // from some other program in Latin-1.
    const std::string file = "Taro\x81\r\n800\r\nHi\xfd!\r\n1\r\ncaf\xe9 \x81\r\n";
    TWorld w(WithFile(file));
    EXPECT_TRUE(w.Errors.empty()) << w.Errors[0];
    EXPECT_EQ(w.F().HighScoreName, "Taro\xEF\xBF\xBD");
    EXPECT_EQ(w.F().HighScoreComment, "Hi\xEF\xBF\xBD!");
    EXPECT_EQ(w.F().ExtraOpen, 1);
    w.F().HighScore = 900;
    w.F().Save();
    EXPECT_EQ(w.ReadScoreFile(), "Taro\x81\r\n900\r\nHi\xfd!\r\n1\r\ncaf\xe9 \x81\r\n");

    w.F().HighScoreName = "花子";  // a new name replaces its line; the rest stays as it was
    w.F().Save();
    EXPECT_EQ(w.ReadScoreFile(), *kv::Utf8ToShiftJis("花子") + "\r\n900\r\nHi\xfd!\r\n1\r\ncaf\xe9 \x81\r\n");
}

TEST(ScoreFile, FailedSaveLeavesTheOldFileWhole) {
    const std::string original = "Taro\r\n800\r\nHello\r\n1\r\n";
    TWorld w(WithFile(original));
    w.F().HighScoreName = "😀";  // cannot be written in Shift-JIS
    EXPECT_FALSE(w.F().Handle([&] { w.F().Save(); }));
    EXPECT_EQ(w.ReadScoreFile(), original);

    // The file cannot be replaced at all: no half-written temporary is left behind.
    w.F().HighScoreName = "Jiro";
    std::filesystem::remove(w.ScorePath());
    std::filesystem::create_directories(w.Dir / "Score.dtf" / "keep");
    EXPECT_FALSE(w.F().Handle([&] { w.F().Save(); }));
    EXPECT_TRUE(std::filesystem::is_directory(w.Dir / "Score.dtf" / "keep"));
    EXPECT_FALSE(HasLeftovers(w.Dir));
}

TEST(ScoreFile, AFileThatCannotBeOpenedIsNeverOverwritten) {
    TWorldOptions o;
    o.RunFormCreate = false;
    TWorld w(o);
    std::filesystem::create_directories(w.Dir / "Score.dtf" / "keep");
    EXPECT_FALSE(w.F().Handle([&] { w.F().Load(); }));
    ASSERT_EQ(w.Errors.size(), 1u);
    EXPECT_NE(w.Errors[0].find(w.ScorePath()), std::string::npos);
    EXPECT_FALSE(w.F().Handle([&] { w.F().Save(); }));
    EXPECT_TRUE(std::filesystem::is_directory(w.Dir / "Score.dtf" / "keep"));
}

TEST(ScoreFile, ASaveRemovesOnlyTheTemporariesThatKilledSavesLeft) {
    TWorld w(WithFile("Taro\r\n800\r\nHello\r\n1\r\n"));
    auto make = [&](const std::string& Name, std::chrono::seconds Age) {
        const std::filesystem::path p = w.Dir / Name;
        WriteFile(p.string(), "Taro\r\n8");
        std::filesystem::last_write_time(p, std::filesystem::file_time_type::clock::now() - Age);
        return p;
    };
    using std::chrono::seconds;
    const auto dead = make("Score.dtf.saving-Ab3xZ9", seconds(120));
    const auto deadBackup = make("Score.dtf.bak.saving-q1w2e3", seconds(120));
    const auto fresh = make("Score.dtf.saving-Fresh1", seconds(5));  // may be a save under way
    const auto locked = make("Score.dtf.saving-Lock3d", seconds(120));
    const auto players = make("Score.dtf.backup", seconds(120));  // the player's own copy
    const auto other = make("Score.dtf.saving-toolong1", seconds(120));
    // A live save holds its temporary's lock, however long it has been stalled.
    const int fd = ::open(locked.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);

    w.F().HighScore = 900;
    w.F().Save();
    ::close(fd);
    EXPECT_EQ(w.ReadScoreFile(), "Taro\r\n900\r\nHello\r\n1\r\n");
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_TRUE(std::filesystem::exists(deadBackup));  // only a save of the copy takes those
    EXPECT_TRUE(std::filesystem::exists(fresh));
    EXPECT_TRUE(std::filesystem::exists(locked));
    EXPECT_TRUE(std::filesystem::exists(players));
    EXPECT_TRUE(std::filesystem::exists(other));
}

TEST(NameEntry, FieldsKeepOneLineOfShiftJisText) {
    TWorld w;
    auto& filter = w.F().Edit1.Filter;
    ASSERT_TRUE(filter);
    EXPECT_EQ(filter(std::string("Ta\r\nro\0!", 9)), "Taro!");
    EXPECT_EQ(filter("太郎😀ｶﾅ"), "太郎ｶﾅ");
    EXPECT_EQ(w.F().Edit2.Filter("a\tb\x7f" "c\xff"), "abc");
    // What is kept reads as it will after the trip to the file and back.
    EXPECT_EQ(filter("〜"), *kv::ShiftJisToUtf8(*kv::Utf8ToShiftJis("〜")));
    // Accented Latin letters become their plain letters; what cannot be kept is said, not lost
    // unseen. Letters and signs Shift-JIS holds stay as they are.
    EXPECT_EQ(filter("Zoë Ångström Straße Œuvre"), "Zoe Angstrom Strasse OEuvre");
    EXPECT_EQ(w.F().Edit1.Refuses("Zoë"), "");
    EXPECT_EQ(filter("α×Д"), "α×Д");
    EXPECT_EQ(filter("A😀€B"), "AB");
    EXPECT_EQ(w.F().Edit2.Refuses("A😀€B\n"), "😀€");

    // Text that reached a field some other way is cleaned when it is taken over.
    w.F().Edit1.Text = "Ta\nro";
    w.F().Edit2.Text = std::string("hi\0there", 8);
    w.F().EditHide();
    EXPECT_EQ(w.F().HighScoreName, "Taro");
    EXPECT_EQ(w.F().HighScoreComment, "hithere");
}

TEST(NameEntry, DecisionStoresTheRecordAndReturnsToTheMenu) {
    TWorld w(WithFile("Taro\r\n800\r\nHello\r\n1\r\nfifth\r\n"));
    kv::TForm1& f = w.F();
    f.HudOn = true;
    f.AllButtonHide();
    f.Score = 1200;
    f.HighScore = f.Score;  // what the end-of-game screen does on a new record
    f.EditShow();
    EXPECT_TRUE(f.NameEntry);
    EXPECT_TRUE(f.Edit1.Visible && f.Edit2.Visible && f.Button5.Visible);
    EXPECT_EQ(f.Log.CountOf("name_entry"), 1);

    f.Edit1.Text = "花子";
    f.Edit2.Text = "やった";
    f.Button5.OnClick();
    EXPECT_TRUE(w.Errors.empty());
    EXPECT_FALSE(f.NameEntry);
    EXPECT_FALSE(f.Edit1.Visible || f.Edit2.Visible || f.Button5.Visible);
    EXPECT_EQ(f.Edit1.Text, "");
    EXPECT_EQ(f.Edit2.Text, "");
    EXPECT_TRUE(f.Button1.Visible && f.Button6.Visible);
    EXPECT_TRUE(f.ResetDone);
    EXPECT_EQ(f.HighScoreName, "花子");
    EXPECT_EQ(f.HighScore, 1200);
    const std::string expected = *kv::Utf8ToShiftJis("花子\r\n1200\r\nやった\r\n1\r\nfifth\r\n");
    EXPECT_EQ(w.ReadScoreFile(), expected);
}

TEST(NameEntry, ARecordThatCannotBeWrittenDoesNotStrandThePlayer) {
    TWorld w(WithFile("Taro\r\n800\r\nHello\r\n0\r\n"));
    kv::TForm1& f = w.F();
    f.AllButtonHide();
    f.HighScore = 1000;
    f.EditShow();
    f.Edit1.Text = "Jiro";
    std::filesystem::remove(w.ScorePath());
    std::filesystem::create_directories(w.Dir / "Score.dtf" / "keep");
    f.Button5.OnClick();
    EXPECT_FALSE(w.Errors.empty());
    EXPECT_FALSE(f.NameEntry);
    EXPECT_TRUE(f.Button1.Visible && f.Button3.Visible);
}
