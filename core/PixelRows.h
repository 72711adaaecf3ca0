#pragma once
// The per-pixel loops of the pixel operations, one row (or run of pixels) at a time, at
// memory speed: integer arithmetic without division (x / 255 and the blend's division by
// the result's alpha become multiplies and shifts), SSE2 where the compiler offers it and
// a plain loop otherwise. Both give the same pixels; the plain loops stay callable so that
// tests can hold the two against each other.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Bitmap32.h"

// A table of 256 channel values, indexed by the old value.
using TLUT8 = std::array<std::uint8_t, 256>;

namespace pixel_rows {

// v / 255 rounded down, exact for v in 0..65534.
constexpr unsigned Div255(unsigned v) {
    return (v + 1 + (v >> 8)) >> 8;
}

// n / d rounded down through a table of reciprocals, exact for n in 0..65535, d in 1..255:
// (n * (2^32 / d + 1)) >> 32. The reciprocal of 1 needs 33 bits.
inline constexpr std::array<std::uint64_t, 256> kReciprocals = [] {
    std::array<std::uint64_t, 256> t{};
    for (unsigned d = 1; d < 256; ++d)
        t[d] = (std::uint64_t{1} << 32) / d + 1u;
    return t;
}();
constexpr unsigned DivSmall(unsigned n, unsigned d) {
    return static_cast<unsigned>((n * kReciprocals[d]) >> 32);
}

// fg over bg with fg's alpha weighted by masterAlpha; the result's alpha is the combined
// coverage, and the colours mix by coverage, each step rounded to nearest.
constexpr TColor32 Blend(TColor32 fg, TColor32 bg, std::uint8_t masterAlpha) {
    const unsigned a = Div255((fg >> 24) * unsigned{masterAlpha} + 127u);
    if (a == 0)
        return bg;
    const unsigned bgA = bg >> 24;
    if (bgA == 255) {
        // An opaque background, the common case: the result is opaque, so the mix divides
        // by 255 only.
        const unsigned rest = 255u - a;
        auto mix = [&](unsigned shift) {
            return Div255(((fg >> shift) & 0xFFu) * a + ((bg >> shift) & 0xFFu) * rest + 127u) << shift;
        };
        return 0xFF000000u | mix(16) | mix(8) | mix(0);
    }
    // The background counts only as far as it is opaque.
    const unsigned bgWeight = Div255(bgA * (255u - a) + 127u);
    const unsigned outA = a + bgWeight;
    auto mix = [&](unsigned shift) {
        return DivSmall(((fg >> shift) & 0xFFu) * a + ((bg >> shift) & 0xFFu) * bgWeight + outA / 2, outA)
               << shift;
    };
    return (outA << 24) | mix(16) | mix(8) | mix(0);
}

// Whether the loops may use registers wider than 128 bits where the processor has them (the
// default); tests turn them off to hold the 128-bit loops against the plain ones as well.
void AllowWideVectors(bool allow);

// dst[i] := Blend(src[i], dst[i], masterAlpha).
void BlendRow(TColor32* dst, const TColor32* src, std::size_t count, std::uint8_t masterAlpha);
void BlendRowPlain(TColor32* dst, const TColor32* src, std::size_t count, std::uint8_t masterAlpha);

// Where the alpha of a colour-table result comes from.
enum class TAlphaFrom : std::uint8_t { Dst = 0, Src = 1, Opaque = 2 };

// R, G and B of every pixel through their own tables. Made once for a picture, then applied
// row by row; dst and src may be the same row.
class TLutApplier {
public:
    // pixels: how many pixels the tables will map, so that a large picture gets the 16-bit
    // table of G and B together (one look-up fewer per pixel for 64 K entries built once).
    TLutApplier(const TLUT8& lutR, const TLUT8& lutG, const TLUT8& lutB, std::size_t pixels);
    void Apply(TColor32* dst, const TColor32* src, std::size_t count, TAlphaFrom alpha) const;
    void ApplyPlain(TColor32* dst, const TColor32* src, std::size_t count, TAlphaFrom alpha) const;
    bool UsesPairTable() const { return pair_ != nullptr; }
    // From this many pixels on, the pair table pays for its building.
    static constexpr std::size_t kPairTablePixels = std::size_t{1} << 17;

private:
    std::array<std::uint32_t, 256> r_{}, g_{}, b_{}; // already shifted into place
    // R's table beside the pair table, so that one register reaches both in the loop.
    struct TPairTables {
        std::array<std::uint32_t, 256> R;
        std::array<std::uint16_t, 65536> Pair;
    };
    std::unique_ptr<TPairTables> pair_;
};

// R = G = B := (R*61 + G*174 + B*21) shr 8, alpha kept.
void GrayRow(TColor32* p, std::size_t count);
void GrayRowPlain(TColor32* p, std::size_t count);
// p[i] := p[i] xor mask.
void XorRow(TColor32* p, std::size_t count, TColor32 mask);
// dst[i] := src[i]'s colour with the given alpha; dst and src may be the same row.
void SetAlphaRow(TColor32* dst, const TColor32* src, std::size_t count, std::uint8_t alpha);
void SetAlphaRowPlain(TColor32* dst, const TColor32* src, std::size_t count, std::uint8_t alpha);
// Pixels whose R, G, B equal rgb's get alpha 0.
void ClearAlphaOfColorRow(TColor32* p, std::size_t count, TColor32 rgb);
void ClearAlphaOfColorRowPlain(TColor32* p, std::size_t count, TColor32 rgb);
// dst[i] := src[i] brightened on R, G and B by d = Clamp255(draw - range / 2), the draw first
// limited to 0..range - 1 (range at least 2); alpha kept.
void AddNoiseRow(TColor32* dst, const TColor32* src, const int* draws, std::size_t count, int range);
void AddNoiseRowPlain(TColor32* dst, const TColor32* src, const int* draws, std::size_t count, int range);

// The smallest and largest value of each colour channel.
struct TChannelRange {
    std::uint8_t MinR = 255, MinG = 255, MinB = 255, MaxR = 0, MaxG = 0, MaxB = 0;
};
void WidenChannelRange(TChannelRange& range, const TColor32* p, std::size_t count);
void WidenChannelRangePlain(TChannelRange& range, const TColor32* p, std::size_t count);

void FillRow(TColor32* p, std::size_t count, TColor32 color);
// How many pixels from p on (forward), or before p (backward, p[-1], p[-2], ...), have
// exactly the R, G, B of rgb; at most count.
std::size_t MatchingRun(const TColor32* p, std::size_t count, TColor32 rgb);
std::size_t MatchingRunBack(const TColor32* p, std::size_t count, TColor32 rgb);
std::size_t MatchingRunPlain(const TColor32* p, std::size_t count, TColor32 rgb);

// Mirrors a row in place.
void ReverseRow(TColor32* p, std::size_t count);
// dst[j * dstStride + i] := src[i * srcStride + j] for i < height, j < width: the picture
// turned on its diagonal, in blocks that stay in the caches on both sides. Negative
// strides walk rows upwards, which makes the quarter turns.
void TransposeRect(const TColor32* src, std::ptrdiff_t srcStride, TColor32* dst, std::ptrdiff_t dstStride,
                   int width, int height);
void TransposeRectPlain(const TColor32* src, std::ptrdiff_t srcStride, TColor32* dst,
                        std::ptrdiff_t dstStride, int width, int height);

} // namespace pixel_rows
