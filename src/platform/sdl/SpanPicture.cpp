#include "platform/sdl/SpanPicture.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define KV_SPAN_AVX2 1
#endif

namespace kv {

// The arithmetic is SDL's, to the bit, for 32-bit pixels of one layout with alpha on top:
// - by the pixel's own alpha a (alpha 0 is skipped and 255 copied): each colour
//   s·a/256 + d·(255 − a)/256, and the alpha s·255/256 + d·(255 − a)/256, each product truncated.
//   The picture's half is the same on every draw, so each pixel keeps it (Own) with the target's
//   weight (Keep): the target's channel becomes Own + d·Keep/256, where a copied pixel keeps
//   nothing of the target and a skipped one keeps all of it (Keep 256).
// - with an alpha modulation M < 255: A = a·M/255, each colour s·A/255 + d·(255 − A)/255 and
//   the alpha A + d·(255 − A)/255, every quotient truncated.

namespace {

uint32_t OwnPart(uint32_t S) {
    const uint32_t a = S >> 24;
    if (a == 0 || a == 255) return a == 0 ? 0 : S;
    uint32_t out = (a * 255 >> 8) << 24;
    for (int sh : {0, 8, 16}) out |= (((S >> sh) & 0xFF) * a >> 8) << sh;
    return out;
}

uint16_t KeepPart(uint32_t S) {
    const uint32_t a = S >> 24;
    return static_cast<uint16_t>(a == 0 ? 256 : 255 - a);
}

#if defined(__SSE2__)

// x / 255 for 0 ≤ x ≤ 255 · 255 in each 16-bit lane.
inline __m128i Div255(__m128i X) { return _mm_srli_epi16(_mm_mulhi_epu16(X, _mm_set1_epi16(-32639)), 7); }  // 0x8081

// Loads and stores of N target pixels (1 … 4) as a block of four; the pixels past N are zero.
inline __m128i Load(const uint32_t* P, int32_t N) {
    if (N >= 4) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
    const __m128i first =
        N >= 2 ? _mm_loadl_epi64(reinterpret_cast<const __m128i*>(P)) : _mm_cvtsi32_si128(static_cast<int>(P[0]));
    return N == 3 ? _mm_unpacklo_epi64(first, _mm_cvtsi32_si128(static_cast<int>(P[2]))) : first;
}
// The picture's own arrays are padded: a block of four may always be read whole.
inline __m128i LoadFour(const uint32_t* P) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(P)); }
inline __m128i LoadFour(const uint16_t* P) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(P)); }
inline void Store(uint32_t* P, int32_t N, __m128i V) {
    if (N >= 4) return _mm_storeu_si128(reinterpret_cast<__m128i*>(P), V);
    if (N == 1) {
        P[0] = static_cast<uint32_t>(_mm_cvtsi128_si32(V));
        return;
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(P), V);
    if (N == 3) P[2] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(V, 8)));
}

// Four pixels by their own alpha: Own + d·Keep/256 per channel. With the target's bytes in the
// high halves of 16-bit lanes, a high multiply by Keep is that product shifted right by 8.
inline __m128i OwnAlpha4(__m128i Own, __m128i Keep, __m128i D) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i keep = _mm_unpacklo_epi16(Keep, Keep);  // each pixel's weight twice, four pixels
    const __m128i lo = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, D), _mm_unpacklo_epi32(keep, keep));
    const __m128i hi = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, D), _mm_unpackhi_epi32(keep, keep));
    return _mm_add_epi8(Own, _mm_packus_epi16(lo, hi));
}

// Four pixels weighed by their alpha times M / 255 (M < 255). Alpha 0 leaves the target as it is.
inline __m128i ModulateHalf(__m128i S, __m128i D, __m128i A8, __m128i M) {
    const __m128i alphaLane = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
    const __m128i a = Div255(_mm_mullo_epi16(A8, M));
    // With the source's alpha lane at 255 its product is a itself.
    const __m128i s = Div255(_mm_mullo_epi16(_mm_or_si128(S, alphaLane), a));
    return _mm_add_epi16(s, Div255(_mm_mullo_epi16(D, _mm_sub_epi16(_mm_set1_epi16(255), a))));
}
inline __m128i Modulate4(__m128i S, __m128i D, __m128i M) {
    const __m128i zero = _mm_setzero_si128();
    __m128i a = _mm_srli_epi32(S, 24);
    a = _mm_or_si128(a, _mm_slli_epi32(a, 16));  // each pixel's alpha in both of its 16-bit halves
    return _mm_packus_epi16(ModulateHalf(_mm_unpacklo_epi8(S, zero), _mm_unpacklo_epi8(D, zero), _mm_unpacklo_epi32(a, a), M),
                            ModulateHalf(_mm_unpackhi_epi8(S, zero), _mm_unpackhi_epi8(D, zero), _mm_unpackhi_epi32(a, a), M));
}

#if KV_SPAN_AVX2
// Eight pixels at a time where the processor has AVX2 (chosen once, at start-up). The 256-bit
// unpacks work within each 128-bit half, so the weights are laid out to match: pixels 0, 1 | 4, 5
// in the low products, 2, 3 | 6, 7 in the high ones.
__attribute__((target("avx2"))) int32_t BlendOwnAlphaAvx2(uint32_t* D, const uint32_t* Own, const uint16_t* Keep,
                                                           int32_t N) {
    const __m256i zero = _mm256_setzero_si256();
    int32_t i = 0;
    for (; i + 8 <= N; i += 8) {
        const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Keep + i));
        const __m256i keep = _mm256_set_m128i(_mm_unpackhi_epi16(k, k), _mm_unpacklo_epi16(k, k));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(D + i));
        const __m256i lo = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, d), _mm256_unpacklo_epi32(keep, keep));
        const __m256i hi = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, d), _mm256_unpackhi_epi32(keep, keep));
        const __m256i own = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Own + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(D + i), _mm256_add_epi8(own, _mm256_packus_epi16(lo, hi)));
    }
    return i;
}

const bool HasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();
#endif

void BlendOwnAlpha(uint32_t* D, const uint32_t* Own, const uint16_t* Keep, int32_t N) {
    int32_t start = 0;
#if KV_SPAN_AVX2
    if (HasAvx2 && N >= 8) start = BlendOwnAlphaAvx2(D, Own, Keep, N);
#endif
    for (int32_t i = start; i < N; i += 4) {
        const int32_t n = std::min(N - i, 4);
        Store(D + i, n, OwnAlpha4(LoadFour(Own + i), LoadFour(Keep + i), Load(D + i, n)));
    }
}

void BlendModulated(uint32_t* D, const uint32_t* S, int32_t N, int32_t M) {
    const __m128i m = _mm_set1_epi16(static_cast<short>(M));
    for (int32_t i = 0; i < N; i += 4) {
        const int32_t n = std::min(N - i, 4);
        Store(D + i, n, Modulate4(LoadFour(S + i), Load(D + i, n), m));
    }
}

#else

inline uint32_t Channel(uint32_t P, int Shift) { return (P >> Shift) & 0xFF; }

void BlendOwnAlpha(uint32_t* D, const uint32_t* Own, const uint16_t* Keep, int32_t N) {
    for (int32_t i = 0; i < N; ++i) {
        uint32_t out = 0;
        for (int sh : {0, 8, 16, 24}) out |= (Channel(Own[i], sh) + (Channel(D[i], sh) * Keep[i] >> 8)) << sh;
        D[i] = out;
    }
}

void BlendModulated(uint32_t* D, const uint32_t* S, int32_t N, int32_t M) {
    for (int32_t i = 0; i < N; ++i) {
        const uint32_t s = S[i], d = D[i];
        const uint32_t a = (s >> 24) * static_cast<uint32_t>(M) / 255;
        uint32_t out = (a + (255 - a) * Channel(d, 24) / 255) << 24;
        for (int sh : {0, 8, 16}) out |= (Channel(s, sh) * a / 255 + (255 - a) * Channel(d, sh) / 255) << sh;
        D[i] = out;
    }
}

#endif

}  // namespace

TSpanPicture::TSpanPicture(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t Pitch)
    : Width_(std::max(Width, 0)), Height_(std::max(Height, 0)) {
    const size_t size = static_cast<size_t>(Width_) * Height_;
    constexpr size_t Pad = 8;  // the blend reads blocks of up to eight
    Pixels_.resize(size + Pad);
    Own_.resize(size + Pad);
    Keep_.resize(size + Pad);
    RowRuns_.reserve(static_cast<size_t>(Height_) + 1);
    for (int32_t y = 0; y < Height_; ++y) {
        const uint32_t* row = Pixels + static_cast<size_t>(y) * Pitch;
        const size_t at = static_cast<size_t>(y) * Width_;
        for (int32_t x = 0; x < Width_; ++x) {
            Pixels_[at + x] = row[x];
            Own_[at + x] = OwnPart(row[x]);
            Keep_[at + x] = KeepPart(row[x]);
        }
        RowRuns_.push_back(static_cast<uint32_t>(Runs_.size()));
        // Runs of visible pixels, split where at least MinGap transparent pixels lie between:
        // a short gap costs less blended than a run of its own.
        constexpr int32_t MinGap = 8;
        for (int32_t x = 0; x < Width_;) {
            if ((row[x] >> 24) == 0) {
                ++x;
                continue;
            }
            const int32_t start = x;
            int32_t end = x + 1;  // past the last visible pixel so far
            for (; x < Width_ && x - end < MinGap; ++x)
                if ((row[x] >> 24) != 0) end = x + 1;
            bool opaque = true;
            for (int32_t i = start; i < end; ++i) opaque = opaque && (row[i] >> 24) == 255;
            Runs_.push_back({start, end - start, opaque});
            x = end;
        }
    }
    RowRuns_.push_back(static_cast<uint32_t>(Runs_.size()));
}

void TSpanPicture::Blit(int32_t SX, int32_t SY, int32_t W, int32_t H, uint32_t* Target, int32_t TargetW,
                        int32_t TargetH, int32_t Pitch, int32_t DX, int32_t DY, int32_t Alpha) const {
    // Cut to the target, as SDL cuts a blit to the surface's clip rectangle.
    if (DX < 0) W += DX, SX -= DX, DX = 0;
    if (DY < 0) H += DY, SY -= DY, DY = 0;
    W = std::min(W, TargetW - DX);
    H = std::min(H, TargetH - DY);
    if (W <= 0 || H <= 0 || Alpha <= 0) return;
    const int32_t x0 = SX, x1 = SX + W;
    for (int32_t row = 0; row < H; ++row) {
        const int32_t sy = SY + row;
        const size_t line = static_cast<size_t>(sy) * Width_;
        uint32_t* dst = Target + static_cast<size_t>(DY + row) * Pitch + DX;
        for (uint32_t k = RowRuns_[sy], end = RowRuns_[sy + 1]; k < end; ++k) {
            const TRun& r = Runs_[k];
            if (r.X >= x1) break;
            const int32_t a = std::max(r.X, x0), b = std::min(r.X + r.Len, x1);
            if (a >= b) continue;
            uint32_t* d = dst + (a - x0);
            const size_t s = line + a;
            if (Alpha < 255)
                BlendModulated(d, &Pixels_[s], b - a, Alpha);
            else if (r.Opaque)
                std::copy_n(&Pixels_[s], b - a, d);
            else
                BlendOwnAlpha(d, &Own_[s], &Keep_[s], b - a);
        }
    }
}

}  // namespace kv
