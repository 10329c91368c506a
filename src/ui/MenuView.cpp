#include "ui/MenuView.h"

#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "i18n/Tr.h"
#include "platform/sdl/ClassicLook.h"
#include "platform/sdl/SdlWidgets.h"
#include "platform/sdl/SdlWindow.h"

namespace kv::ui {

namespace {

constexpr float Left = 6, Right = TSdlWindow::LogicalWidth - 6, MaxTop = 14, MaxBottom = TSdlWindow::LogicalHeight - 8;
constexpr float TitleH = 18, Pad = 6, RowH = 18, LineH = 14;
constexpr int32_t FontPx = 12;
constexpr ImU32 WarnText = IM_COL32(192, 0, 0, 255);
constexpr ImU32 Disabled = IM_COL32(128, 128, 128, 255);

int32_t RowCount(const TMenu& M) {
    int32_t n = 0;
    for (const TEntry& e : M.Entries) n = std::max(n, e.Row + 1);
    return n;
}

}  // namespace

TMenuMouse DrawMenu(TMenu& M, TSdlWidgets& W, bool Pushed) {
    TMenuMouse out;
    M.ClampFocus();
    // The menu holds the game's own texts; what is drawn is in the player's language.
    const std::string title = i18n::Tr(M.Title), status = M.StatusAsTyped ? M.Status : i18n::Tr(M.Status);
    std::vector<std::string> shown, values, rowLabels;
    for (const TEntry& e : M.Entries) {
        shown.push_back(e.Shown.empty() ? i18n::Tr(e.Label) : e.Shown);
        values.push_back(i18n::Tr(e.Value));
    }
    for (const std::string& l : M.RowLabels) rowLabels.push_back(i18n::Tr(l));
    W.NeedGlyphs(title);
    W.NeedGlyphs(status);
    W.NeedGlyphs("◀▶×");
    for (size_t i = 0; i < shown.size(); ++i) {
        W.NeedGlyphs(shown[i]);
        W.NeedGlyphs(values[i]);
    }
    for (const std::string& l : rowLabels) W.NeedGlyphs(l);
    ImFont* f = W.UiFont(FontPx);

    // As tall as the entries need, centred; a long list fills the playfield and scrolls. A long
    // status (a message saying why something failed) wraps at the window's width.
    const float statusW = Right - Left - 2 * Pad;
    const int32_t lines =
        status.empty() ? 0
                         : static_cast<int32_t>(std::lround(f->CalcTextSizeA(f->FontSize, FLT_MAX, statusW, status.c_str()).y /
                                                            f->FontSize));
    const float statusH = lines * LineH + (lines ? Pad : 0);
    const int32_t rows = RowCount(M);
    const float natural = 3 + TitleH + Pad + rows * RowH + Pad + statusH + 4;
    const float height = std::min(MaxBottom - MaxTop, natural);
    const float Top = std::floor((TSdlWindow::LogicalHeight - height) / 2), Bottom = Top + height;

    ImGui::SetNextWindowPos(ImVec2(Left, Top));
    ImGui::SetNextWindowSize(ImVec2(Right - Left, Bottom - Top));
    ImGui::Begin("##kv-player-window", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                     ImGuiWindowFlags_NoNav | ImGuiWindowFlags_NoScrollWithMouse | ImGuiWindowFlags_NoBackground);
    ImGui::SetWindowFocus();
    ImDrawList* d = ImGui::GetWindowDrawList();
    const ImVec2 mn(Left, Top), mx(Right, Bottom);
    d->AddRectFilled(mn, mx, classic::Face);
    classic::WindowFrame(d, mn, mx);
    // Title bar, with a close box that goes back like Esc.
    const ImVec2 tb0(Left + 3, Top + 3), tb1(Right - 3, Top + 3 + TitleH);
    d->AddRectFilled(tb0, tb1, classic::Caption);
    d->AddText(f, f->FontSize, ImVec2(tb0.x + 4, tb0.y + (TitleH - f->FontSize) / 2), classic::Window, title.c_str());
    W.NoteFit(title, f, tb1.x - tb0.x - TitleH - 8);
    {
        const ImVec2 c0(tb1.x - TitleH + 2, tb0.y + 2), c1(tb1.x - 2, tb1.y - 2);
        ImGui::SetCursorScreenPos(c0);
        if (ImGui::InvisibleButton("##close", ImVec2(c1.x - c0.x, c1.y - c0.y)) && M.OnBack) {
            out.Any = true;
            out.Nav = TNav::Back;
        }
        classic::ButtonFrame(d, c0, c1, ImGui::IsItemActive());
        classic::CentredText(d, f, c0, c1, "×", classic::Text, false);
    }

    const float rowsTop = tb1.y + Pad, rowsBottom = Bottom - 4 - statusH;
    const int32_t fit = std::max(1, static_cast<int32_t>((rowsBottom - rowsTop) / RowH));
    if (const TEntry* fe = M.Focused()) {
        if (fe->Row < M.FirstRow) M.FirstRow = fe->Row;
        if (fe->Row >= M.FirstRow + fit) M.FirstRow = fe->Row - fit + 1;
    }
    if (ImGui::IsWindowHovered() && ImGui::GetIO().MouseWheel != 0)
        M.FirstRow -= static_cast<int32_t>(std::round(ImGui::GetIO().MouseWheel)) * 3;
    M.FirstRow = std::clamp(M.FirstRow, 0, std::max(0, rows - fit));

    const bool grid = M.Layout == TMenu::Grid;
    bool labels = false;
    for (const std::string& l : M.RowLabels) labels |= !l.empty();
    const float x0 = Left + Pad, x1 = Right - Pad;
    const float labelW = grid && labels ? 64 : 0;
    const float cellW = grid ? std::floor((x1 - x0 - labelW) / std::max(1, M.Columns)) : 0;

    for (int32_t r = M.FirstRow; r < rows && r < M.FirstRow + fit; ++r) {
        const float y = rowsTop + (r - M.FirstRow) * RowH;
        if (grid && r < static_cast<int32_t>(M.RowLabels.size()) && !M.RowLabels[r].empty())
            d->AddText(f, f->FontSize, ImVec2(x0, y + (RowH - f->FontSize) / 2), classic::Text, rowLabels[r].c_str());
        if (grid && r < static_cast<int32_t>(M.RowLabels.size())) W.NoteFit(rowLabels[r], f, labelW - 2);
    }
    for (size_t i = 0; i < M.Entries.size(); ++i) {
        TEntry& e = M.Entries[i];
        if (e.Row < M.FirstRow || e.Row >= M.FirstRow + fit) continue;
        const float y = rowsTop + (e.Row - M.FirstRow) * RowH;
        const bool focus = i == M.Focus;
        ImVec2 a, b;
        if (grid) {
            const bool inTable = e.Row < static_cast<int32_t>(M.RowLabels.size());
            const float gx = inTable ? x0 + labelW : x0;
            const float gw = inTable ? cellW : std::floor((x1 - x0) / std::max(1, M.Columns));
            a = ImVec2(gx + e.Col * gw, y + 1);
            b = ImVec2(gx + (e.Col + e.Span) * gw - 2, y + RowH - 1);
        } else {
            a = ImVec2(x0, y);
            b = ImVec2(x1, y + RowH - 1);
        }
        ImGui::PushID(static_cast<int>(i));
        ImGui::SetCursorScreenPos(a);
        const bool clicked = ImGui::InvisibleButton("##entry", ImVec2(std::max(1.0f, b.x - a.x), std::max(1.0f, b.y - a.y)));
        ImGui::PopID();
        const ImU32 ink = !e.Enabled ? Disabled : focus ? classic::Window : e.Warn ? WarnText : classic::Text;
        const bool sunk = focus && Pushed;
        if (grid) {
            classic::ButtonFrame(d, a, b, sunk);
            if (focus) d->AddRectFilled(ImVec2(a.x + 2, a.y + 2), ImVec2(b.x - 2, b.y - 2), e.Warn ? WarnText : classic::Caption);
            const float s = sunk ? 1.0f : 0.0f;
            classic::CentredText(d, f, ImVec2(a.x + s, a.y + s), ImVec2(b.x + s, b.y + s), shown[i].c_str(), ink, false);
            W.NoteFit(shown[i], f, b.x - a.x - 4);
        } else {
            if (focus) {
                d->AddRectFilled(a, b, classic::Caption);
                if (sunk) d->AddRect(a, b, classic::Text);
            }
            const float ty = y + (RowH - f->FontSize) / 2;
            d->PushClipRect(a, b, true);
            d->AddText(f, f->FontSize, ImVec2(a.x + 4, ty), ink, shown[i].c_str());
            const std::string& value = values[i];
            if (value.empty() && !e.OnAdjust) W.NoteFit(shown[i], f, b.x - a.x - 8);
            if (!value.empty() || e.OnAdjust) {
                const float vw = f->CalcTextSizeA(f->FontSize, FLT_MAX, 0, value.c_str()).x;
                // The label and the value, each in its own part of the row.
                W.NoteFit(shown[i], f, b.x - a.x - 12 - (e.OnAdjust ? 100 : vw));
                if (e.OnAdjust) W.NoteFit(value, f, 70);
                if (e.OnAdjust) {
                    const float right = b.x - 16, leftArrow = right - 84;
                    d->AddText(f, f->FontSize, ImVec2(leftArrow, ty), ink, "◀");
                    d->AddText(f, f->FontSize, ImVec2(right + 2, ty), ink, "▶");
                    d->AddText(f, f->FontSize, ImVec2(std::floor(leftArrow + 14 + (right - leftArrow - 14 - vw) / 2), ty), ink,
                               value.c_str());
                    if (clicked) {
                        const float mxp = ImGui::GetIO().MousePos.x;
                        if (mxp >= leftArrow - 2 && mxp < leftArrow + 14) {
                            out = {true, i, TNav::Left};
                        } else if (mxp >= right) {
                            out = {true, i, TNav::Right};
                        }
                    }
                } else {
                    d->AddText(f, f->FontSize, ImVec2(b.x - 4 - vw, ty), ink, value.c_str());
                }
            }
            d->PopClipRect();
        }
        if (clicked && e.Enabled && !out.Any) out = {true, i, TNav::Press};
    }
    // More rows above or below.
    if (M.FirstRow > 0) d->AddText(f, f->FontSize, ImVec2(x1 - 10, rowsTop - 12), classic::Shadow, "▲");
    if (M.FirstRow + fit < rows) d->AddText(f, f->FontSize, ImVec2(x1 - 10, rowsBottom - 4), classic::Shadow, "▼");
    W.NeedGlyphs("▲▼");

    if (lines) {
        const float sy = Bottom - 4 - statusH + Pad / 2;
        d->AddLine(ImVec2(x0, sy - 2), ImVec2(x1, sy - 2), classic::Shadow);
        d->PushClipRect(ImVec2(x0, sy), ImVec2(x1, Bottom - 3), true);
        d->AddText(f, f->FontSize, ImVec2(x0, sy), classic::Text, status.c_str(), nullptr, statusW);
        d->PopClipRect();
    }
    ImGui::End();
    return out;
}

}  // namespace kv::ui
