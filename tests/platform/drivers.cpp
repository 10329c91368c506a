// The platform tests run without a display or a sound card: SDL's dummy drivers, unless the
// caller chose others.
#include <cstdlib>

namespace {
const bool DriversChosen = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();
}  // namespace
