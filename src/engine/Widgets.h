#pragma once
// The window's controls as the game logic sees them: plain models that a platform draws
// (buttons, single-line edit fields, message boxes, the version window).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/Geometry.h"

namespace kv {

struct TFontSpec {
    std::string Face;      // the face the window asked for; the platform substitutes
    int32_t Height = -12;  // negative: character height in pixels
    bool Bold = false;
};

struct TButton {
    std::string Name;     // component name, e.g. "Button1"
    std::string Caption;  // UTF-8
    std::string Hint;
    TRect Bounds;         // client pixels
    TFontSpec Font;
    bool Visible = true;
    std::function<void()> OnClick;
};

struct TEdit {
    std::string Name;
    TRect Bounds;
    TFontSpec Font;
    bool Visible = false;
    std::string Text;  // UTF-8
    // Filters typed or pasted text before it is stored; the default keeps it as it is.
    std::function<std::string(const std::string&)> Filter;
    // The characters of a typed text that the filter cannot keep; "" when it keeps them all
    // (a letter it turns into another is kept). Unset: nothing is refused.
    std::function<std::string(const std::string&)> Refuses;
    // What the last typing lost, for the field to tell the player; cleared by the next typing
    // that loses nothing.
    std::string Refused;
};

struct TLabel {
    std::string Caption;
    int32_t X = 0, Y = 0;
    TFontSpec Font;
};

// A small window of its own (the version window).
struct TSubWindow {
    std::string Caption;
    int32_t ClientWidth = 0, ClientHeight = 0;
    bool Visible = false;
    std::vector<TLabel> Labels;
    std::vector<TButton> Buttons;
    TRect IconBounds;
};

// Modal message boxes. Show returns when the player has closed the box.
class IDialogs {
public:
    virtual ~IDialogs() = default;
    virtual void ShowMessage(const std::string& Title, const std::string& Text) = 0;
};

}  // namespace kv
