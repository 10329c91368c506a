#pragma once
// Score arithmetic: the score is a 32-bit integer that wraps instead of overflowing.
#include <cstdint>

#include "shell/Form1.h"

namespace kv {

inline void AddScore(TForm1& Form, int64_t Points) {
    Form.Score = static_cast<int32_t>(static_cast<uint32_t>(int64_t{Form.Score} + Points));
}

}  // namespace kv
