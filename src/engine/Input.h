#pragma once
// Keyboard and joystick read as a set of 36 input states.
#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum TDXInputState : int32_t {
    isUp = 0,
    isDown = 1,
    isLeft = 2,
    isRight = 3,
    isButton1 = 4,  // isButtonN = 3 + N, up to isButton32 = 35
    isButton2 = 5,
    isButton3 = 6,
    isButton9 = 12,
    isButton32 = 35,
};
constexpr int32_t InputStateCount = 36;
using TDXInputStates = std::bitset<InputStateCount>;

// Keys are USB HID usage codes (the same numbers as SDL scancodes), so a table is
// independent of the keyboard layout.
namespace keys {
constexpr uint16_t A = 4, H = 11, J = 13, K = 14, L = 15, X = 27, Z = 29;
constexpr uint16_t Enter = 40, Escape = 41, Backspace = 42, Space = 44, F2 = 59;
constexpr uint16_t Right = 79, Left = 80, Down = 81, Up = 82;
constexpr uint16_t KpEnter = 88, Kp2 = 90, Kp4 = 92, Kp6 = 94, Kp8 = 96;
constexpr uint16_t LShift = 225, RShift = 229;
constexpr uint16_t None = 0;
}  // namespace keys

// The state a name stands for ("up", "shot", "button9" …, in any letter case); nothing for an
// unknown name. Key tables and input scripts both name states this way.
std::optional<int32_t> InputStateOf(std::string_view Name);
// The name a state is written with: "shot" rather than "button1".
std::string InputStateName(int32_t State);

// A key table has a slot per input state, and after them the keys of the player's commands,
// which the game's input states never see: rewinding a practice game.
constexpr int32_t ksRewind = InputStateCount;
constexpr int32_t KeySlotCount = InputStateCount + 1;
using TKeyAssignment = std::array<std::array<uint16_t, 3>, KeySlotCount>;
TKeyAssignment DefaultKeyAssignment();

// One device as it reads itself this frame (already cleared when it may not be read).
class IInputDevice {
public:
    virtual ~IInputDevice() = default;
    virtual TDXInputStates Read() = 0;
};

// Raw keyboard state for the keyboard device.
class IKeyboardSource {
public:
    virtual ~IKeyboardSource() = default;
    virtual bool Foreground() const = 0;
    virtual bool KeyDown(uint16_t Code) const = 0;
};

class TKeyboard : public IInputDevice {
public:
    explicit TKeyboard(IKeyboardSource* Source) : Keys(DefaultKeyAssignment()), Source_(Source) {}
    TDXInputStates Read() override;
    // Whether a key of a slot is down (a command's slot, ksRewind, as well as a state's).
    bool SlotDown(int32_t Slot) const;
    bool Enabled = true;
    TKeyAssignment Keys;

private:
    IKeyboardSource* Source_;
};

// Raw joystick state: axes −32768 … 32767, up to 32 buttons.
struct TJoystickRaw {
    bool Present = false;
    int32_t AxisX = 0, AxisY = 0;
    uint32_t Buttons = 0;  // bit n−1 = button n
};

class IJoystickSource {
public:
    virtual ~IJoystickSource() = default;
    virtual bool Foreground() const = 0;
    virtual TJoystickRaw ReadJoystick() = 0;
};

class TJoystick : public IInputDevice {
public:
    explicit TJoystick(IJoystickSource* Source) : Source_(Source) {}
    TDXInputStates Read() override;
    // An axis value scaled to −1000 … 1000, 0 inside the dead zone (50 % of half travel).
    static int32_t ScaleAxis(int32_t Raw);
    bool Enabled = true;

private:
    IJoystickSource* Source_;
};

class TDXInput {
public:
    // Devices in reading order: keyboard, mouse, joystick (the mouse is not bound here).
    void AddDevice(IInputDevice* D) { Devices_.push_back(D); }
    // Recompute the states: a state changes in StateSet only when its keys go down or up.
    void Refresh();
    // While set, Refresh takes these as what the devices say (a game run again from its history).
    std::optional<TDXInputStates> Replay;
    TDXInputStates StateSet;
    bool Has(int32_t State) const { return StateSet.test(State); }
    // What the devices said at the last Refresh, which the next one compares against.
    const TDXInputStates& PreviousStates() const { return Previous_; }
    void RestoreStates(const TDXInputStates& Set, const TDXInputStates& Previous) {
        StateSet = Set;
        Previous_ = Previous;
    }

private:
    std::vector<IInputDevice*> Devices_;
    TDXInputStates Previous_;
};

}  // namespace kv
