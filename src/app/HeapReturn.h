#pragma once
// After a game, once its sprites are gone, the heap's free pages go back to the system: a
// bullet storm leaves megabytes free but scattered, which the allocator would otherwise keep
// for the rest of the run.
#include <cstdint>

namespace kv {
class TForm1;
}

namespace kv::app {

class THeapReturn {
public:
    // A field this small after a game means its bullets and enemies have been freed.
    static constexpr int32_t ClearField = 16;
    // Returns whether the heap was handed back after this frame.
    bool AfterFrame(const TForm1& Form);

private:
    bool GamePlayed_ = false;
};

}  // namespace kv::app
