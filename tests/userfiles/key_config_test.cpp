// keys.conf: names of keys and states, the default file, rebinding and the messages for bad files.
#include <gtest/gtest.h>

#include "engine/FileReplace.h"
#include "engine/Input.h"
#include "userfiles/KeyConfig.h"
#include "platform/headless/Headless.h"

using namespace kv;

namespace {

std::string MessageOf(std::string_view Text) {
    try {
        ParseKeyConfig(Text, "keys.conf");
    } catch (const EKeyConfigError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(KeyNames, NamesAndNumbersBothWays) {
    EXPECT_EQ(KeyName(keys::K), "K");
    EXPECT_EQ(KeyName(keys::Kp8), "Keypad 8");
    EXPECT_EQ(KeyName(keys::Enter), "Return");
    EXPECT_EQ(KeyName(keys::LShift), "Shift");  // the slot that reads either shift key
    EXPECT_EQ(KeyName(keys::RShift), "Right Shift");
    EXPECT_EQ(KeyName(54), "#54");    // "," cannot be written between commas
    EXPECT_EQ(KeyName(158), "#158");  // SDL's second "Return" reads back as 40
    EXPECT_EQ(KeyName(300), "#300");  // no name
    EXPECT_EQ(KeyCode("keypad 8"), keys::Kp8);
    EXPECT_EQ(KeyCode("SHIFT"), keys::LShift);
    EXPECT_EQ(KeyCode("Left Shift"), keys::LShift);
    EXPECT_EQ(KeyCode("Enter"), keys::Enter);
    EXPECT_EQ(KeyCode("#"), 50);  // the key named "#", not a number
    EXPECT_EQ(KeyCode("#54"), 54);
    EXPECT_EQ(KeyCode("#511"), 511);
    EXPECT_FALSE(KeyCode("#0"));
    EXPECT_FALSE(KeyCode("#512"));
    EXPECT_FALSE(KeyCode("Keypad"));
    EXPECT_FALSE(KeyCode(""));
    // Every printed name reads back as its code.
    for (uint16_t c = 1; c <= MaxKeyCode; ++c) EXPECT_EQ(KeyCode(KeyName(c)), c) << KeyName(c);
}

TEST(KeyNames, StateNames) {
    EXPECT_EQ(InputStateOf("up"), isUp);
    EXPECT_EQ(InputStateOf("Right"), isRight);
    EXPECT_EQ(InputStateOf("shot"), isButton1);
    EXPECT_EQ(InputStateOf("button1"), isButton1);
    EXPECT_EQ(InputStateOf("slow"), isButton3);
    EXPECT_EQ(InputStateOf("button9"), isButton9);
    EXPECT_EQ(InputStateOf("button32"), isButton32);
    EXPECT_FALSE(InputStateOf("button0"));
    EXPECT_FALSE(InputStateOf("button33"));
    EXPECT_FALSE(InputStateOf("button01"));
    EXPECT_FALSE(InputStateOf("fire"));
    EXPECT_EQ(InputStateName(isButton2), "bomb");
    EXPECT_EQ(InputStateName(isButton9), "button9");
}

TEST(KeyConfigFile, DefaultFileIsCommentedAndReadsBackAsTheDefaults) {
    const std::string text = FormatKeyConfig(DefaultKeyAssignment());
    EXPECT_EQ(text.front(), '#');
    EXPECT_NE(text.find("\nup = K, Up, Keypad 8\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nbomb = X, Return\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nslow = Shift\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nbutton9 = F2\n"), std::string::npos) << text;
    EXPECT_EQ(ParseKeyConfig(text, "keys.conf"), DefaultKeyAssignment());
    // An empty file and one of comments only are the defaults too.
    EXPECT_EQ(ParseKeyConfig("", "keys.conf"), DefaultKeyAssignment());
    EXPECT_EQ(ParseKeyConfig("# nothing\n\n   \n", "keys.conf"), DefaultKeyAssignment());
}

TEST(KeyConfigFile, RebindingChangesOnlyTheListedStates) {
    std::array<int32_t, KeySlotCount> lineOf{};
    const TKeyAssignment t =
        ParseKeyConfig("# mine\r\n  SHOT = a , #44\r\nslow=\r\nbutton12 = Keypad Enter, F12, Left Ctrl\r\n", "keys.conf", &lineOf);
    TKeyAssignment want = DefaultKeyAssignment();
    want[isButton1] = {keys::A, keys::Space, keys::None};
    want[isButton3] = {};
    want[isButton1 + 11] = {keys::KpEnter, 69, 224};
    EXPECT_EQ(t, want);
    EXPECT_EQ(lineOf[isButton1], 2);
    EXPECT_EQ(lineOf[isButton3], 3);
    EXPECT_EQ(lineOf[isUp], 0);
    // The table round-trips through its own file, with the emptied slow state written out.
    const std::string text = FormatKeyConfig(t);
    EXPECT_NE(text.find("\nslow =\n"), std::string::npos) << text;
    EXPECT_EQ(ParseKeyConfig(text, "keys.conf"), t);

    // The keyboard then answers to the new keys and no longer to the old ones.
    headless::TScriptedKeyboard source;
    TKeyboard keyboard(&source);
    keyboard.Keys = t;
    source.SetKey(keys::Z, true);
    source.SetKey(keys::LShift, true);
    EXPECT_FALSE(keyboard.Read().test(isButton1));
    EXPECT_FALSE(keyboard.Read().test(isButton3));
    source.SetKey(keys::A, true);
    EXPECT_TRUE(keyboard.Read().test(isButton1));
}

TEST(KeyConfigFile, RebindReplacesTheStatesLineAndKeepsTheRest) {
    const std::string file = "# my keys\r\nup = W\r\n\r\n# fire\r\nbutton1 = Z\r\n";
    const std::string shot = RebindKeyConfig(file, "keys.conf", ParseKeyBinding("shot=A,Space", "--bind"));
    EXPECT_EQ(shot, "# my keys\r\nup = W\r\n\r\n# fire\r\nshot = A, Space\r\n");
    const std::string bomb = RebindKeyConfig("up = W", "keys.conf", ParseKeyBinding("bomb = ", "--bind"));
    EXPECT_EQ(bomb, "up = W\nbomb =\n");
    TKeyAssignment want = DefaultKeyAssignment();
    want[isUp] = {26, keys::None, keys::None};  // W
    want[isButton2] = {};
    EXPECT_EQ(ParseKeyConfig(bomb, "keys.conf"), want);
    // A file that does not read is not rewritten.
    EXPECT_THROW(RebindKeyConfig("up = Nope\n", "keys.conf", ParseKeyBinding("shot=A", "--bind")), EKeyConfigError);
}

TEST(KeyConfigFile, MalformedFilesNameTheLineAndTheProblem) {
    EXPECT_EQ(MessageOf("\nfire = Z\n"),
              "keys.conf:2: unknown state 'fire' (up, down, left, right, shot, bomb, slow, button1 to button32, rewind)");
    EXPECT_EQ(MessageOf("shot = Z, Spacebar\n"), "keys.conf:1: unknown key 'Spacebar'");
    EXPECT_EQ(MessageOf("up = K, Up, Keypad 8, W\n"), "keys.conf:1: more than three keys for 'up'");
    EXPECT_EQ(MessageOf("shot = Z\n# again\nbutton1 = A\n"), "keys.conf:3: 'shot' is already set on line 1");
    EXPECT_EQ(MessageOf("up = K\nhello world\n"), "keys.conf:2: expected 'state = key, key, key', found 'hello world'");
    EXPECT_EQ(MessageOf("= Z\n"), "keys.conf:1: no state before '='");
    EXPECT_EQ(MessageOf("shot = Z,,X\n"), "keys.conf:1: an empty key name in 'Z,,X'");
    EXPECT_EQ(MessageOf("shot = Z, z\n"), "keys.conf:1: key 'z' is listed twice for 'shot'");
    EXPECT_EQ(MessageOf("shot = #600\n"), "keys.conf:1: key number '#600' is out of range (#1 to #511)");
    EXPECT_EQ(MessageOf("shot = Z # fire\n"), "keys.conf:1: unknown key 'Z # fire'");
    EXPECT_EQ(MessageOf(std::string_view("up = K\0", 7)), "keys.conf:1: not a text line");
    EXPECT_EQ(MessageOf("shot = Z\n# a comment\n  # an indented one\n"), "(accepted)");
}

TEST(FileReplace, WritesWholeFilesAndReadsThemBack) {
    const std::string path = ::testing::TempDir() + "kv_file_replace.txt";
    ReplaceFileAtomically(path, "first\n");
    ReplaceFileAtomically(path, "second\n");
    std::string back;
    ASSERT_TRUE(ReadWholeFile(path, back));
    EXPECT_EQ(back, "second\n");
    EXPECT_FALSE(ReadWholeFile(path + ".missing", back));
    EXPECT_THROW(ReplaceFileAtomically(::testing::TempDir() + "no/such/folder/file", "x"), std::runtime_error);
}

}  // namespace
