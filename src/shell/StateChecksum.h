#pragma once
// A fingerprint of the game state, taken at intervals while recording and compared on playback:
// two runs that agree on it have the same globals and the same sprites in the same places.
#include <cstdint>

namespace kv {

class TForm1;

uint64_t StateChecksum(const TForm1& Form);

}  // namespace kv
