// Modal message boxes of TSdlWidgets: their own loop over the last frame, nested when a box
// opens while another one is up.
#include <imgui.h>

#include <algorithm>
#include <cmath>

#include "i18n/Tr.h"
#include "platform/sdl/ClassicLook.h"
#include "platform/sdl/FramePacer.h"
#include "platform/sdl/SdlFont.h"
#include "platform/sdl/SdlWidgets.h"
#include "platform/sdl/SdlWindow.h"

namespace kv {

namespace {
constexpr float MaxTextWidth = 260;
constexpr float Margin = 12, OkWidth = 75, OkHeight = 23;
// OK by key or pad: Enter, Esc, the shot keys Z and Space, X; the pad's A, B or Start.
bool ClosesMessage(const SDL_Event& E) {
    if (E.type == SDL_KEYDOWN && !E.key.repeat) {
        switch (E.key.keysym.scancode) {
            case SDL_SCANCODE_RETURN:
            case SDL_SCANCODE_KP_ENTER:
            case SDL_SCANCODE_ESCAPE:
            case SDL_SCANCODE_Z:
            case SDL_SCANCODE_SPACE:
            case SDL_SCANCODE_X:
                return true;
            default:
                return false;
        }
    }
    return E.type == SDL_CONTROLLERBUTTONDOWN &&
           (E.cbutton.button == SDL_CONTROLLER_BUTTON_A || E.cbutton.button == SDL_CONTROLLER_BUTTON_B ||
            E.cbutton.button == SDL_CONTROLLER_BUTTON_START);
}

}  // namespace

void TSdlWidgets::ShowMessage(const std::string& Title, const std::string& Text) {
    ShowMessage(Title, Text, WhileOpen);
}

void TSdlWidgets::ShowMessage(const std::string& Title, const std::string& Text, const std::function<void()>& Idle) {
    // A box cannot open in the middle of drawing the controls; the frame loop never asks that.
    if (InFrame_) {
        SDL_LogWarn(SDL_LOG_CATEGORY_APPLICATION, "message box asked for while drawing the controls: %s", Text.c_str());
        return;
    }
    NeedGlyphs(Title);
    NeedGlyphs(Text);
    TMessage m;
    m.Title = Title;
    m.Text = Text;
    m.Id = ++MessageSerial_;
    Messages_.push_back(m);
    const size_t mine = Messages_.size() - 1;
    TFramePacer pacer(SDL_GetPerformanceFrequency());
    bool quit = false;
    while (!Messages_[mine].Closed) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) {
                quit = true;
                Messages_[mine].CloseRequested = true;
                continue;
            }
            if (ClosesMessage(e)) {
                Messages_[mine].CloseRequested = true;
                continue;
            }
            HandleEvent(e);
        }
        if (Idle) Idle();
        Render();
        Window_.Present();
        pacer.Wait();
    }
    Messages_.erase(Messages_.begin() + static_cast<std::ptrdiff_t>(mine), Messages_.end());
    if (quit) {
        // The application's own loop ends on it.
        SDL_Event q{};
        q.type = SDL_QUIT;
        SDL_PushEvent(&q);
    }
}

void TSdlWidgets::DrawMessages(size_t Index) {
    TMessage& m = Messages_[Index];
    // Kept as the game gave them, shown in the player's language.
    const std::string title = i18n::Tr(m.Title), body = i18n::Tr(m.Text);
    NeedGlyphs(title);
    NeedGlyphs(body);
    const std::string id = title + "###kv-message-" + std::to_string(m.Id);
    if (!m.Closed && !ImGui::IsPopupOpen(id.c_str())) ImGui::OpenPopup(id.c_str());
    ImFont* f = Font(12);
    const ImVec2 text = f->CalcTextSizeA(f->FontSize, FLT_MAX, 0.0f, body.c_str());
    const float wrap = std::min(MaxTextWidth, std::ceil(text.x) + 1);
    const float inner = std::max(wrap, OkWidth);
    ImGui::SetNextWindowPos(ImVec2(TSdlWindow::LogicalWidth / 2.0f, TSdlWindow::LogicalHeight / 2.0f), ImGuiCond_Always,
                            ImVec2(0.5f, 0.5f));
    ImGui::PushFont(f);
    ImGui::PushStyleColor(ImGuiCol_Text, ImGui::ColorConvertU32ToFloat4(classic::Window));
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(4, 3));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(Margin, Margin + 2));
    const bool shown = ImGui::BeginPopupModal(
        id.c_str(), nullptr,
        ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove);
    ImGui::PopStyleVar(2);
    ImGui::PopStyleColor();
    if (shown) {
        const ImVec2 wp = ImGui::GetWindowPos(), ws = ImGui::GetWindowSize();
        ImDrawList* d = ImGui::GetWindowDrawList();
        d->PushClipRect(wp, ImVec2(wp.x + ws.x, wp.y + ws.y), false);
        classic::WindowFrame(d, wp, ImVec2(wp.x + ws.x, wp.y + ws.y));
        d->PopClipRect();
        const float x0 = ImGui::GetCursorPosX();
        ImGui::SetCursorPosX(x0 + (inner - wrap) / 2);
        ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + wrap);
        ImGui::TextUnformatted(body.c_str());
        ImGui::PopTextWrapPos();
        ImGui::Dummy(ImVec2(inner, Margin));
        const ImVec2 at = ImGui::GetCursorScreenPos();
        const bool ok = Button(OkButton_, std::floor(at.x + (inner - OkWidth) / 2), at.y, "");
        ImGui::SetCursorScreenPos(ImVec2(at.x, at.y + OkHeight));
        ImGui::Dummy(ImVec2(inner, 2));
        if (ok || m.CloseRequested) {
            ImGui::CloseCurrentPopup();
            m.Closed = true;
        }
        if (Index + 1 < Messages_.size()) DrawMessages(Index + 1);
        ImGui::EndPopup();
    }
    ImGui::PopFont();
}

}  // namespace kv
