#pragma once
// The replays: date, mode, score and length of each, newest first. Pressing one offers to play
// it back in the window or to keep it for good (or let it go again).
#include <memory>

#include "ui/Window.h"

namespace kv::ui {

std::unique_ptr<TWindow> MakeReplayWindow(IUiContext& Ui);

// "3:07": a length of Frames at 60 frames a second.
std::string FormatLength(int64_t Frames);

}  // namespace kv::ui
