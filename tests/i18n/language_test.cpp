// The player's language: which one a desktop asks for, and the lookup through the English
// catalogue the build compiled.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "i18n/Tr.h"

namespace kv::i18n {
namespace {

class ShownLanguage : public ::testing::Test {
protected:
    void SetUp() override { SetLocaleDir(KV_TEST_LOCALE_DIR); }
    void TearDown() override { SetLanguage("ja"); }
};

TEST_F(ShownLanguage, TheDesktopsVariablesChooseWhateverLocalesAreInstalled) {
    auto desktop = [](std::map<std::string, std::string> Env) {
        return DesktopLanguage([&](const char* Name) -> const char* {
            auto it = Env.find(Name);
            return it == Env.end() ? nullptr : it->second.c_str();
        });
    };
    EXPECT_EQ(desktop({}), "ja");
    EXPECT_EQ(desktop({{"LANG", "C.UTF-8"}}), "ja");
    EXPECT_EQ(desktop({{"LANG", "POSIX"}}), "ja");
    EXPECT_EQ(desktop({{"LANG", "ja_JP.UTF-8"}}), "ja");
    EXPECT_EQ(desktop({{"LANG", "en_GB.UTF-8"}}), "en");
    // A language without a catalogue of its own is shown in English.
    EXPECT_EQ(desktop({{"LANG", "de_DE.UTF-8"}}), "en");
    EXPECT_EQ(desktop({{"LANG", "ja_JP.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}), "en");
    EXPECT_EQ(desktop({{"LANG", "en_US.UTF-8"}, {"LC_ALL", "ja_JP.UTF-8"}}), "ja");
    // LANGUAGE wins even over the C locale; its first language this build has counts.
    EXPECT_EQ(desktop({{"LANG", "C.UTF-8"}, {"LANGUAGE", "en"}}), "en");
    EXPECT_EQ(desktop({{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "fr:ja:en"}}), "ja");
    EXPECT_EQ(desktop({{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "fr_CA:de"}}), "en");
    EXPECT_EQ(desktop({{"LANG", "en_US.UTF-8"}, {"LANGUAGE", ""}}), "en");
}

TEST_F(ShownLanguage, EnglishTranslatesTextsAndFilledFormatsAndLeavesTheRestAlone) {
    ASSERT_EQ(SetLanguage("en"), "");
    EXPECT_EQ(Language(), "en");
    EXPECT_EQ(Tr("終了"), "Quit");
    EXPECT_EQ(Tr("迎撃兵R-1"), "R-One");
    // A message the game put together is matched against its format; pieces may move.
    const std::string record = Format("最高記録：%sさんの%d点", {"Zoe", "12345"});
    EXPECT_EQ(record, "最高記録：Zoeさんの12345点");
    EXPECT_EQ(Tr(record), "High score: 12345 points by Zoe");
    EXPECT_EQ(Tr("'x1' は有効な整数値ではありません (/r/Score.dtf の 2 行目)"),
              "'x1' is not a valid integer (line 2 of /r/Score.dtf)");
    // A player's name and a picture's name are no message ids.
    EXPECT_EQ(Tr("Zoë"), "Zoë");
    EXPECT_EQ(Tr("アールワン"), "アールワン");
    EXPECT_EQ(Tr(""), "");

    ASSERT_EQ(SetLanguage("ja"), "");
    EXPECT_EQ(Tr("終了"), "終了");
    EXPECT_EQ(Tr(record), record);
}

TEST_F(ShownLanguage, ACatalogueThatCannotBeReadLeavesTheGameInJapanese) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kv-language-test";
    std::filesystem::create_directories(dir / "xx/LC_MESSAGES");
    std::ofstream(dir / "xx/LC_MESSAGES/kalvento.mo") << "not a catalogue";
    SetLocaleDir(dir.string());
    const std::string problem = SetLanguage("xx");
    EXPECT_NE(problem.find("kalvento.mo: not a message catalogue"), std::string::npos) << problem;
    EXPECT_EQ(Language(), "ja");
    EXPECT_EQ(Tr("終了"), "終了");
    EXPECT_NE(SetLanguage("fr"), "");  // no catalogue at all
    EXPECT_EQ(Language(), "ja");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kv::i18n
