#include "platform/sdl/ClassicLook.h"

#include <cfloat>
#include <cmath>

namespace kv::classic {

namespace {

// One-pixel lines along the inside of Min … Max: top and left in A, bottom and right in B.
void Bevel(ImDrawList* D, ImVec2 Min, ImVec2 Max, ImU32 A, ImU32 B) {
    D->AddRectFilled(Min, ImVec2(Max.x - 1, Min.y + 1), A);
    D->AddRectFilled(Min, ImVec2(Min.x + 1, Max.y - 1), A);
    D->AddRectFilled(ImVec2(Min.x, Max.y - 1), Max, B);
    D->AddRectFilled(ImVec2(Max.x - 1, Min.y), Max, B);
}

ImVec2 Inset(ImVec2 P, float By) { return ImVec2(P.x + By, P.y + By); }

}  // namespace

void ButtonFrame(ImDrawList* D, ImVec2 Min, ImVec2 Max, bool Pressed) {
    D->AddRectFilled(Min, Max, Face);
    if (Pressed) {
        D->AddRect(Min, Max, DarkShadow);
        Bevel(D, Inset(Min, 1), Inset(Max, -1), Shadow, Face);
    } else {
        Bevel(D, Min, Max, Highlight, DarkShadow);
        Bevel(D, Inset(Min, 1), Inset(Max, -1), Face, Shadow);
    }
}

void FocusFrame(ImDrawList* D, ImVec2 Min, ImVec2 Max, bool Pressed) {
    // The outline, a pixel wide, over the button's outer edge.
    D->AddRectFilled(Min, ImVec2(Max.x, Min.y + 1), Text);
    D->AddRectFilled(ImVec2(Min.x, Max.y - 1), Max, Text);
    D->AddRectFilled(Min, ImVec2(Min.x + 1, Max.y), Text);
    D->AddRectFilled(ImVec2(Max.x - 1, Min.y), Max, Text);
    // Dotted, every other pixel, four pixels in (moving with the caption when pressed).
    const float shift = Pressed ? 1.0f : 0.0f;
    const float x0 = Min.x + 4 + shift, y0 = Min.y + 4 + shift, x1 = Max.x - 5 + shift, y1 = Max.y - 5 + shift;
    if (x1 <= x0 || y1 <= y0) return;
    for (float x = x0; x <= x1; x += 2) {
        D->AddRectFilled(ImVec2(x, y0), ImVec2(x + 1, y0 + 1), Text);
        D->AddRectFilled(ImVec2(x, y1), ImVec2(x + 1, y1 + 1), Text);
    }
    for (float y = y0; y <= y1; y += 2) {
        D->AddRectFilled(ImVec2(x0, y), ImVec2(x0 + 1, y + 1), Text);
        D->AddRectFilled(ImVec2(x1, y), ImVec2(x1 + 1, y + 1), Text);
    }
}

void EditFrame(ImDrawList* D, ImVec2 Min, ImVec2 Max) {
    Bevel(D, Min, Max, Shadow, Highlight);
    Bevel(D, Inset(Min, 1), Inset(Max, -1), DarkShadow, Face);
}

void WindowFrame(ImDrawList* D, ImVec2 Min, ImVec2 Max) {
    Bevel(D, Min, Max, Face, DarkShadow);
    Bevel(D, Inset(Min, 1), Inset(Max, -1), Highlight, Shadow);
}

void CentredText(ImDrawList* D, ImFont* Font, ImVec2 Min, ImVec2 Max, const char* Utf8, ImU32 Colour, bool Bold) {
    if (!Font || !Utf8 || !*Utf8) return;
    const float size = Font->FontSize;
    const ImVec2 extent = Font->CalcTextSizeA(size, FLT_MAX, 0.0f, Utf8);
    const float w = extent.x + (Bold ? 1.0f : 0.0f);
    const ImVec2 at(std::floor(Min.x + (Max.x - Min.x - w) * 0.5f), std::floor(Min.y + (Max.y - Min.y - extent.y) * 0.5f));
    const ImVec4 clip(Min.x, Min.y, Max.x, Max.y);
    D->AddText(Font, size, at, Colour, Utf8, nullptr, 0.0f, &clip);
    if (Bold) D->AddText(Font, size, ImVec2(at.x + 1, at.y), Colour, Utf8, nullptr, 0.0f, &clip);
}

}  // namespace kv::classic
