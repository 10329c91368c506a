#pragma once
// The window's controls drawn with Dear ImGui over the playfield: push buttons with hover hints,
// single-line edit fields with IME input, the version window, and modal message boxes. All of
// it is laid out in the 321 × 481 logical pixels of the window's target, so the controls sit at
// their Bounds at any scale and in full screen.
#include <SDL.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/Widgets.h"

struct ImFont;
struct ImGuiContext;
struct ImGuiInputTextCallbackData;

namespace kv {

class TSdlSurface;
class TSdlWindow;

class TSdlWidgets : public IDialogs {
public:
    // Surface: the back buffer the frame is drawn on (its fills tell a new frame from a
    // redraw of the old one). An empty FontPath looks for IPA P Gothic.
    TSdlWidgets(TSdlWindow& Window, TSdlSurface& Surface, std::string FontPath = {});
    ~TSdlWidgets() override;
    TSdlWidgets(const TSdlWidgets&) = delete;
    TSdlWidgets& operator=(const TSdlWidgets&) = delete;

    // The controls to draw; they stay owned by the caller. SubWindowName prefixes the names of
    // the sub window's buttons in TakeClicks ("Form2.Button1").
    void SetControls(std::vector<TButton*> Buttons, std::vector<TEdit*> Edits, TSubWindow* SubWindow,
                     std::string SubWindowName = "Form2");
    // The main window's controls: Button1 … Button6, Edit1, Edit2 and Form2.
    template <class TForm>
    void Attach(TForm& F) {
        SetControls({&F.Button1, &F.Button2, &F.Button3, &F.Button4, &F.Button5, &F.Button6}, {&F.Edit1, &F.Edit2},
                    &F.Form2, "Form2");
    }

    // Every SDL event goes through here (mouse, keys, text input, focus).
    void HandleEvent(const SDL_Event& E);
    // Draws the visible controls into the window's target: after the HUD, before Present. When
    // no new frame was drawn since the last call, the last frame is put back first.
    void Render();

    // After the renderer lost its textures: the frame copy and the font atlas are made anew.
    void RestoreTextures();

    // Buttons clicked since the last call, by name, in click order. The caller runs them.
    std::vector<std::string> TakeClicks();
    // Or let the widgets run them: OnClick of each clicked button (between frames).
    void DeliverClicks();
    // Edit fields whose text the player changed since the last call: (name, text now).
    std::vector<std::pair<std::string, std::string>> TakeEdits();

    // A modal box with Title, Text and an OK button over the last frame; returns when it is
    // closed (OK, Enter, Escape). WhileOpen runs on every turn of its loop. Closing the window
    // closes the box and leaves the quit request in SDL's queue.
    void ShowMessage(const std::string& Title, const std::string& Text) override;
    void ShowMessage(const std::string& Title, const std::string& Text, const std::function<void()>& WhileOpen);
    std::function<void()> WhileOpen;
    int32_t OpenMessages() const { return static_cast<int32_t>(Messages_.size()); }

    // How long the pointer rests on a button before its hint shows, in seconds.
    float HintDelay = 0.5f;
    // The hint shown now ("" for none); for tests.
    const std::string& ShownHint() const { return ShownHint_; }
    // Pixel sizes of the fonts built so far.
    std::vector<int32_t> FontSizes() const;
    bool TextInputActive() const { return TextInput_; }
    bool Composing() const { return !Composing_.empty(); }

    // ---- keyboard and pad navigation (the player's windows drive these) ----
    // The control drawn with the focus look (a TButton of the controls, or nullptr), and whether
    // it is held down.
    const void* FocusedControl = nullptr;
    bool FocusPushed = false;
    // The edit field the keys go to from the next frame on; nullptr takes them from every field.
    void FocusEdit(TEdit* Field);
    // The edit field that had the keys in the last frame drawn (a click may have moved them).
    const TEdit* ActiveEdit() const { return LastActiveEdit_; }
    // Buttons of the program's own (not the window's components): drawn like the others,
    // their clicks run by DeliverOwnClicks and never recorded.
    void SetOwnButtons(std::vector<TButton*> Buttons);
    void DeliverOwnClicks();
    // Run by Render: before the controls are drawn, and while they are (more windows on top).
    std::function<void()> BeforeControls, DrawControls;
    // The window font at a pixel size, and glyphs a text will need.
    ImFont* UiFont(int32_t Pixels) { return Font(Pixels); }
    void NeedGlyphs(const std::string& Utf8);
    // Notes a text drawn in F that is wider than the Room its control gives it; the texts noted
    // since the last call (a translation too long for its button, field or window).
    void NoteFit(const std::string& Text, ImFont* F, float Room);
    std::vector<std::string> TakeOverflowing() { return std::exchange(Overflowing_, {}); }

private:
    struct TMessage {
        std::string Title, Text;
        int32_t Id = 0;
        bool CloseRequested = false;
        bool Closed = false;
    };
    void Frame();
    void DrawPlayfield();
    void DrawSubWindow();
    void DrawMessages(size_t Index);
    // ClickName "" records no click.
    bool Button(TButton& B, float X, float Y, const std::string& ClickName);
    void Edit(TEdit& E, bool FocusNow);
    TButton* FindButton(const std::string& Name);
    void Hint();
    void Composition();
    void UpdateTextInput();
    static int EditCallback(ImGuiInputTextCallbackData* Data);

    ImFont* Font(int32_t Pixels);
    void BuildFonts();
    void CreateScene();
    void CreateIcon();

    TSdlWindow& Window_;
    TSdlSurface& Surface_;
    std::vector<std::string> Overflowing_;
    std::string FontPath_;
    std::vector<char> FontData_;
    std::vector<unsigned short> Ranges_;  // glyph ranges of the atlas (ImWchar)
    float EmToImGui_ = 1.0f;  // ImGui sizes a face by its full height, the window by its em
    ImGuiContext* Context_ = nullptr;
    SDL_Texture* Scene_ = nullptr;  // the frame as drawn, without the controls
    SDL_Texture* Icon_ = nullptr;   // the game's icon, for the version window
    uint64_t SceneFill_ = ~0ull;

    std::vector<TButton*> Buttons_;
    std::vector<TEdit*> Edits_;
    TSubWindow* Sub_ = nullptr;
    std::string SubName_;

    std::set<int32_t> WantedSizes_;
    std::map<int32_t, ImFont*> Fonts_;
    std::set<uint32_t> ExtraGlyphs_;
    bool FontsDirty_ = true;

    // The pointer in logical pixels, as the events report it.
    float MouseX_ = -1, MouseY_ = -1;
    bool MouseIn_ = false;
    bool MouseDown_[3] = {false, false, false};
    bool MousePressed_[3] = {false, false, false};

    const void* HoverItem_ = nullptr;
    double HoverSince_ = 0;
    bool HintSuppressed_ = false;
    std::string HoverHint_, ShownHint_;
    bool HoverSeen_ = false;

    bool TextInput_ = true;  // SDL starts with text input on
    SDL_Rect TextInputRect_{0, 0, 0, 0};
    std::string Composing_;  // the input method's text not yet committed
    TEdit* ActiveEdit_ = nullptr;
    unsigned int ActiveEditId_ = 0;
    SDL_Rect ActiveEditRect_{0, 0, 0, 0};
    bool EditsWereVisible_ = false;

    TEdit* FocusEditNext_ = nullptr;
    bool BlurEditsNext_ = false;
    const TEdit* LastActiveEdit_ = nullptr;
    std::vector<TButton*> OwnButtons_, OwnClicks_;

    TButton OkButton_;
    std::vector<std::string> Clicks_;
    std::vector<std::pair<std::string, std::string>> EditChanges_;
    std::vector<TMessage> Messages_;
    int32_t MessageSerial_ = 0;
    bool InFrame_ = false;
};

}  // namespace kv
