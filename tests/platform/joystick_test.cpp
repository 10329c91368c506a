// The joystick source against SDL's virtual joysticks: mapping and hot-plug.
#include <gtest/gtest.h>

#include "engine/Input.h"
#include "platform/sdl/SdlJoystick.h"

namespace kv {
namespace {

class JoystickTest : public ::testing::Test {
protected:
    void SetUp() override {
        Source = std::make_unique<TSdlJoystick>(nullptr);
        if (!Source->Available()) GTEST_SKIP() << "no joystick system";
    }
    void TearDown() override {
        for (auto& [index, handle] : Attached) {
            SDL_JoystickClose(handle);
            (void)index;
        }
        while (SDL_NumJoysticks() > 0 && SDL_JoystickIsVirtual(0)) SDL_JoystickDetachVirtual(0);
        Source.reset();
    }
    // Attaches a virtual device and opens a handle to drive it.
    SDL_Joystick* Attach(SDL_JoystickType Type, int Axes, int Buttons, int Hats) {
        SDL_VirtualJoystickDesc d{};
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = static_cast<Uint16>(Type);
        d.naxes = static_cast<Uint16>(Axes);
        d.nbuttons = static_cast<Uint16>(Buttons);
        d.nhats = static_cast<Uint16>(Hats);
        d.name = "Kalvento test pad";
        const int index = SDL_JoystickAttachVirtualEx(&d);
        if (index < 0) return nullptr;
        SDL_Joystick* j = SDL_JoystickOpen(index);
        Attached.emplace_back(index, j);
        return j;
    }
    std::unique_ptr<TSdlJoystick> Source;
    std::vector<std::pair<int, SDL_Joystick*>> Attached;
};

TEST_F(JoystickTest, NothingPluggedInReadsAbsent) {
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real joystick is connected";
    EXPECT_FALSE(Source->ReadJoystick().Present);
}

TEST_F(JoystickTest, ControllerButtonsAndDpad) {
    SDL_Joystick* j = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    if (!j) GTEST_SKIP() << "no virtual joysticks: " << SDL_GetError();
    TJoystickRaw r = Source->ReadJoystick();
    ASSERT_TRUE(r.Present);
    if (!Source->IsController()) GTEST_SKIP() << "SDL gives the virtual pad no controller mapping";
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_X, 1);
    SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTX, 30000);
    r = Source->ReadJoystick();
    EXPECT_EQ(r.Buttons, 0b101u);  // A = button 1, X = button 3
    EXPECT_EQ(r.AxisX, 30000);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_X, 0);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_B, 1);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_DPAD_UP, 1);
    r = Source->ReadJoystick();
    EXPECT_EQ(r.Buttons, 0b010u);  // B = button 2; the d-pad is no button
    EXPECT_EQ(r.AxisX, -32768);    // the d-pad wins over the stick
    EXPECT_EQ(r.AxisY, -32768);

    // Through the input rules: left, up and bomb.
    TJoystick joystick(Source.get());
    const TDXInputStates s = joystick.Read();
    EXPECT_TRUE(s.test(isLeft));
    EXPECT_TRUE(s.test(isUp));
    EXPECT_TRUE(s.test(isButton2));
    EXPECT_FALSE(s.test(isRight));
    EXPECT_FALSE(s.test(isButton1));
}

TEST_F(JoystickTest, PlainJoystickReadsRawAxesButtonsAndHat) {
    SDL_Joystick* j = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 12, 1);
    if (!j) GTEST_SKIP() << "no virtual joysticks: " << SDL_GetError();
    TJoystickRaw r = Source->ReadJoystick();
    ASSERT_TRUE(r.Present);
    if (Source->IsController()) GTEST_SKIP() << "SDL maps the plain virtual joystick as a controller";
    SDL_JoystickSetVirtualAxis(j, 0, -20000);
    SDL_JoystickSetVirtualAxis(j, 1, 25000);
    SDL_JoystickSetVirtualButton(j, 0, 1);
    SDL_JoystickSetVirtualButton(j, 11, 1);
    r = Source->ReadJoystick();
    EXPECT_EQ(r.AxisX, -20000);
    EXPECT_EQ(r.AxisY, 25000);
    EXPECT_EQ(r.Buttons, (1u << 0) | (1u << 11));
    SDL_JoystickSetVirtualHat(j, 0, SDL_HAT_RIGHTUP);
    r = Source->ReadJoystick();
    EXPECT_EQ(r.AxisX, 32767);
    EXPECT_EQ(r.AxisY, -32768);
}

TEST_F(JoystickTest, UnpluggingAndPluggingIn) {
    SDL_Joystick* j = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
    if (!j) GTEST_SKIP() << "no virtual joysticks: " << SDL_GetError();
    ASSERT_TRUE(Source->ReadJoystick().Present);
    ASSERT_EQ(Attached.size(), 1u);
    SDL_JoystickClose(j);
    Attached.clear();
    ASSERT_EQ(SDL_JoystickDetachVirtual(0), 0);
    EXPECT_FALSE(Source->ReadJoystick().Present);
    j = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
    ASSERT_NE(j, nullptr);
    SDL_JoystickSetVirtualButton(j, 1, 1);
    const TJoystickRaw r = Source->ReadJoystick();
    EXPECT_TRUE(r.Present);
    EXPECT_EQ(r.Buttons, 0b10u);
}

}  // namespace
}  // namespace kv
