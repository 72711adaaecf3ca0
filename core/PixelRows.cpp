#include "core/PixelRows.h"

#include <algorithm>
#include <cstring>

#include "core/PixelRowsWide.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define TOLVEX_SSE2 1
#endif

namespace pixel_rows {

namespace {
#if TOLVEX_SSE2
inline __m128i Load(const TColor32* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store(TColor32* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
inline __m128i Splat(TColor32 c) {
    return _mm_set1_epi32(static_cast<int>(c));
}

// x / 255 rounded down in each 16-bit lane: (x * 0x8081) >> 23, exact for every 16-bit x.
inline __m128i Div255x16(__m128i v) {
    return _mm_srli_epi16(_mm_mulhi_epu16(v, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
}

// True when all four pixels have alpha 255.
inline bool AllOpaque(__m128i px) {
    const __m128i alpha = _mm_and_si128(px, Splat(0xFF000000u));
    return _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, Splat(0xFF000000u))) == 0xFFFF;
}
#endif
} // namespace

// ---- blend

void BlendRowPlain(TColor32* dst, const TColor32* src, std::size_t count, std::uint8_t masterAlpha) {
    for (std::size_t i = 0; i < count; ++i)
        dst[i] = Blend(src[i], dst[i], masterAlpha);
}

#if TOLVEX_SSE2
namespace {
// Four pixels over an opaque background, their weights given in pairs (a0 a0 a1 a1 ...).
// The mix fg * a + bg * (255 - a), rounded, is bg + (fg - bg) * a / 255, and the rounded
// quotient of a negative difference is the negated quotient of its size. So only |fg - bg|
// is multiplied, one product per channel, and the byte-wise minimum with either one-sided
// difference (each at least the quotient, or 0) picks the sign without a branch. The
// channels stay in their bytes: the even ones masked, the odd ones shifted down.
inline __m128i BlendFourOpaque(__m128i fg, __m128i bg, __m128i pairs) {
    const __m128i up = _mm_subs_epu8(fg, bg);
    const __m128i down = _mm_subs_epu8(bg, fg);
    const __m128i size = _mm_or_si128(up, down);
    const __m128i evenBytes = _mm_set1_epi16(0x00FF);
    const __m128i round = _mm_set1_epi16(127);
    const __m128i even =
        Div255x16(_mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(size, evenBytes), pairs), round));
    const __m128i odd = Div255x16(_mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(size, 8), pairs), round));
    const __m128i step = _mm_or_si128(even, _mm_slli_epi16(odd, 8));
    const __m128i mixed = _mm_sub_epi8(_mm_add_epi8(bg, _mm_min_epu8(step, up)), _mm_min_epu8(step, down));
    return _mm_or_si128(mixed, Splat(0xFF000000u));
}

// The weights a = Div255(fgA * master + 127) of eight pixels, one per 16-bit lane.
inline __m128i Weights(__m128i fg0, __m128i fg1, __m128i master) {
    const __m128i alpha = _mm_packs_epi32(_mm_srli_epi32(fg0, 24), _mm_srli_epi32(fg1, 24));
    return Div255x16(_mm_add_epi16(_mm_mullo_epi16(alpha, master), _mm_set1_epi16(127)));
}
} // namespace
#endif

void BlendRow(TColor32* dst, const TColor32* src, std::size_t count, std::uint8_t masterAlpha) {
    std::size_t i = 0;
#if TOLVEX_SSE2
    if (masterAlpha == 0)
        return; // every weight rounds to 0: the background stays
    if (wide::Available())
        i = wide::BlendRowGroups(dst, src, count, masterAlpha);
    const __m128i master = _mm_set1_epi16(masterAlpha);
    // Eight pixels a turn share the opacity test and the weights' arithmetic.
    const std::size_t whole = count & ~std::size_t{7};
    for (; i < whole; i += 8) {
        const __m128i fg0 = Load(src + i);
        const __m128i fg1 = Load(src + i + 4);
        const __m128i bg0 = Load(dst + i);
        const __m128i bg1 = Load(dst + i + 4);
        if (!AllOpaque(_mm_and_si128(bg0, bg1))) [[unlikely]] {
            BlendRowPlain(dst + i, src + i, 8, masterAlpha);
            continue;
        }
        const __m128i a = Weights(fg0, fg1, master);
        Store(dst + i, BlendFourOpaque(fg0, bg0, _mm_unpacklo_epi16(a, a)));
        Store(dst + i + 4, BlendFourOpaque(fg1, bg1, _mm_unpackhi_epi16(a, a)));
    }
    if (i + 4 <= count) {
        const __m128i fg = Load(src + i);
        const __m128i bg = Load(dst + i);
        if (AllOpaque(bg)) {
            const __m128i a = Weights(fg, fg, master);
            Store(dst + i, BlendFourOpaque(fg, bg, _mm_unpacklo_epi16(a, a)));
            i += 4;
        }
    }
#endif
    BlendRowPlain(dst + i, src + i, count - i, masterAlpha);
}

// ---- colour tables

TLutApplier::TLutApplier(const TLUT8& lutR, const TLUT8& lutG, const TLUT8& lutB, std::size_t pixels) {
    for (std::size_t v = 0; v < 256; ++v) {
        r_[v] = TColor32{lutR[v]} << 16;
        g_[v] = TColor32{lutG[v]} << 8;
        b_[v] = lutB[v];
    }
    if (pixels < kPairTablePixels)
        return;
    pair_ = std::make_unique<TPairTables>();
    pair_->R = r_;
    for (std::size_t g = 0; g < 256; ++g)
        for (std::size_t b = 0; b < 256; ++b)
            pair_->Pair[(g << 8) | b] = static_cast<std::uint16_t>(g_[g] | b_[b]);
}

void TLutApplier::ApplyPlain(TColor32* dst, const TColor32* src, std::size_t count, TAlphaFrom alpha) const {
    for (std::size_t i = 0; i < count; ++i) {
        const TColor32 c = src[i];
        const TColor32 a = alpha == TAlphaFrom::Opaque ? 0xFF000000u
                           : alpha == TAlphaFrom::Src  ? (c & 0xFF000000u)
                                                       : (dst[i] & 0xFF000000u);
        dst[i] = a | r_[(c >> 16) & 0xFFu] | g_[(c >> 8) & 0xFFu] | b_[c & 0xFFu];
    }
}

namespace {
// One loop per alpha source, so that the choice is not made per pixel.
template <TAlphaFrom kAlpha, typename TTables>
void ApplyPair(TColor32* dst, const TColor32* src, std::size_t count, const TTables& tables) {
    for (std::size_t i = 0; i < count; ++i) {
        const TColor32 c = src[i];
        TColor32 a;
        if constexpr (kAlpha == TAlphaFrom::Opaque)
            a = 0xFF000000u;
        else if constexpr (kAlpha == TAlphaFrom::Src)
            a = c & 0xFF000000u;
        else
            a = dst[i] & 0xFF000000u;
        dst[i] = a | tables.R[(c >> 16) & 0xFFu] | tables.Pair[c & 0xFFFFu];
    }
}
} // namespace

void TLutApplier::Apply(TColor32* dst, const TColor32* src, std::size_t count, TAlphaFrom alpha) const {
    if (!pair_) {
        ApplyPlain(dst, src, count, alpha);
        return;
    }
    switch (alpha) {
    case TAlphaFrom::Dst:
        ApplyPair<TAlphaFrom::Dst>(dst, src, count, *pair_);
        break;
    case TAlphaFrom::Src:
        ApplyPair<TAlphaFrom::Src>(dst, src, count, *pair_);
        break;
    case TAlphaFrom::Opaque:
        ApplyPair<TAlphaFrom::Opaque>(dst, src, count, *pair_);
        break;
    }
}

// ---- grey, invert, alpha

namespace {
constexpr TColor32 GrayPixel(TColor32 c) {
    const TColor32 v = (((c >> 16) & 0xFFu) * 61u + ((c >> 8) & 0xFFu) * 174u + (c & 0xFFu) * 21u) >> 8;
    return (c & 0xFF000000u) | (v << 16) | (v << 8) | v;
}
} // namespace

void GrayRowPlain(TColor32* p, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        p[i] = GrayPixel(p[i]);
}

void GrayRow(TColor32* p, std::size_t count) {
    std::size_t i = 0;
#if TOLVEX_SSE2
    const __m128i low = Splat(0xFFu);
    for (; i + 4 <= count; i += 4) {
        const __m128i c = Load(p + i);
        // Each weighted channel fits a 16-bit lane, and so does their sum (at most 65280).
        const __m128i b = _mm_mullo_epi16(_mm_and_si128(c, low), _mm_set1_epi32(21));
        const __m128i g = _mm_mullo_epi16(_mm_and_si128(_mm_srli_epi32(c, 8), low), _mm_set1_epi32(174));
        const __m128i r = _mm_mullo_epi16(_mm_and_si128(_mm_srli_epi32(c, 16), low), _mm_set1_epi32(61));
        const __m128i v = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(b, g), r), 8);
        const __m128i grey = _mm_or_si128(v, _mm_or_si128(_mm_slli_epi32(v, 8), _mm_slli_epi32(v, 16)));
        Store(p + i, _mm_or_si128(_mm_and_si128(c, Splat(0xFF000000u)), grey));
    }
#endif
    GrayRowPlain(p + i, count - i);
}

void XorRow(TColor32* p, std::size_t count, TColor32 mask) {
    std::size_t i = 0;
#if TOLVEX_SSE2
    const __m128i m = Splat(mask);
    for (; i + 4 <= count; i += 4)
        Store(p + i, _mm_xor_si128(Load(p + i), m));
#endif
    for (; i < count; ++i)
        p[i] ^= mask;
}

void SetAlphaRowPlain(TColor32* dst, const TColor32* src, std::size_t count, std::uint8_t alpha) {
    const TColor32 a = TColor32{alpha} << 24;
    for (std::size_t i = 0; i < count; ++i)
        dst[i] = (src[i] & 0x00FFFFFFu) | a;
}

void SetAlphaRow(TColor32* dst, const TColor32* src, std::size_t count, std::uint8_t alpha) {
    std::size_t i = 0;
#if TOLVEX_SSE2
    const __m128i a = Splat(TColor32{alpha} << 24);
    const __m128i rgb = Splat(0x00FFFFFFu);
    for (; i + 4 <= count; i += 4)
        Store(dst + i, _mm_or_si128(_mm_and_si128(Load(src + i), rgb), a));
#endif
    SetAlphaRowPlain(dst + i, src + i, count - i, alpha);
}

void ClearAlphaOfColorRowPlain(TColor32* p, std::size_t count, TColor32 rgb) {
    rgb &= 0x00FFFFFFu;
    for (std::size_t i = 0; i < count; ++i)
        if ((p[i] & 0x00FFFFFFu) == rgb)
            p[i] = rgb;
}

void ClearAlphaOfColorRow(TColor32* p, std::size_t count, TColor32 rgb) {
    std::size_t i = 0;
#if TOLVEX_SSE2
    const __m128i colour = Splat(rgb & 0x00FFFFFFu);
    const __m128i mask = Splat(0x00FFFFFFu);
    for (; i + 4 <= count; i += 4) {
        const __m128i c = Load(p + i);
        const __m128i same = _mm_cmpeq_epi32(_mm_and_si128(c, mask), colour);
        // Matching pixels lose their alpha byte, the others keep everything.
        Store(p + i, _mm_andnot_si128(_mm_andnot_si128(mask, same), c));
    }
#endif
    ClearAlphaOfColorRowPlain(p + i, count - i, rgb);
}

// ---- noise

void AddNoiseRowPlain(TColor32* dst, const TColor32* src, const int* draws, std::size_t count, int range) {
    const int half = range / 2;
    for (std::size_t i = 0; i < count; ++i) {
        const int draw = std::clamp(draws[i], 0, range - 1);
        const auto d = static_cast<unsigned>(std::clamp(draw - half, 0, 255));
        const TColor32 c = src[i];
        auto add = [&](unsigned shift) { return std::min(((c >> shift) & 0xFFu) + d, 255u) << shift; };
        dst[i] = (c & 0xFF000000u) | add(16) | add(8) | add(0);
    }
}

void AddNoiseRow(TColor32* dst, const TColor32* src, const int* draws, std::size_t count, int range) {
    std::size_t i = 0;
#if TOLVEX_SSE2
    const __m128i zero = _mm_setzero_si128();
    const __m128i top = _mm_set1_epi32(range - 1);
    const __m128i half = _mm_set1_epi32(range / 2);
    for (; i + 4 <= count; i += 4) {
        __m128i draw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(draws + i));
        // Limit the draw to 0..range - 1; then draw - half cannot overflow.
        draw = _mm_and_si128(draw, _mm_cmpgt_epi32(draw, zero));
        const __m128i over = _mm_cmpgt_epi32(draw, top);
        draw = _mm_or_si128(_mm_andnot_si128(over, draw), _mm_and_si128(over, top));
        const __m128i d32 = _mm_sub_epi32(draw, half);
        // Saturating packs limit d to 0..255: one byte per pixel, then one per channel.
        const __m128i d16 = _mm_packs_epi32(d32, d32);
        const __m128i d8 = _mm_packus_epi16(d16, d16);
        const __m128i d88 = _mm_unpacklo_epi8(d8, d8);
        const __m128i spread = _mm_and_si128(_mm_unpacklo_epi16(d88, d88), Splat(0x00FFFFFFu));
        Store(dst + i, _mm_adds_epu8(Load(src + i), spread));
    }
#endif
    AddNoiseRowPlain(dst + i, src + i, draws + i, count - i, range);
}

// ---- channel ranges

void WidenChannelRangePlain(TChannelRange& range, const TColor32* p, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const auto r = static_cast<std::uint8_t>(p[i] >> 16);
        const auto g = static_cast<std::uint8_t>(p[i] >> 8);
        const auto b = static_cast<std::uint8_t>(p[i]);
        range.MinR = std::min(range.MinR, r);
        range.MaxR = std::max(range.MaxR, r);
        range.MinG = std::min(range.MinG, g);
        range.MaxG = std::max(range.MaxG, g);
        range.MinB = std::min(range.MinB, b);
        range.MaxB = std::max(range.MaxB, b);
    }
}

void WidenChannelRange(TChannelRange& range, const TColor32* p, std::size_t count) {
    std::size_t i = 0;
#if TOLVEX_SSE2
    if (count >= 4) {
        // Byte-wise minimum and maximum over four pixels at a time, folded at the end.
        __m128i lo = _mm_set1_epi8(static_cast<char>(0xFF));
        __m128i hi = _mm_setzero_si128();
        for (; i + 4 <= count; i += 4) {
            const __m128i c = Load(p + i);
            lo = _mm_min_epu8(lo, c);
            hi = _mm_max_epu8(hi, c);
        }
        alignas(16) TColor32 mins[4];
        alignas(16) TColor32 maxs[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(mins), lo);
        _mm_store_si128(reinterpret_cast<__m128i*>(maxs), hi);
        for (int k = 0; k < 4; ++k) {
            range.MinR = std::min(range.MinR, static_cast<std::uint8_t>(mins[k] >> 16));
            range.MinG = std::min(range.MinG, static_cast<std::uint8_t>(mins[k] >> 8));
            range.MinB = std::min(range.MinB, static_cast<std::uint8_t>(mins[k]));
            range.MaxR = std::max(range.MaxR, static_cast<std::uint8_t>(maxs[k] >> 16));
            range.MaxG = std::max(range.MaxG, static_cast<std::uint8_t>(maxs[k] >> 8));
            range.MaxB = std::max(range.MaxB, static_cast<std::uint8_t>(maxs[k]));
        }
    }
#endif
    WidenChannelRangePlain(range, p + i, count - i);
}

// ---- fills and runs

void FillRow(TColor32* p, std::size_t count, TColor32 color) {
    std::size_t i = 0;
#if TOLVEX_SSE2
    const __m128i c = Splat(color);
    for (; i + 4 <= count; i += 4)
        Store(p + i, c);
#endif
    for (; i < count; ++i)
        p[i] = color;
}

std::size_t MatchingRunPlain(const TColor32* p, std::size_t count, TColor32 rgb) {
    rgb &= 0x00FFFFFFu;
    std::size_t i = 0;
    while (i < count && (p[i] & 0x00FFFFFFu) == rgb)
        ++i;
    return i;
}

#if TOLVEX_SSE2
namespace {
// Whether the four pixels from p on all have the colour (alpha ignored).
inline bool FourMatch(const TColor32* p, __m128i colour) {
    const __m128i rgb = _mm_and_si128(Load(p), Splat(0x00FFFFFFu));
    return _mm_movemask_epi8(_mm_cmpeq_epi32(rgb, colour)) == 0xFFFF;
}
} // namespace
#endif

std::size_t MatchingRun(const TColor32* p, std::size_t count, TColor32 rgb) {
    std::size_t i = 0;
#if TOLVEX_SSE2
    const __m128i colour = Splat(rgb & 0x00FFFFFFu);
    while (i + 4 <= count && FourMatch(p + i, colour))
        i += 4;
#endif
    return i + MatchingRunPlain(p + i, count - i, rgb);
}

std::size_t MatchingRunBack(const TColor32* p, std::size_t count, TColor32 rgb) {
    std::size_t i = 0;
#if TOLVEX_SSE2
    const __m128i colour = Splat(rgb & 0x00FFFFFFu);
    while (i + 4 <= count && FourMatch(p - i - 4, colour))
        i += 4;
#endif
    rgb &= 0x00FFFFFFu;
    while (i < count && (p[-1 - static_cast<std::ptrdiff_t>(i)] & 0x00FFFFFFu) == rgb)
        ++i;
    return i;
}

// ---- mirrors and turns

void ReverseRow(TColor32* p, std::size_t count) {
    std::size_t lo = 0;
    std::size_t hi = count;
#if TOLVEX_SSE2
    // Four pixels from each end trade places, each group reversed on the way.
    for (; hi - lo >= 8; lo += 4, hi -= 4) {
        const __m128i left = Load(p + lo);
        const __m128i right = Load(p + hi - 4);
        Store(p + lo, _mm_shuffle_epi32(right, _MM_SHUFFLE(0, 1, 2, 3)));
        Store(p + hi - 4, _mm_shuffle_epi32(left, _MM_SHUFFLE(0, 1, 2, 3)));
    }
#endif
    std::reverse(p + lo, p + hi);
}

void TransposeRectPlain(const TColor32* src, std::ptrdiff_t srcStride, TColor32* dst,
                        std::ptrdiff_t dstStride, int width, int height) {
    for (std::ptrdiff_t i = 0; i < height; ++i)
        for (std::ptrdiff_t j = 0; j < width; ++j)
            dst[j * dstStride + i] = src[i * srcStride + j];
}

void TransposeRect(const TColor32* src, std::ptrdiff_t srcStride, TColor32* dst, std::ptrdiff_t dstStride,
                   int width, int height) {
    constexpr int kBlock = 64;
    for (int by = 0; by < height; by += kBlock) {
        const int rows = std::min(kBlock, height - by);
        for (int bx = 0; bx < width; bx += kBlock) {
            const int cols = std::min(kBlock, width - bx);
            const TColor32* from = src + by * srcStride + bx;
            TColor32* to = dst + bx * dstStride + by;
            int i = 0;
#if TOLVEX_SSE2
            // Four by four: four source rows in, four destination rows out.
            for (; i + 4 <= rows; i += 4) {
                const TColor32* r0 = from + i * srcStride;
                TColor32* out = to + i;
                int j = 0;
                for (; j + 4 <= cols; j += 4, out += 4 * dstStride) {
                    const __m128i a = Load(r0 + j);
                    const __m128i b = Load(r0 + srcStride + j);
                    const __m128i c = Load(r0 + 2 * srcStride + j);
                    const __m128i d = Load(r0 + 3 * srcStride + j);
                    const __m128i ab01 = _mm_unpacklo_epi32(a, b);
                    const __m128i cd01 = _mm_unpacklo_epi32(c, d);
                    const __m128i ab23 = _mm_unpackhi_epi32(a, b);
                    const __m128i cd23 = _mm_unpackhi_epi32(c, d);
                    Store(out, _mm_unpacklo_epi64(ab01, cd01));
                    Store(out + dstStride, _mm_unpackhi_epi64(ab01, cd01));
                    Store(out + 2 * dstStride, _mm_unpacklo_epi64(ab23, cd23));
                    Store(out + 3 * dstStride, _mm_unpackhi_epi64(ab23, cd23));
                }
                TransposeRectPlain(r0 + j, srcStride, to + j * dstStride + i, dstStride, cols - j, 4);
            }
#endif
            TransposeRectPlain(from + i * srcStride, srcStride, to + i, dstStride, cols, rows - i);
        }
    }
}

} // namespace pixel_rows
