#include "platform/sdl/SpanPicture.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kv {

namespace {

// The arithmetic below is SDL's, to the bit, for 32-bit pixels of one layout with alpha on top:
// - by the pixel's own alpha a (1 … 254; 0 is skipped and 255 copied): each colour
//   s·a/256 + d·(255 − a)/256, and the alpha s·255/256 + d·(255 − a)/256, each product truncated;
// - with an alpha modulation M < 255: A = a·M/255, each colour s·A/255 + d·(255 − A)/255 and
//   the alpha A + d·(255 − A)/255, every quotient truncated.

#if defined(__SSE2__)

// x / 255 for 0 ≤ x ≤ 255 · 255 in each 16-bit lane.
inline __m128i Div255(__m128i X) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(X, _mm_set1_epi16(1)), _mm_srli_epi16(X, 8)), 8);
}

// Pixels unpacked to 16-bit lanes (B, G, R, A each): every lane gets its pixel's alpha.
inline __m128i AlphaLanes(__m128i P) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(P, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

inline __m128i AlphaMask() { return _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0); }

struct TOwnAlpha {
    __m128i operator()(__m128i S, __m128i D) const {
        const __m128i a = AlphaLanes(S);
        const __m128i sw = _mm_or_si128(a, _mm_and_si128(AlphaMask(), _mm_set1_epi16(255)));
        const __m128i dw = _mm_xor_si128(a, _mm_set1_epi16(255));
        return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(S, sw), 8), _mm_srli_epi16(_mm_mullo_epi16(D, dw), 8));
    }
};

struct TModulated {
    __m128i M;
    __m128i operator()(__m128i S, __m128i D) const {
        const __m128i a = Div255(_mm_mullo_epi16(AlphaLanes(S), M));
        const __m128i mask = AlphaMask();
        const __m128i s = _mm_or_si128(_mm_andnot_si128(mask, Div255(_mm_mullo_epi16(S, a))), _mm_and_si128(mask, a));
        return _mm_add_epi16(s, Div255(_mm_mullo_epi16(D, _mm_sub_epi16(_mm_set1_epi16(255), a))));
    }
};

template <class TMix>
inline void BlendRun(uint32_t* D, const uint32_t* S, int32_t N, const TMix& Mix) {
    const __m128i zero = _mm_setzero_si128();
    int32_t i = 0;
    for (; i + 4 <= N; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(S + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(D + i));
        const __m128i lo = Mix(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
        const __m128i hi = Mix(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(D + i), _mm_packus_epi16(lo, hi));
    }
    for (; i < N; ++i) {
        const __m128i s = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(S[i])), zero);
        const __m128i d = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(D[i])), zero);
        D[i] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(Mix(s, d), zero)));
    }
}

void BlendOwnAlpha(uint32_t* D, const uint32_t* S, int32_t N) { BlendRun(D, S, N, TOwnAlpha{}); }

void BlendModulated(uint32_t* D, const uint32_t* S, int32_t N, int32_t M) {
    BlendRun(D, S, N, TModulated{_mm_set1_epi16(static_cast<short>(M))});
}

#else

inline uint32_t Channel(uint32_t P, int Shift) { return (P >> Shift) & 0xFF; }

void BlendOwnAlpha(uint32_t* D, const uint32_t* S, int32_t N) {
    for (int32_t i = 0; i < N; ++i) {
        const uint32_t s = S[i], d = D[i], a = s >> 24;
        uint32_t out = ((Channel(s, 24) * 255 >> 8) + (Channel(d, 24) * (255 - a) >> 8)) << 24;
        for (int sh : {0, 8, 16}) out |= ((Channel(s, sh) * a >> 8) + (Channel(d, sh) * (255 - a) >> 8)) << sh;
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
    Pixels_.resize(static_cast<size_t>(Width_) * Height_);
    RowRuns_.reserve(static_cast<size_t>(Height_) + 1);
    for (int32_t y = 0; y < Height_; ++y) {
        const uint32_t* row = Pixels + static_cast<size_t>(y) * Pitch;
        std::copy_n(row, Width_, Pixels_.begin() + static_cast<std::ptrdiff_t>(y) * Width_);
        RowRuns_.push_back(static_cast<uint32_t>(Runs_.size()));
        for (int32_t x = 0; x < Width_;) {
            const uint32_t a = row[x] >> 24;
            if (a == 0) {
                ++x;
                continue;
            }
            const bool opaque = a == 255;
            const int32_t start = x;
            while (x < Width_ && (row[x] >> 24) != 0 && ((row[x] >> 24) == 255) == opaque) ++x;
            Runs_.push_back({start, x - start, opaque});
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
        const uint32_t* src = Pixels_.data() + static_cast<size_t>(sy) * Width_;
        uint32_t* dst = Target + static_cast<size_t>(DY + row) * Pitch + DX;
        for (uint32_t k = RowRuns_[sy], end = RowRuns_[sy + 1]; k < end; ++k) {
            const TRun& r = Runs_[k];
            if (r.X >= x1) break;
            const int32_t a = std::max(r.X, x0), b = std::min(r.X + r.Len, x1);
            if (a >= b) continue;
            uint32_t* d = dst + (a - x0);
            const uint32_t* s = src + a;
            if (Alpha < 255)
                BlendModulated(d, s, b - a, Alpha);
            else if (r.Opaque)
                std::copy_n(s, b - a, d);
            else
                BlendOwnAlpha(d, s, b - a);
        }
    }
}

}  // namespace kv
