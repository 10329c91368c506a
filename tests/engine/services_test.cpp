// Input edges, the joystick rules, the frame timer and the sound list's buffer policy.
#include <gtest/gtest.h>

#include "engine/Errors.h"
#include "engine/Input.h"
#include "engine/Random.h"
#include "engine/Sounds.h"
#include "engine/Timer.h"
#include "platform/headless/Headless.h"

using namespace kv;

namespace {

struct Inputs : ::testing::Test {
    headless::TScriptedKeyboard Keys;
    TKeyboard Keyboard{&Keys};
    TDXInput Input;
    void SetUp() override { Input.AddDevice(&Keyboard); }
};

TEST_F(Inputs, RemovedStateStaysOutUntilPressedAgain) {
    Keys.SetKey(keys::X, true);
    Input.Refresh();
    EXPECT_TRUE(Input.Has(isButton2));
    Input.StateSet.reset(isButton2);  // the ship used a bomb
    Input.Refresh();
    EXPECT_FALSE(Input.Has(isButton2));  // still held, not set again
    Keys.SetKey(keys::X, false);
    Input.Refresh();
    Keys.SetKey(keys::Enter, true);
    Input.Refresh();
    EXPECT_TRUE(Input.Has(isButton2));
    // A held shot stays set frame after frame.
    Keys.SetKey(keys::Z, true);
    for (int i = 0; i < 3; ++i) {
        Input.Refresh();
        EXPECT_TRUE(Input.Has(isButton1));
    }
}

TEST_F(Inputs, StateFollowsTheUnionOfItsKeys) {
    Keys.SetKey(keys::Z, true);
    Keys.SetKey(keys::Space, true);
    Input.Refresh();
    Keys.SetKey(keys::Space, false);
    Input.Refresh();
    EXPECT_TRUE(Input.Has(isButton1));
    Keys.SetKey(keys::Z, false);
    Input.Refresh();
    EXPECT_FALSE(Input.Has(isButton1));
    // The whole table: three keys for each direction, Shift slows, F2 is button 9.
    const std::pair<uint16_t, int32_t> table[] = {
        {keys::K, isUp},   {keys::Up, isUp},       {keys::Kp8, isUp},      {keys::J, isDown},
        {keys::Kp2, isDown}, {keys::H, isLeft},    {keys::Kp4, isLeft},    {keys::L, isRight},
        {keys::Right, isRight}, {keys::Kp6, isRight}, {keys::LShift, isButton3}, {keys::F2, isButton9},
    };
    for (auto [key, state] : table) {
        Keys.SetKey(key, true);
        Input.Refresh();
        EXPECT_TRUE(Input.Has(state)) << key;
        EXPECT_EQ(Input.StateSet.count(), 1u) << key;
        Keys.SetKey(key, false);
        Input.Refresh();
    }
}

TEST_F(Inputs, LosingTheForegroundClearsKeyboardStates) {
    Keys.SetKey(keys::Left, true);
    Input.Refresh();
    ASSERT_TRUE(Input.Has(isLeft));
    Keys.Focused = false;
    Input.Refresh();
    EXPECT_FALSE(Input.Has(isLeft));
    Keys.Focused = true;
    Input.Refresh();
    EXPECT_TRUE(Input.Has(isLeft));
}

struct FakeStick : IJoystickSource {
    bool Foreground() const override { return true; }
    TJoystickRaw ReadJoystick() override { return Raw; }
    TJoystickRaw Raw{true, 0, 0, 0};
};

TEST(Joystick, DeadZoneIsHalfTheTravelAndButtonsMapToStates) {
    EXPECT_EQ(TJoystick::ScaleAxis(0), 0);
    EXPECT_EQ(TJoystick::ScaleAxis(16000), 0);
    EXPECT_EQ(TJoystick::ScaleAxis(-16000), 0);
    EXPECT_GT(TJoystick::ScaleAxis(17000), 0);
    EXPECT_LT(TJoystick::ScaleAxis(-17000), 0);
    EXPECT_EQ(TJoystick::ScaleAxis(32767), 999);
    EXPECT_EQ(TJoystick::ScaleAxis(-32768), -1000);
    FakeStick stick;
    TJoystick joy(&stick);
    stick.Raw.AxisX = -30000;
    stick.Raw.AxisY = 30000;
    stick.Raw.Buttons = 0b101 | (1u << 31);
    TDXInputStates s = joy.Read();
    EXPECT_TRUE(s.test(isLeft));
    EXPECT_TRUE(s.test(isDown));
    EXPECT_FALSE(s.test(isRight) || s.test(isUp));
    EXPECT_TRUE(s.test(isButton1));
    EXPECT_FALSE(s.test(isButton2));
    EXPECT_TRUE(s.test(isButton1 + 2));
    EXPECT_TRUE(s.test(isButton32));
}

TEST(FrameTimer, LagCountIsMillisecondsAndAPauseIsNotCounted) {
    TDXTimer t;
    std::vector<int32_t> lags;
    t.OnTimer = [&](int32_t lag) { lags.push_back(lag); };
    EXPECT_TRUE(t.Tick(1000, true));
    EXPECT_TRUE(t.Tick(1016, true));
    EXPECT_TRUE(t.Tick(1016, true));  // no time passed: still at least 1
    EXPECT_FALSE(t.Tick(5000, false));
    EXPECT_TRUE(t.Tick(90000, true));  // after a long pause: not the pause's length
    EXPECT_EQ(lags, (std::vector<int32_t>{1, 16, 1, 1}));
    t.Interval = 10;
    EXPECT_FALSE(t.Tick(90005, true));
    EXPECT_TRUE(t.Tick(90025, true));
    EXPECT_EQ(lags.back(), 2);
    t.ActiveOnly = false;
    EXPECT_TRUE(t.Tick(90040, false));
}

TEST(RandomGenerator, SameSeedSameSequenceAndRanges) {
    TRandom a, b;
    a.Seed(42);
    b.Seed(42);
    for (int i = 0; i < 1000; ++i) {
        int32_t x = a.Random(7);
        EXPECT_EQ(x, b.Random(7));
        EXPECT_GE(x, 0);
        EXPECT_LT(x, 7);
        double d = a.Random();
        EXPECT_EQ(d, b.Random());
        EXPECT_GE(d, 0.0);
        EXPECT_LT(d, 1.0);
    }
    TRandom c;
    c.Seed(0);
    EXPECT_EQ(c.Random(100), 0);  // first step of the sequence from 0 is 1: tiny
    EXPECT_EQ(c.Random(0), 0);
}

struct Sounds : ::testing::Test {
    headless::TRecordingAudio Audio;
    TDXWaveList List;
    void SetUp() override {
        std::vector<std::unique_ptr<TWaveCollectionItem>> items;
        for (const char* n : {"Dead", "Pingpong"}) {
            auto w = std::make_unique<TWaveCollectionItem>();
            w->Name = n;
            w->Wave.assign(22050, 0);
            items.push_back(std::move(w));
        }
        List.SetItems(std::move(items));
        List.AttachDevice(&Audio);
    }
};

TEST_F(Sounds, ALongRunKeepsNothingOfWhatItPlayedWhenNotRecording) {
    Audio.Record = false;
    TWaveCollectionItem* dead = List.Lookup("Dead");
    for (int i = 0; i < 1000; ++i) {
        dead->Play(false);
        for (int f = 0; f < 40; ++f) Audio.AdvanceFrame();
    }
    EXPECT_TRUE(Audio.Plays.empty());
    dead->Play(false);
    dead->Play(false);  // still two copies at once, as when recording
    ASSERT_EQ(dead->Buffers.size(), 2u);
    EXPECT_NE(dead->Buffers[0], dead->Buffers[1]);
    EXPECT_TRUE(Audio.IsPlaying(dead->Buffers[0]));
    EXPECT_TRUE(Audio.IsPlaying(dead->Buffers[1]));
    Audio.Record = true;
    dead->Play(false);
    ASSERT_EQ(Audio.Plays.size(), 1u);
}

TEST_F(Sounds, OverlappingCopiesUnlessCappedThenTheOldestIsCutOff) {
    TWaveCollectionItem* dead = List.Lookup("dead");
    dead->Play(false);
    dead->Play(false);
    ASSERT_EQ(Audio.Plays.size(), 2u);
    EXPECT_NE(Audio.Plays[0].Voice, Audio.Plays[1].Voice);  // two buffers playing at once
    TWaveCollectionItem* ping = List.Lookup("Pingpong");
    ping->MaxPlayingCount = 1;
    ping->Play(false);
    ping->Play(false);
    EXPECT_EQ(Audio.Plays[2].Voice, Audio.Plays[3].Voice);  // restarted, not doubled
    ping->MaxPlayingCount = 2;
    ping->Play(false);  // a second copy beside the first
    ASSERT_EQ(ping->Buffers.size(), 2u);
    const int32_t older = ping->Buffers[0], newer = ping->Buffers[1];
    ping->Play(false);  // both busy, two exist: the older is restarted
    EXPECT_EQ(Audio.Plays.back().Voice, older);
    EXPECT_EQ(ping->Buffers, (std::vector<int32_t>{newer, older}));
    // A finished buffer is reused before a new one is made.
    for (int i = 0; i < 60; ++i) Audio.AdvanceFrame();
    const size_t before = dead->Buffers.size();
    dead->Play(false);
    EXPECT_EQ(dead->Buffers.size(), before);
    EXPECT_THROW(List.Lookup("Boom"), EWaveCollectionError);
    try {
        List.Lookup("Boom");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Wave 'Boom' が見つかりません");
    }
}

TEST(InputScript, ParsesActionsAndNamesTheBadLine) {
    auto a = headless::ParseInputScript("# start\n1 press shot\n1 click Button1\n5 type Edit1 山田 太郎\n9 timer\n12 release shot\n", "s.txt");
    ASSERT_EQ(a.size(), 5u);
    EXPECT_EQ(a[0].Kind, headless::TScriptAction::Press);
    EXPECT_EQ(a[0].State, isButton1);
    EXPECT_EQ(a[1].Target, "Button1");
    EXPECT_EQ(a[2].Text, "山田 太郎");
    EXPECT_EQ(headless::FormatScriptAction(a[2]), "5 type Edit1 山田 太郎");
    EXPECT_EQ(headless::FormatScriptAction(a[4]), "12 release shot");
    auto bad = [](const char* text) {
        try {
            headless::ParseInputScript(text, "s.txt");
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(bad("1 press shot\nx press up\n"), "s.txt:2: the line does not start with a frame number: 'x'");
    EXPECT_EQ(bad("3 press jump\n"), "s.txt:1: unknown input state 'jump'");
    EXPECT_EQ(bad("3 fly\n"), "s.txt:1: unknown action 'fly'");
    EXPECT_EQ(bad("0 timer\n"), "s.txt:1: frames are counted from 1");
    EXPECT_EQ(bad("5 timer\n4 timer\n"), "s.txt:2: frames must not go backwards");
    EXPECT_EQ(bad("5 timer now\n"), "s.txt:1: unexpected 'now'");
    // A run's recording closes with its last frame; the actions due before the next still count.
    const headless::TRecording r = headless::ParseRecording("version 4\n3 timer\n8 timer\nend 7\n# done\n", "s.txt");
    EXPECT_TRUE(r.HasEnd);
    EXPECT_EQ(r.End, 7);
    EXPECT_EQ(r.Actions.size(), 2u);
    EXPECT_EQ(bad("5 timer\nend 5\n6 timer\n"), "s.txt:3: nothing may follow the end");
    EXPECT_EQ(bad("5 timer\n9 timer\nend 5\n"), "s.txt:3: frame 9 comes after the end, frame 5");
    EXPECT_EQ(bad("end 5184001\n"), "s.txt:1: end 5184001 is longer than any recording played (5184000 frames, a day)");
}

TEST(InputScript, TypedTextReadsBackAsItWasWritten) {
    // A line may end in CR LF; a CR left in the text after that would not survive being written.
    auto a = headless::ParseInputScript("5 type Edit1 Taro \r\n6 type Edit2 \r\n", "s.txt");
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0].Text, "Taro ");
    EXPECT_EQ(a[1].Text, "");
    using namespace std::string_literals;
    // The last one is the fuzzer's: an odd edit name with a NUL, then the text "\r".
    for (const std::string& text : {"5 type Edit1 Taro\r\r\n"s, "5 type Edit1 Ta\rro\n"s, "1 type Ei\xff\xff\xdcp\0\r\r"s}) {
        SCOPED_TRACE(text);
        try {
            headless::ParseInputScript(text, "s.txt");
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("s.txt:1: the typed text holds a carriage return"), std::string::npos) << e.what();
        }
    }
}

}  // namespace
