#pragma once
// The game's one random generator: a 32-bit linear congruential sequence mapped to
// integers and doubles by explicit arithmetic, so a seed gives the same game everywhere.
#include <cstdint>

namespace kv {

class TRandom {
public:
    void Seed(uint32_t S) { Seed_ = S; }
    uint32_t SeedValue() const { return Seed_; }
    // Uniform integer in [0, n); 0 when n <= 0.
    int32_t Random(int32_t n) {
        Next();
        if (n <= 0) return 0;
        return static_cast<int32_t>((static_cast<uint64_t>(Seed_) * static_cast<uint64_t>(n)) >> 32);
    }
    // Uniform double in [0, 1).
    double Random() {
        Next();
        return static_cast<double>(Seed_) / 4294967296.0;
    }

private:
    void Next() { Seed_ = Seed_ * 134775813u + 1u; }
    uint32_t Seed_ = 0;
};

}  // namespace kv
