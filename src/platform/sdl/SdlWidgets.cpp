#include "platform/sdl/SdlWidgets.h"

#include <SDL_ttf.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>
#include <imgui_internal.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/Errors.h"
#include "i18n/Tr.h"
#include "platform/sdl/ClassicLook.h"
#include "platform/sdl/SdlFont.h"
#include "platform/sdl/SdlIcon.h"
#include "platform/sdl/SdlSurface.h"
#include "platform/sdl/SdlWindow.h"

namespace kv {

namespace {

constexpr float LogicalW = TSdlWindow::LogicalWidth, LogicalH = TSdlWindow::LogicalHeight;
constexpr int32_t UiPixels = 12;      // the window font: hints, message boxes, captions
constexpr float TitlePadY = 3, SubBorder = 3;

// Code points of a UTF-8 string (malformed bytes are skipped).
std::vector<uint32_t> CodePoints(const std::string& s) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) {
            ++i;
            continue;
        }
        uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += n;
    }
    return out;
}

// The ratio of a face's full height (ascent + descent) to its em, which is what the window's
// font heights give.
float FullHeightPerEm(const std::string& Path) {
    if (TTF_Init() != 0) return 1.0f;
    float r = 1.0f;
    if (TTF_Font* f = TTF_OpenFont(Path.c_str(), 100)) {
        r = (TTF_FontAscent(f) - TTF_FontDescent(f)) / 100.0f;
        TTF_CloseFont(f);
    }
    TTF_Quit();
    return r > 0.5f && r < 2.0f ? r : 1.0f;
}

void ClassicStyle() {
    ImGuiStyle& s = ImGui::GetStyle();
    s.WindowRounding = s.ChildRounding = s.FrameRounding = s.PopupRounding = s.GrabRounding = s.TabRounding = 0;
    s.WindowBorderSize = s.PopupBorderSize = s.FrameBorderSize = 0;
    s.WindowPadding = ImVec2(0, 0);
    s.FramePadding = ImVec2(1, 2);
    s.ItemSpacing = ImVec2(0, 0);
    s.WindowMinSize = ImVec2(1, 1);
    s.WindowTitleAlign = ImVec2(0, 0.5f);
    s.AntiAliasedLines = s.AntiAliasedFill = false;  // hard pixel edges like the classic controls
    ImVec4* c = s.Colors;
    auto col = [](ImU32 v) { return ImGui::ColorConvertU32ToFloat4(v); };
    c[ImGuiCol_Text] = col(classic::Text);
    c[ImGuiCol_WindowBg] = c[ImGuiCol_PopupBg] = col(classic::Face);
    c[ImGuiCol_Border] = col(classic::DarkShadow);
    c[ImGuiCol_FrameBg] = c[ImGuiCol_FrameBgHovered] = c[ImGuiCol_FrameBgActive] = col(classic::Window);
    c[ImGuiCol_TitleBg] = c[ImGuiCol_TitleBgCollapsed] = col(classic::Shadow);
    c[ImGuiCol_TitleBgActive] = col(classic::Caption);
    c[ImGuiCol_Button] = c[ImGuiCol_ButtonHovered] = c[ImGuiCol_ButtonActive] = col(classic::Face);
    c[ImGuiCol_TextSelectedBg] = col(IM_COL32(10, 36, 106, 110));
    c[ImGuiCol_ModalWindowDimBg] = ImVec4(0, 0, 0, 0);
    c[ImGuiCol_NavHighlight] = ImVec4(0, 0, 0, 0);
}

}  // namespace

TSdlWidgets::TSdlWidgets(TSdlWindow& Window, TSdlSurface& Surface, std::string FontPath)
    : Window_(Window), Surface_(Surface), FontPath_(FontPath.empty() ? FindGothicFont() : std::move(FontPath)) {
    std::ifstream in(FontPath_, std::ios::binary);
    FontData_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (FontData_.empty()) throw EFOpenError("The font file '" + FontPath_ + "' cannot be read");
    EmToImGui_ = FullHeightPerEm(FontPath_);

    IMGUI_CHECKVERSION();
    Context_ = ImGui::CreateContext();
    ImGui::SetCurrentContext(Context_);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    ClassicStyle();
    ImGui_ImplSDL2_InitForSDLRenderer(Window_.Window());
    ImGui_ImplSDLRenderer_Init(Window_.Renderer());

    CreateScene();
    CreateIcon();

    WantedSizes_.insert(UiPixels);
    OkButton_.Caption = N_("OK");
    OkButton_.Font.Height = -UiPixels;
    OkButton_.Bounds = Bounds(0, 0, 75, 23);
    // SDL starts with text input on; it stays off until an edit field shows.
    SDL_StopTextInput();
    TextInput_ = false;
}

TSdlWidgets::~TSdlWidgets() {
    ImGui::SetCurrentContext(Context_);
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext(Context_);
    if (Scene_) SDL_DestroyTexture(Scene_);
    if (Icon_) SDL_DestroyTexture(Icon_);
}

void TSdlWidgets::CreateScene() {
    // In the target's format: the copy is then a plain one.
    Uint32 format = SDL_PIXELFORMAT_ARGB8888;
    SDL_QueryTexture(Window_.Target(), &format, nullptr, nullptr, nullptr);
    Scene_ = SDL_CreateTexture(Window_.Renderer(), format, SDL_TEXTUREACCESS_TARGET, TSdlWindow::LogicalWidth,
                               TSdlWindow::LogicalHeight);
    if (!Scene_) throw std::runtime_error(std::string("cannot create the frame copy for the controls: ") + SDL_GetError());
    SDL_SetTextureBlendMode(Scene_, SDL_BLENDMODE_NONE);
    SceneFill_ = ~0ull;
}

void TSdlWidgets::CreateIcon() {
    // The version window shows the game's icon, smoothly scaled to its place.
    if (SDL_Surface* icon = LoadAppIcon()) {
        Icon_ = SDL_CreateTextureFromSurface(Window_.Renderer(), icon);
        SDL_FreeSurface(icon);
        if (Icon_) SDL_SetTextureScaleMode(Icon_, SDL_ScaleModeLinear);
    }
}

void TSdlWidgets::RestoreTextures() {
    if (Scene_) SDL_DestroyTexture(Scene_);
    Scene_ = nullptr;
    CreateScene();
    if (Icon_) SDL_DestroyTexture(Icon_);
    Icon_ = nullptr;
    CreateIcon();
    FontsDirty_ = true;  // the atlas is uploaded again before the next frame
}

void TSdlWidgets::SetControls(std::vector<TButton*> Buttons, std::vector<TEdit*> Edits, TSubWindow* SubWindow,
                              std::string SubWindowName) {
    Buttons_ = std::move(Buttons);
    Edits_ = std::move(Edits);
    Sub_ = SubWindow;
    SubName_ = std::move(SubWindowName);
    const size_t sizes = WantedSizes_.size();
    auto button = [&](const TButton& b) {
        WantedSizes_.insert(FontHeightToPixels(b.Font.Height));
        NeedGlyphs(b.Caption);
        NeedGlyphs(b.Hint);
    };
    for (TButton* b : Buttons_) button(*b);
    for (TEdit* e : Edits_) WantedSizes_.insert(FontHeightToPixels(e->Font.Height));
    for (TButton* b : OwnButtons_) button(*b);
    if (Sub_) {
        NeedGlyphs(Sub_->Caption);
        for (const TLabel& l : Sub_->Labels) {
            WantedSizes_.insert(FontHeightToPixels(l.Font.Height));
            NeedGlyphs(l.Caption);
        }
        for (const TButton& b : Sub_->Buttons) button(b);
    }
    // New glyphs have marked the fonts already; new sizes do here.
    if (WantedSizes_.size() != sizes) FontsDirty_ = true;
}

std::vector<int32_t> TSdlWidgets::FontSizes() const {
    std::vector<int32_t> out;
    for (const auto& [px, f] : Fonts_) out.push_back(px);
    return out;
}

// ---- fonts ----

void TSdlWidgets::NeedGlyphs(const std::string& Utf8) {
    ImFont* probe = Fonts_.empty() ? nullptr : Fonts_.begin()->second;
    for (uint32_t cp : CodePoints(Utf8)) {
        if (cp < 0x80 || cp > 0xFFFF || ExtraGlyphs_.count(cp)) continue;
        if (probe && probe->FindGlyphNoFallback(static_cast<ImWchar>(cp))) continue;
        ExtraGlyphs_.insert(cp);
        FontsDirty_ = true;
    }
}

void TSdlWidgets::NoteFit(const std::string& Text, ImFont* F, float Room) {
    size_t at = 0;
    while (at <= Text.size()) {
        const size_t end = std::min(Text.find('\n', at), Text.size());
        const std::string line = Text.substr(at, end - at);
        if (F->CalcTextSizeA(F->FontSize, FLT_MAX, 0.0f, line.c_str()).x > Room + 0.5f) {
            Overflowing_.push_back(line);
            return;
        }
        at = end + 1;
    }
}

ImFont* TSdlWidgets::Font(int32_t Pixels) {
    if (auto it = Fonts_.find(Pixels); it != Fonts_.end()) return it->second;
    // Built before the next frame; meanwhile the nearest size stands in.
    WantedSizes_.insert(Pixels);
    FontsDirty_ = true;
    if (Fonts_.empty()) return ImGui::GetFont();
    auto it = Fonts_.lower_bound(Pixels);
    return it == Fonts_.end() ? std::prev(it)->second : it->second;
}

void TSdlWidgets::BuildFonts() {
    ImGuiIO& io = ImGui::GetIO();
    ImGui_ImplSDLRenderer_DestroyFontsTexture();
    io.Fonts->Clear();
    Fonts_.clear();
    ImFontGlyphRangesBuilder b;
    b.AddRanges(io.Fonts->GetGlyphRangesJapanese());
    for (uint32_t cp : ExtraGlyphs_) b.AddChar(static_cast<ImWchar>(cp));
    ImVector<ImWchar> ranges;
    b.BuildRanges(&ranges);
    Ranges_.assign(ranges.begin(), ranges.end());
    for (int32_t px : WantedSizes_) {
        ImFontConfig cfg;
        cfg.FontDataOwnedByAtlas = false;
        cfg.OversampleH = cfg.OversampleV = 1;  // one rendering per glyph keeps the atlas small
        cfg.PixelSnapH = true;
        Fonts_[px] = io.Fonts->AddFontFromMemoryTTF(FontData_.data(), static_cast<int>(FontData_.size()),
                                                    px * EmToImGui_, &cfg, Ranges_.data());
    }
    io.Fonts->Build();
    io.FontDefault = Fonts_.count(UiPixels) ? Fonts_[UiPixels] : nullptr;
    ImGui_ImplSDLRenderer_CreateFontsTexture();
    FontsDirty_ = false;
}

// ---- events ----

void TSdlWidgets::HandleEvent(const SDL_Event& E) {
    ImGui::SetCurrentContext(Context_);
    const Uint32 id = Window_.WindowId();
    auto pointer = [&](int x, int y) {
        float lx = 0, ly = 0;
        Window_.WindowToLogical(static_cast<float>(x), static_cast<float>(y), lx, ly);
        MouseX_ = lx;
        MouseY_ = ly;
        MouseIn_ = true;
    };
    auto button = [](Uint8 b) { return b == SDL_BUTTON_LEFT ? 0 : b == SDL_BUTTON_RIGHT ? 1 : b == SDL_BUTTON_MIDDLE ? 2 : -1; };
    switch (E.type) {
        case SDL_MOUSEMOTION:
            if (E.motion.windowID == id) pointer(E.motion.x, E.motion.y);
            return;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (E.button.windowID != id) return;
            pointer(E.button.x, E.button.y);
            const int b = button(E.button.button);
            if (b < 0) return;
            if (E.type == SDL_MOUSEBUTTONDOWN) MousePressed_[b] = MouseDown_[b] = true;
            else MouseDown_[b] = false;
            return;
        }
        case SDL_WINDOWEVENT:
            if (E.window.windowID != id) return;
            if (E.window.event == SDL_WINDOWEVENT_LEAVE && !MouseDown_[0]) MouseIn_ = false;
            if (E.window.event == SDL_WINDOWEVENT_FOCUS_LOST) MouseDown_[0] = MouseDown_[1] = MouseDown_[2] = false;
            break;
        case SDL_TEXTEDITING:
            Composing_ = E.edit.text;
            return;
        case SDL_TEXTINPUT:
            Composing_.clear();
            NeedGlyphs(E.text.text);
            break;
        default:
            break;
    }
    ImGui_ImplSDL2_ProcessEvent(&E);
}

// ---- frames ----

void TSdlWidgets::FocusEdit(TEdit* Field) {
    FocusEditNext_ = Field;
    BlurEditsNext_ = Field == nullptr;
}

void TSdlWidgets::SetOwnButtons(std::vector<TButton*> Buttons) {
    OwnButtons_ = std::move(Buttons);
    for (TButton* b : OwnButtons_) {
        WantedSizes_.insert(FontHeightToPixels(b->Font.Height));
        NeedGlyphs(b->Caption);
        NeedGlyphs(b->Hint);
    }
    FontsDirty_ = true;
}

void TSdlWidgets::DeliverOwnClicks() {
    std::vector<TButton*> clicked;
    clicked.swap(OwnClicks_);
    for (TButton* b : clicked)
        if (b->Visible && b->OnClick) b->OnClick();
}

void TSdlWidgets::Render() {
    ImGui::SetCurrentContext(Context_);
    if (BeforeControls) BeforeControls();
    SDL_Renderer* r = Window_.Renderer();
    // Keep the frame as drawn; a redraw without a new frame starts from that copy, so hints and
    // moved windows leave nothing behind.
    if (Surface_.FillCount() != SceneFill_) {
        SceneFill_ = Surface_.FillCount();
        SDL_SetRenderTarget(r, Scene_);
        SDL_RenderCopy(r, Window_.Target(), nullptr, nullptr);
        Window_.SelectTarget();
    } else {
        Window_.SelectTarget();
        SDL_RenderCopy(r, Scene_, nullptr, nullptr);
    }
    Frame();
}

void TSdlWidgets::Frame() {
    if (FontsDirty_) BuildFonts();
    ImGuiIO& io = ImGui::GetIO();
    ImGui_ImplSDLRenderer_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    // Everything is laid out in logical pixels; the window's target is scaled as a whole.
    io.DisplaySize = ImVec2(LogicalW, LogicalH);
    io.DisplayFramebufferScale = ImVec2(1, 1);
    if (io.DeltaTime <= 0) io.DeltaTime = 1e-4f;  // two frames within one clock tick
    io.MousePos = MouseIn_ ? ImVec2(MouseX_, MouseY_) : ImVec2(-FLT_MAX, -FLT_MAX);
    for (int b = 0; b < 3; ++b) {
        io.MouseDown[b] = MousePressed_[b] || MouseDown_[b];  // a click between frames still counts
        MousePressed_[b] = false;
    }
    ImGui::NewFrame();
    if (BlurEditsNext_) {
        ImGui::ClearActiveID();  // the keys leave the fields for a button
        BlurEditsNext_ = false;
    }
    InFrame_ = true;
    HoverSeen_ = false;
    ActiveEdit_ = nullptr;
    DrawPlayfield();
    DrawSubWindow();
    LastActiveEdit_ = ActiveEdit_;
    if (DrawControls) DrawControls();
    if (!Messages_.empty()) DrawMessages(0);
    if (!HoverSeen_) {
        HoverItem_ = nullptr;
        HintSuppressed_ = false;
    }
    Hint();
    Composition();
    ImGui::Render();
    InFrame_ = false;
    ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
    UpdateTextInput();
}

void TSdlWidgets::DrawPlayfield() {
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(LogicalW, LogicalH));
    ImGui::Begin("##playfield", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoBackground | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoBringToFrontOnFocus |
                     ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoNav | ImGuiWindowFlags_NoScrollWithMouse);
    for (TButton* b : Buttons_)
        if (b->Visible) Button(*b, static_cast<float>(b->Bounds.Left), static_cast<float>(b->Bounds.Top), b->Name);
    for (TButton* b : OwnButtons_)
        if (b->Visible && Button(*b, static_cast<float>(b->Bounds.Left), static_cast<float>(b->Bounds.Top), ""))
            OwnClicks_.push_back(b);
    bool anyEdit = false;
    for (TEdit* e : Edits_) {
        if (!e->Visible) continue;
        // The first field takes the keys when the fields appear.
        Edit(*e, (!anyEdit && !EditsWereVisible_) || e == FocusEditNext_);
        anyEdit = true;
    }
    FocusEditNext_ = nullptr;
    EditsWereVisible_ = anyEdit;
    // What the record cannot hold is said under the fields, never dropped unseen.
    const TEdit* refused = nullptr;
    int32_t below = 0;
    for (TEdit* e : Edits_) {
        if (!e->Visible) e->Refused.clear();
        else below = std::max(below, e->Bounds.Bottom);
        if (e->Visible && !e->Refused.empty()) refused = e;
    }
    if (refused) {
        const std::string say = i18n::Format(i18n::Tr("「%s」は記録に残せないため入力できません"), {refused->Refused});
        NeedGlyphs(say);
        ImFont* f = Font(12);
        const TRect& r = refused->Bounds;
        ImGui::GetWindowDrawList()->AddText(f, f->FontSize, ImVec2(static_cast<float>(r.Left), static_cast<float>(below + 2)),
                                            IM_COL32(255, 96, 96, 255), say.c_str());
    }
    ImGui::End();
}

bool TSdlWidgets::Button(TButton& B, float X, float Y, const std::string& ClickName) {
    ImGui::PushID(&B);
    ImGui::SetCursorScreenPos(ImVec2(X, Y));
    const ImVec2 size(static_cast<float>(std::max(1, B.Bounds.Width())), static_cast<float>(std::max(1, B.Bounds.Height())));
    const bool clicked = ImGui::InvisibleButton("##button", size);
    const bool hovered = ImGui::IsItemHovered();
    const bool down = ImGui::IsItemActive() && hovered;
    const ImVec2 mn = ImGui::GetItemRectMin(), mx = ImGui::GetItemRectMax();
    ImDrawList* d = ImGui::GetWindowDrawList();
    const bool focused = FocusedControl == &B;
    const bool sunk = down || (focused && FocusPushed);
    classic::ButtonFrame(d, mn, mx, sunk);
    if (focused) classic::FocusFrame(d, mn, mx, sunk);
    const float shift = sunk ? 1.0f : 0.0f;
    const std::string caption = i18n::Tr(B.Caption);
    NeedGlyphs(caption);
    NoteFit(caption, Font(FontHeightToPixels(B.Font.Height)), mx.x - mn.x - 4);
    classic::CentredText(d, Font(FontHeightToPixels(B.Font.Height)), ImVec2(mn.x + 2 + shift, mn.y + 2 + shift),
                         ImVec2(mx.x - 2 + shift, mx.y - 2 + shift), caption.c_str(), classic::Text, B.Font.Bold);
    if (hovered) {
        HoverSeen_ = true;
        if (HoverItem_ != &B) {
            HoverItem_ = &B;
            HoverSince_ = ImGui::GetTime();
            HintSuppressed_ = false;
        }
        HoverHint_ = i18n::Tr(B.Hint);
        NeedGlyphs(HoverHint_);
        // A press hides the hint until the pointer leaves the button.
        if (ImGui::IsMouseDown(ImGuiMouseButton_Left) || clicked) HintSuppressed_ = true;
    }
    if (clicked && !ClickName.empty()) Clicks_.push_back(ClickName);
    ImGui::PopID();
    return clicked;
}

int TSdlWidgets::EditCallback(ImGuiInputTextCallbackData* Data) {
    auto* e = static_cast<TEdit*>(Data->UserData);
    if (Data->EventFlag != ImGuiInputTextFlags_CallbackEdit || !e || !e->Filter) return 0;
    const std::string typed(Data->Buf, Data->BufTextLen);
    const std::string kept = e->Filter(typed);
    e->Refused = e->Refuses && kept != typed ? e->Refuses(typed) : "";
    if (kept == typed) return 0;
    // Where the cursor lands: what the filter keeps of the text before it.
    const int cursor = static_cast<int>(e->Filter(typed.substr(0, std::clamp(Data->CursorPos, 0, Data->BufTextLen))).size());
    Data->DeleteChars(0, Data->BufTextLen);
    Data->InsertChars(0, kept.c_str(), kept.c_str() + kept.size());
    Data->CursorPos = Data->SelectionStart = Data->SelectionEnd = std::min<int>(cursor, static_cast<int>(kept.size()));
    return 0;
}

void TSdlWidgets::Edit(TEdit& E, bool FocusNow) {
    ImGui::PushID(&E);
    const TRect& r = E.Bounds;
    const ImVec2 mn(static_cast<float>(r.Left), static_cast<float>(r.Top));
    const ImVec2 mx(static_cast<float>(r.Right), static_cast<float>(r.Bottom));
    ImDrawList* d = ImGui::GetWindowDrawList();
    d->AddRectFilled(mn, mx, classic::Window);
    ImFont* f = Font(FontHeightToPixels(E.Font.Height));
    ImGui::PushFont(f);
    const float inner = static_cast<float>(r.Height() - 4);
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(1, std::max(0.0f, std::floor((inner - f->FontSize) / 2))));
    ImGui::SetCursorScreenPos(ImVec2(mn.x + 2, mn.y + 2));
    ImGui::SetNextItemWidth(static_cast<float>(std::max(1, r.Width() - 4)));
    if (FocusNow) ImGui::SetKeyboardFocusHere();
    const bool changed = ImGui::InputText("##edit", &E.Text, ImGuiInputTextFlags_CallbackEdit, &EditCallback, &E);
    if (ImGui::IsItemActive()) {
        ActiveEdit_ = &E;
        ActiveEditId_ = ImGui::GetItemID();
        ActiveEditRect_ = SDL_Rect{r.Left, r.Top, r.Width(), r.Height()};
    }
    ImGui::PopStyleVar();
    ImGui::PopFont();
    classic::EditFrame(d, mn, mx);
    if (changed) {
        auto it = std::find_if(EditChanges_.begin(), EditChanges_.end(), [&](const auto& c) { return c.first == E.Name; });
        if (it != EditChanges_.end()) it->second = E.Text;
        else EditChanges_.emplace_back(E.Name, E.Text);
    }
    ImGui::PopID();
}

void TSdlWidgets::DrawSubWindow() {
    if (!Sub_ || !Sub_->Visible) return;
    ImFont* titleFont = Font(UiPixels);
    const float titleH = titleFont->FontSize + 2 * TitlePadY;
    const ImVec2 size(Sub_->ClientWidth + 2 * SubBorder, Sub_->ClientHeight + titleH + 2 * SubBorder);
    ImGui::SetNextWindowSize(size, ImGuiCond_Always);
    ImGui::SetNextWindowPos(ImVec2(LogicalW / 2, LogicalH / 2), ImGuiCond_FirstUseEver, ImVec2(0.5f, 0.5f));
    // The title bar is drawn in the default font, the window's 12 pixels.
    ImGui::PushStyleColor(ImGuiCol_Text, ImGui::ColorConvertU32ToFloat4(classic::Window));
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(4, TitlePadY));
    bool open = true;
    const bool shown = ImGui::Begin((i18n::Tr(Sub_->Caption) + "###kv-subwindow").c_str(), &open,
                                    ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                                        ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoScrollbar |
                                        ImGuiWindowFlags_NoScrollWithMouse);
    ImGui::PopStyleVar();
    ImGui::PopStyleColor();
    if (shown) {
        const ImVec2 wp = ImGui::GetWindowPos();
        ImDrawList* d = ImGui::GetWindowDrawList();
        d->PushClipRect(wp, ImVec2(wp.x + size.x, wp.y + size.y), false);
        classic::WindowFrame(d, wp, ImVec2(wp.x + size.x, wp.y + size.y));
        d->PopClipRect();
        const ImVec2 client(wp.x + SubBorder, wp.y + titleH + SubBorder);
        const TRect& ib = Sub_->IconBounds;
        if (ib.Width() > 0 && ib.Height() > 0)
            if (Icon_) d->AddImage(Icon_, ImVec2(client.x + ib.Left, client.y + ib.Top), ImVec2(client.x + ib.Right, client.y + ib.Bottom));
        for (const TLabel& l : Sub_->Labels) {
            ImFont* f = Font(FontHeightToPixels(l.Font.Height));
            const std::string caption = i18n::Tr(l.Caption);
            NoteFit(caption, f, static_cast<float>(Sub_->ClientWidth - l.X));
            d->AddText(f, f->FontSize, ImVec2(client.x + l.X, client.y + l.Y), classic::Text, caption.c_str());
            if (l.Font.Bold) d->AddText(f, f->FontSize, ImVec2(client.x + l.X + 1, client.y + l.Y), classic::Text, caption.c_str());
        }
        for (TButton& b : Sub_->Buttons)
            if (b.Visible) Button(b, client.x + b.Bounds.Left, client.y + b.Bounds.Top, SubName_ + "." + b.Name);
    }
    ImGui::End();
    if (!open) Sub_->Visible = false;  // the title bar's close box hides it, like its Close button
}

void TSdlWidgets::Hint() {
    ShownHint_.clear();
    if (!HoverItem_ || HintSuppressed_ || HoverHint_.empty() || ImGui::GetTime() - HoverSince_ < HintDelay) return;
    ImFont* f = Font(UiPixels);
    const ImVec2 text = f->CalcTextSizeA(f->FontSize, FLT_MAX, 0.0f, HoverHint_.c_str());
    const ImVec2 size(std::floor(text.x) + 6, std::floor(text.y) + 4);
    const ImVec2 m = ImGui::GetIO().MousePos;
    // Below the pointer, or above it where the playfield ends; always inside it.
    float x = std::floor(m.x), y = std::floor(m.y) + 20;
    if (y + size.y > LogicalH) y = std::floor(m.y) - size.y - 2;
    x = std::clamp(x, 0.0f, std::max(0.0f, LogicalW - size.x));
    y = std::clamp(y, 0.0f, std::max(0.0f, LogicalH - size.y));
    ImDrawList* d = ImGui::GetForegroundDrawList();
    d->AddRectFilled(ImVec2(x, y), ImVec2(x + size.x, y + size.y), classic::InfoBack);
    d->AddRect(ImVec2(x, y), ImVec2(x + size.x, y + size.y), classic::Text);
    d->AddText(f, f->FontSize, ImVec2(x + 3, y + 2), classic::Text, HoverHint_.c_str());
    ShownHint_ = HoverHint_;
    NoteFit(HoverHint_, f, LogicalW - 4);
}

void TSdlWidgets::Composition() {
    if (!ActiveEdit_ || Composing_.empty()) return;
    ImGuiInputTextState* st = ImGui::GetInputTextState(ActiveEditId_);
    ImFont* f = Font(FontHeightToPixels(ActiveEdit_->Font.Height));
    float x = static_cast<float>(ActiveEditRect_.x + 3);
    if (st) {
        const int cursor = std::clamp(st->Stb.cursor, 0, st->CurLenW);
        std::string before(static_cast<size_t>(cursor) * 4 + 1, '\0');
        const int n = ImTextStrToUtf8(before.data(), static_cast<int>(before.size()), st->TextW.Data, st->TextW.Data + cursor);
        before.resize(static_cast<size_t>(std::max(0, n)));
        x += f->CalcTextSizeA(f->FontSize, FLT_MAX, 0.0f, before.c_str()).x - st->ScrollX;
    }
    const ImVec2 text = f->CalcTextSizeA(f->FontSize, FLT_MAX, 0.0f, Composing_.c_str());
    const float y = ActiveEditRect_.y + (ActiveEditRect_.h - text.y) / 2;
    ImDrawList* d = ImGui::GetForegroundDrawList();
    d->AddRectFilled(ImVec2(x, y), ImVec2(x + text.x + 1, y + text.y), classic::Window);
    d->AddText(f, f->FontSize, ImVec2(x, y), classic::Text, Composing_.c_str());
    d->AddRectFilled(ImVec2(x, y + text.y - 1), ImVec2(x + text.x, y + text.y), classic::Text);  // underline
}

void TSdlWidgets::UpdateTextInput() {
    const TEdit* first = nullptr;
    for (const TEdit* e : Edits_)
        if (e->Visible) {
            first = e;
            break;
        }
    const bool want = first != nullptr;
    if (want != TextInput_) {
        if (want) SDL_StartTextInput();
        else SDL_StopTextInput();
        TextInput_ = want;
        Composing_.clear();
        TextInputRect_ = SDL_Rect{0, 0, 0, 0};
    }
    if (!want) return;
    // The candidate list of the input method opens under the field being typed in.
    const SDL_Rect logical = ActiveEdit_ ? ActiveEditRect_
                                         : SDL_Rect{first->Bounds.Left, first->Bounds.Top, first->Bounds.Width(),
                                                    first->Bounds.Height()};
    SDL_Rect r = Window_.LogicalToWindow(logical);
    if (r.x != TextInputRect_.x || r.y != TextInputRect_.y || r.w != TextInputRect_.w || r.h != TextInputRect_.h) {
        TextInputRect_ = r;
        SDL_SetTextInputRect(&r);
    }
}

// ---- clicks and edits ----

std::vector<std::string> TSdlWidgets::TakeClicks() {
    std::vector<std::string> out;
    out.swap(Clicks_);
    return out;
}

TButton* TSdlWidgets::FindButton(const std::string& Name) {
    for (TButton* b : Buttons_)
        if (b->Name == Name) return b;
    if (Sub_)
        for (TButton& b : Sub_->Buttons)
            if (SubName_ + "." + b.Name == Name) return &b;
    return nullptr;
}

void TSdlWidgets::DeliverClicks() {
    for (const std::string& name : TakeClicks()) {
        TButton* b = FindButton(name);
        if (b && b->Visible && b->OnClick) b->OnClick();
    }
}

std::vector<std::pair<std::string, std::string>> TSdlWidgets::TakeEdits() {
    std::vector<std::pair<std::string, std::string>> out;
    out.swap(EditChanges_);
    return out;
}

}  // namespace kv
