#include "engine/Input.h"

#include <algorithm>

#include "engine/Names.h"

namespace kv {

namespace {
// The states with names of their own, by state number; the rest are "button4" … "button32".
constexpr const char* StateNames[] = {"up", "down", "left", "right", "shot", "bomb", "slow"};
}  // namespace

std::optional<int32_t> InputStateOf(std::string_view Name) {
    for (int32_t s = 0; s <= isButton3; ++s)
        if (SameName(Name, StateNames[s])) return s;
    const std::string_view digits = Name.size() > 6 ? Name.substr(6) : std::string_view();
    if (SameName(Name.substr(0, 6), "button") && !digits.empty() && digits.size() <= 2 && digits[0] != '0' &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int n = std::stoi(std::string(digits));
        if (n >= 1 && n <= 32) return isButton1 + n - 1;
    }
    return std::nullopt;
}

std::string InputStateName(int32_t State) {
    if (State >= 0 && State <= isButton3) return StateNames[State];
    return "button" + std::to_string(State - isButton1 + 1);
}

TKeyAssignment DefaultKeyAssignment() {
    TKeyAssignment t{};
    t[isUp] = {keys::K, keys::Up, keys::Kp8};
    t[isDown] = {keys::J, keys::Down, keys::Kp2};
    t[isLeft] = {keys::H, keys::Left, keys::Kp4};
    t[isRight] = {keys::L, keys::Right, keys::Kp6};
    t[isButton1] = {keys::Z, keys::Space, keys::None};
    t[isButton2] = {keys::X, keys::Enter, keys::None};
    t[isButton3] = {keys::LShift, keys::None, keys::None};
    t[isButton9] = {keys::F2, keys::None, keys::None};
    t[ksRewind] = {keys::Backspace, keys::None, keys::None};
    return t;
}

TDXInputStates TKeyboard::Read() {
    TDXInputStates s;
    if (!Enabled || !Source_ || !Source_->Foreground()) return s;
    for (int32_t i = 0; i < InputStateCount; ++i)
        for (uint16_t k : Keys[i])
            if (k != keys::None && Source_->KeyDown(k)) {
                s.set(i);
                break;
            }
    return s;
}

bool TKeyboard::SlotDown(int32_t Slot) const {
    if (!Enabled || !Source_ || !Source_->Foreground() || Slot < 0 || Slot >= KeySlotCount) return false;
    return std::any_of(Keys[Slot].begin(), Keys[Slot].end(), [&](uint16_t k) { return k != keys::None && Source_->KeyDown(k); });
}

int32_t TJoystick::ScaleAxis(int32_t Raw) {
    // Half travel is 32768; the dead zone covers its inner half.
    const double v = Raw / 32768.0;
    if (v > -0.5 && v < 0.5) return 0;
    const double sign = v < 0 ? -1.0 : 1.0;
    const double mag = ((v < 0 ? -v : v) - 0.5) / 0.5;
    int32_t out = static_cast<int32_t>(sign * (mag > 1 ? 1 : mag) * 1000.0);
    return out == 0 ? static_cast<int32_t>(sign) : out;
}

TDXInputStates TJoystick::Read() {
    TDXInputStates s;
    if (!Enabled || !Source_ || !Source_->Foreground()) return s;
    TJoystickRaw r = Source_->ReadJoystick();
    if (!r.Present) return s;
    const int32_t x = ScaleAxis(r.AxisX), y = ScaleAxis(r.AxisY);
    if (x < 0) s.set(isLeft);
    if (x > 0) s.set(isRight);
    if (y < 0) s.set(isUp);
    if (y > 0) s.set(isDown);
    for (int32_t n = 1; n <= 32; ++n)
        if (r.Buttons & (1u << (n - 1))) s.set(isButton1 + n - 1);
    return s;
}

void TDXInput::Refresh() {
    TDXInputStates current;
    if (Replay)
        current = *Replay;
    else
        for (IInputDevice* d : Devices_) current |= d->Read();
    const TDXInputStates down = current & ~Previous_;
    const TDXInputStates up = ~current & Previous_;
    StateSet |= down;
    StateSet &= ~up;
    Previous_ = current;
}

}  // namespace kv
