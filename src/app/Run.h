#pragma once
#include <string>

#include "app/Options.h"

namespace kv::app {

// Runs the game as the options say; returns the exit status.
int RunHeadless(const TOptions& Options, const std::string& ExeDir);
int RunWindowed(const TOptions& Options, const std::string& ExeDir);

}  // namespace kv::app
