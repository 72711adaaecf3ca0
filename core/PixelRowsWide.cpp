#include "core/PixelRowsWide.h"

#include <atomic>

#include "core/PixelRows.h"

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__i386__) || defined(__x86_64__))
#include <immintrin.h>
#define TOLVEX_WIDE 1
#define TOLVEX_WIDE_FN __attribute__((target("avx2")))
#endif

namespace pixel_rows {

namespace {
std::atomic<bool> wideAllowed{true};
} // namespace

void AllowWideVectors(bool allow) {
    wideAllowed.store(allow, std::memory_order_relaxed);
}

namespace wide {

#if TOLVEX_WIDE
namespace {
// The processor is asked once; the answer includes whether the system saves the registers.
bool ProcessorHasAvx2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

TOLVEX_WIDE_FN inline __m256i Load(const TColor32* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
TOLVEX_WIDE_FN inline void Store(TColor32* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}
// x / 255 rounded down in each 16-bit lane, as in the 128-bit loops.
TOLVEX_WIDE_FN inline __m256i Div255x16(__m256i v) {
    return _mm256_srli_epi16(_mm256_mulhi_epu16(v, _mm256_set1_epi16(static_cast<short>(0x8081))), 7);
}

// Eight pixels over an opaque background: the 128-bit loop's arithmetic (only the size of
// each channel's difference multiplied, the sign picked by byte-wise minimums), twice as wide.
TOLVEX_WIDE_FN inline __m256i BlendEightOpaque(__m256i fg, __m256i bg, __m256i pairs) {
    const __m256i up = _mm256_subs_epu8(fg, bg);
    const __m256i down = _mm256_subs_epu8(bg, fg);
    const __m256i size = _mm256_or_si256(up, down);
    const __m256i round = _mm256_set1_epi16(127);
    const __m256i even = Div255x16(_mm256_add_epi16(
        _mm256_mullo_epi16(_mm256_and_si256(size, _mm256_set1_epi16(0x00FF)), pairs), round));
    const __m256i odd =
        Div255x16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(size, 8), pairs), round));
    const __m256i step = _mm256_or_si256(even, _mm256_slli_epi16(odd, 8));
    const __m256i mixed =
        _mm256_sub_epi8(_mm256_add_epi8(bg, _mm256_min_epu8(step, up)), _mm256_min_epu8(step, down));
    return _mm256_or_si256(mixed, _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
}

TOLVEX_WIDE_FN std::size_t BlendGroups(TColor32* dst, const TColor32* src, std::size_t count,
                                       std::uint8_t masterAlpha) {
    const __m256i master = _mm256_set1_epi16(masterAlpha);
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const std::size_t whole = count & ~std::size_t{15};
    for (std::size_t i = 0; i < whole; i += 16) {
        const __m256i fg0 = Load(src + i);
        const __m256i fg1 = Load(src + i + 8);
        const __m256i bg0 = Load(dst + i);
        const __m256i bg1 = Load(dst + i + 8);
        const __m256i alphas = _mm256_and_si256(_mm256_and_si256(bg0, bg1), opaque);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alphas, opaque)) != -1) [[unlikely]] {
            BlendRowPlain(dst + i, src + i, 16, masterAlpha);
            continue;
        }
        // The packing works within each 128-bit half, so that unpacking the low words of
        // both halves gives the weights of fg0's eight pixels in order, the high ones fg1's.
        const __m256i alpha = _mm256_packs_epi32(_mm256_srli_epi32(fg0, 24), _mm256_srli_epi32(fg1, 24));
        const __m256i a =
            Div255x16(_mm256_add_epi16(_mm256_mullo_epi16(alpha, master), _mm256_set1_epi16(127)));
        Store(dst + i, BlendEightOpaque(fg0, bg0, _mm256_unpacklo_epi16(a, a)));
        Store(dst + i + 8, BlendEightOpaque(fg1, bg1, _mm256_unpackhi_epi16(a, a)));
    }
    return whole;
}
} // namespace

bool Available() {
    return ProcessorHasAvx2() && wideAllowed.load(std::memory_order_relaxed);
}

std::size_t BlendRowGroups(TColor32* dst, const TColor32* src, std::size_t count, std::uint8_t masterAlpha) {
    return BlendGroups(dst, src, count, masterAlpha);
}
#else
bool Available() {
    return false;
}
std::size_t BlendRowGroups(TColor32*, const TColor32*, std::size_t, std::uint8_t) {
    return 0;
}
#endif

} // namespace wide
} // namespace pixel_rows
