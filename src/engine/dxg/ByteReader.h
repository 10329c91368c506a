#pragma once
// A little-endian reader over a byte range that never reads past its end: every shortfall
// raises EStreamError naming the source, the offset and what was being read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Errors.h"

namespace kv::dxg {

class TByteReader {
public:
    TByteReader(const uint8_t* Begin, size_t Size, std::string Source, size_t BaseOffset = 0)
        : P_(Begin), Size_(Size), Source_(std::move(Source)), Base_(BaseOffset) {}

    size_t Pos() const { return Pos_; }
    size_t Offset() const { return Base_ + Pos_; }  // position within the whole file
    size_t Left() const { return Size_ - Pos_; }
    bool AtEnd() const { return Pos_ == Size_; }
    const std::string& Source() const { return Source_; }
    const uint8_t* Here() const { return P_ + Pos_; }

    [[noreturn]] void Fail(const std::string& What) const { Fail(What, Offset()); }
    [[noreturn]] void Fail(const std::string& What, size_t At) const {
        throw EStreamError(Source_ + ": " + What + " (offset " + std::to_string(At) + ")");
    }

    void Need(size_t N, const char* What) const {
        if (N > Left())
            Fail(std::string("data ends too early while reading ") + What + ": " + std::to_string(N) +
                 " bytes needed, " + std::to_string(Left()) + " left");
    }
    uint8_t Peek(const char* What) const {
        Need(1, What);
        return P_[Pos_];
    }
    uint8_t U8(const char* What) {
        Need(1, What);
        return P_[Pos_++];
    }
    uint16_t U16(const char* What) {
        Need(2, What);
        uint16_t v = static_cast<uint16_t>(P_[Pos_] | P_[Pos_ + 1] << 8);
        Pos_ += 2;
        return v;
    }
    uint32_t U32(const char* What) {
        Need(4, What);
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | P_[Pos_ + i];
        Pos_ += 4;
        return v;
    }
    uint64_t U64(const char* What) {
        uint64_t lo = U32(What);
        return lo | static_cast<uint64_t>(U32(What)) << 32;
    }
    const uint8_t* Bytes(size_t N, const char* What) {
        Need(N, What);
        const uint8_t* p = P_ + Pos_;
        Pos_ += N;
        return p;
    }
    void Skip(size_t N, const char* What) { Bytes(N, What); }

private:
    const uint8_t* P_;
    size_t Size_;
    size_t Pos_ = 0;
    std::string Source_;
    size_t Base_;
};

}  // namespace kv::dxg
