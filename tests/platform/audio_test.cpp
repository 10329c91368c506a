// Sound effects through SDL_mixer on the dummy audio driver, and the silent fallback.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/Sounds.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlMixer.h"

namespace kv {
namespace {

// A RIFF WAVE image of a 16-bit mono tone.
std::vector<uint8_t> Wave(double Seconds, int Rate = 22050) {
    const uint32_t samples = static_cast<uint32_t>(Seconds * Rate);
    const uint32_t data = samples * 2;
    std::vector<uint8_t> w;
    w.reserve(44 + data);
    auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) w.push_back((v >> (8 * i)) & 0xFF); };
    auto u16 = [&](uint16_t v) { w.push_back(v & 0xFF); w.push_back(v >> 8); };
    auto tag = [&](const char* t) { for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(t[i])); };
    tag("RIFF"); u32(36 + data); tag("WAVE");
    tag("fmt "); u32(16); u16(1); u16(1); u32(Rate); u32(Rate * 2); u16(2); u16(16);
    tag("data"); u32(data);
    for (uint32_t i = 0; i < samples; ++i) u16(static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 0.1))));
    return w;
}

std::unique_ptr<TWaveCollectionItem> Sound(const char* Name, double Seconds) {
    auto s = std::make_unique<TWaveCollectionItem>();
    s->Name = Name;
    s->Wave = Wave(Seconds);
    return s;
}

class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Mixer = new TSdlMixer(true); }
    static void TearDownTestSuite() {
        delete Mixer;
        Mixer = nullptr;
    }
    void SetUp() override {
        if (!Mixer->IsOpen()) GTEST_SKIP() << "no audio device: " << Mixer->Failure();
    }
    static TSdlMixer* Mixer;
};
TSdlMixer* AudioTest::Mixer = nullptr;

TEST_F(AudioTest, PreparedSoundPlaysOnItsOwnChannel) {
    TSdlAudio audio(*Mixer);
    auto s = Sound("Dead", 10);
    audio.Prepare(*s);
    ASSERT_NE(s->DeviceData, nullptr);
    const int32_t a = audio.NewVoice(*s), b = audio.NewVoice(*s);
    EXPECT_NE(audio.ChannelOf(a), audio.ChannelOf(b));
    EXPECT_FALSE(audio.IsPlaying(a));
    audio.Start(a, false);
    EXPECT_TRUE(audio.IsPlaying(a));
    EXPECT_FALSE(audio.IsPlaying(b));
    audio.Start(b, true);
    EXPECT_TRUE(audio.IsPlaying(a));
    EXPECT_TRUE(audio.IsPlaying(b));
}

TEST_F(AudioTest, PlayerVolumesReachTheMusicAndEverySound) {
    TSdlAudio audio(*Mixer);
    auto s = Sound("Dead", 10);
    audio.Prepare(*s);
    const int32_t early = audio.NewVoice(*s), late = audio.NewVoice(*s);
    audio.Start(early, true);
    Mixer->SetMusicVolume(50);
    Mixer->SetEffectVolume(25);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME / 2);
    // The sound already playing is turned down, and so is one started afterwards.
    EXPECT_EQ(Mix_Volume(audio.ChannelOf(early), -1), MIX_MAX_VOLUME / 4);
    audio.Start(late, false);
    EXPECT_EQ(Mix_Volume(audio.ChannelOf(late), -1), MIX_MAX_VOLUME / 4);
    Mixer->SetMusicVolume(100);
    Mixer->SetEffectVolume(100);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME);
}

TEST_F(AudioTest, PlayThroughTheListOverlapsCopies) {
    TSdlAudio audio(*Mixer);
    TDXWaveList list;
    std::vector<std::unique_ptr<TWaveCollectionItem>> items;
    items.push_back(Sound("ZikiHit", 10));
    list.SetItems(std::move(items));
    list.AttachDevice(&audio);
    TWaveCollectionItem* s = list.Lookup("zikihit");
    s->Play(false);
    s->Play(false);
    ASSERT_EQ(s->Buffers.size(), 2u);
    EXPECT_TRUE(audio.IsPlaying(s->Buffers[0]));
    EXPECT_TRUE(audio.IsPlaying(s->Buffers[1]));
    const int32_t older = s->Buffers[0], newer = s->Buffers[1];
    s->MaxPlayingCount = 2;
    s->Play(false);  // both busy and at the limit: the oldest is cut and restarted
    EXPECT_EQ(s->Buffers, (std::vector<int32_t>{newer, older}));
    EXPECT_TRUE(audio.IsPlaying(older));
    EXPECT_TRUE(audio.IsPlaying(newer));
}

TEST_F(AudioTest, AVoiceOfAFreedSoundIsSilentAndItsSlotReused) {
    TSdlAudio audio(*Mixer);
    auto s = Sound("Pingpong", 10);
    audio.Prepare(*s);
    const int32_t v = audio.NewVoice(*s);
    audio.Start(v, false);
    const int32_t channel = audio.ChannelOf(v);
    s.reset();  // the list was reloaded
    EXPECT_FALSE(audio.IsPlaying(v));
    audio.Start(v, false);  // nothing to play, no crash
    auto t = Sound("Dead", 1);
    audio.Prepare(*t);
    const int32_t w = audio.NewVoice(*t);
    EXPECT_EQ(w, v);
    EXPECT_EQ(audio.ChannelOf(w), channel);
    EXPECT_EQ(audio.VoiceCount(), 1);
}

TEST_F(AudioTest, BadWaveStaysSilentAndKeepsItsVoices) {
    TSdlAudio audio(*Mixer);
    TWaveCollectionItem bad;
    bad.Name = "Broken";
    bad.Wave = {'R', 'I', 'F', 'F', 1, 2, 3};
    audio.Prepare(bad);
    EXPECT_EQ(bad.DeviceData, nullptr);
    const int32_t v = audio.NewVoice(bad);
    audio.Start(v, false);
    EXPECT_FALSE(audio.IsPlaying(v));
    // A voice of a silent sound is not handed to another sound.
    auto good = Sound("Dead", 10);
    audio.Prepare(*good);
    const int32_t w = audio.NewVoice(*good);
    EXPECT_NE(w, v);
    audio.Start(w, false);
    EXPECT_TRUE(audio.IsPlaying(w));
    EXPECT_FALSE(audio.IsPlaying(v));
}

TEST(SilentAudio, WithoutADeviceNothingPlaysAndNothingBreaks) {
    TSdlMixer off(false);
    EXPECT_FALSE(off.IsOpen());
    EXPECT_FALSE(off.Failure().empty());
    TSdlAudio audio(off);
    EXPECT_FALSE(audio.Initialized());
    auto s = Sound("Dead", 1);
    audio.Prepare(*s);
    EXPECT_EQ(s->DeviceData, nullptr);
    const int32_t v = audio.NewVoice(*s);
    audio.Start(v, true);
    EXPECT_FALSE(audio.IsPlaying(v));
    EXPECT_FALSE(audio.IsPlaying(-1));
    EXPECT_FALSE(audio.IsPlaying(99));
    s->Device = &audio;
    s->Play(false);  // the list's Play gives up before asking for a voice
    EXPECT_TRUE(s->Buffers.empty());
}

}  // namespace
}  // namespace kv
