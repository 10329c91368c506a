#include "app/WindowedUi.h"

#include <SDL_mixer.h>

#include <iostream>

#include "app/Session.h"
#include "i18n/Tr.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/sdl/SdlMixer.h"
#include "platform/sdl/SdlTestPad.h"
#include "platform/sdl/SdlWidgets.h"
#include "platform/sdl/SdlWindow.h"
#include "shell/Form1.h"

namespace kv::app {

namespace {


}  // namespace

TWindowedUi::TWindowedUi(const TWindowedParts& P) {
    try {
        if (P.OpenTestPad) Pad_ = TSdlTestPad::FromEnvironment();
    } catch (const std::exception& e) {
        std::cerr << "kalvento: " << e.what() << "\n";
    }
    ui::TGameActions a;
    TSession& session = P.Session;
    const int64_t& frame = P.Frame;
    // Between frames, as a recording applies them: before the next one.
    a.Click = [&session, &frame](const std::string& Name) { session.Click(frame + 1, Name); };
    a.Type = [&session, &frame](const std::string& Name, const std::string& Text) { session.Type(frame + 1, Name, Text); };
    a.Practice = [&session, &frame](const std::string& Target) { session.Practice(frame + 1, Target); };
    a.TogglePause = P.TogglePause;

    ui::TSettingsHooks h;
    TSdlMixer& mixer = P.Mixer;
    h.MusicVolume = [&mixer](int32_t v) { mixer.SetMusicVolume(v); };
    h.EffectVolume = [&mixer](int32_t v) { mixer.SetEffectVolume(v); };
    TSdlWindow& window = P.Window;
    h.Scale = [&window](int32_t k) { window.SetScale(k); };
    h.Fullscreen = [&window](bool on) { window.SetFullscreen(on); };
    h.VSync = [&window](bool on) { window.SetVSync(on); };
    TSdlJoystick& pad = P.Joystick;
    h.PadButtons = [&pad](const userfiles::TSettings& S) {
        pad.SetButtons({PadButtonOf(S.PadShot, SDL_CONTROLLER_BUTTON_A), PadButtonOf(S.PadBomb, SDL_CONTROLLER_BUTTON_B),
                        PadButtonOf(S.PadSlow, SDL_CONTROLLER_BUTTON_X),
                        PadButtonOf(S.PadRewind, SDL_CONTROLLER_BUTTON_LEFTSHOULDER)});
    };
    h.Language = [](const std::string& L) {
        const std::string problem = i18n::SetLanguage(L);
        if (!problem.empty()) std::cerr << "kalvento: " << problem << "; the game is shown in Japanese\n";
    };
    TForm1& form = P.Form;
    TKeyboard& probe = P.KeysProbe;
    h.Keys = [&form, &probe](const TKeyAssignment& K) {
        form.SetKeyTable(K);
        probe.Keys = K;
    };
    Ui_ = std::make_unique<ui::TPlayerUi>(P.Form, P.Widgets, std::move(a), std::move(h), P.ConfigDir, P.Settings, P.Keys);
    if (Pad_) Ui_->EachTurn = [pad = Pad_.get()] { pad->Turn(); };
}

TWindowedUi::~TWindowedUi() = default;

}  // namespace kv::app
