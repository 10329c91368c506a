#pragma once
// The look of classic desktop controls, drawn with ImGui draw lists: grey push buttons with a
// 3-D border, sunken white edit fields, yellow hint boxes, and the program's icon.
#include <imgui.h>

namespace kv::classic {

constexpr ImU32 Face = IM_COL32(212, 208, 200, 255);
constexpr ImU32 Highlight = IM_COL32(255, 255, 255, 255);
constexpr ImU32 Shadow = IM_COL32(128, 128, 128, 255);
constexpr ImU32 DarkShadow = IM_COL32(64, 64, 64, 255);
constexpr ImU32 Text = IM_COL32(0, 0, 0, 255);
constexpr ImU32 Window = IM_COL32(255, 255, 255, 255);
constexpr ImU32 InfoBack = IM_COL32(255, 255, 225, 255);
constexpr ImU32 Caption = IM_COL32(10, 36, 106, 255);

// A push button's border; Pressed draws it sunken.
void ButtonFrame(ImDrawList* D, ImVec2 Min, ImVec2 Max, bool Pressed);
// The focus look of a push button: the dark outline of the default button and a dotted
// rectangle inside it.
void FocusFrame(ImDrawList* D, ImVec2 Min, ImVec2 Max, bool Pressed);
// The two-pixel sunken border of an edit field, around Min … Max.
void EditFrame(ImDrawList* D, ImVec2 Min, ImVec2 Max);
// A raised window border.
void WindowFrame(ImDrawList* D, ImVec2 Min, ImVec2 Max);
// Text centred in a box and clipped to it; Bold smears it by one pixel as a synthetic bold.
void CentredText(ImDrawList* D, ImFont* Font, ImVec2 Min, ImVec2 Max, const char* Utf8, ImU32 Colour, bool Bold);

}  // namespace kv::classic
