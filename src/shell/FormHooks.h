#pragma once
// Wiring that the game's own modules add to the window when it is created (for example the
// handlers of the game-start buttons, which live with the stages they start).
#include <functional>
#include <vector>

namespace kv {

class TForm1;

using TFormHook = void (*)(TForm1&);
std::vector<TFormHook>& FormCreateHooks();

struct TFormHookRegistrar {
    explicit TFormHookRegistrar(TFormHook Hook) { FormCreateHooks().push_back(Hook); }
};

}  // namespace kv
