#pragma once
// The settings window: sound volumes, the window, the retrace wait, the pad's buttons, the
// renderer, and the way to the key table. A change takes effect at once (the renderer from the
// next start) and is written to the settings file.
#include <memory>

#include "ui/Window.h"

namespace kv::ui {

std::unique_ptr<TWindow> MakeSettingsWindow(IUiContext& Ui);

// What a change to one setting does: the hooks that apply it, for the program's start as well.
void ApplySettings(const userfiles::TSettings& S, const TSettingsHooks& Hooks);

}  // namespace kv::ui
