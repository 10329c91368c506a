#include "app/HeapReturn.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "shell/Form1.h"

namespace kv::app {

bool THeapReturn::AfterFrame(const TForm1& Form) {
    if (Form.Playing) {
        GamePlayed_ = true;
        return false;
    }
    if (!GamePlayed_ || Form.SpriteEngine()->MemberCount > ClearField) return false;
    GamePlayed_ = false;
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    return true;
}

}  // namespace kv::app
