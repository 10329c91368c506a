#pragma once
// A recording is input from anyone: it is read whole and checked before anything of it plays.
#include <string>

#include "platform/headless/Headless.h"

namespace kv::app {

// Reads the recording or script at Path and checks it; raises std::runtime_error naming the
// file, the line and what is wrong.
headless::TRecording LoadRecording(const std::string& Path);
// Refuses a recording whose start no game could have had (a start value out of the range a
// game start finds), whose actions run past its end, or that lacks the checkpoints its recorder
// writes. Source names it in the messages.
void CheckRecording(const headless::TRecording& R, const std::string& Source);

}  // namespace kv::app
