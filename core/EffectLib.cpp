#include "core/EffectLib.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "core/PixelRows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Round(v * 255) limited to 0..255, halves to even; the limit comes first so that huge
// values never reach the conversion to an integer.
std::uint8_t ScaledByte(float v) {
    const double scaled = std::clamp(static_cast<double>(v) * 255.0, 0.0, 255.0);
    return static_cast<std::uint8_t>(std::nearbyint(scaled));
}

// The table effects hold every step in single precision, as the formulas were tuned with.
template <typename F> TLUT8 BuildTable(F step) {
    TLUT8 table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = ScaledByte(step(static_cast<float>(i) / 255.0f));
    return table;
}

} // namespace

void IRandomSource::RandomRow(int n, int* draws, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        draws[i] = Random(n);
}

TStdRandomSource::TStdRandomSource() : TStdRandomSource(std::random_device{}()) {}

TStdRandomSource::TStdRandomSource(std::uint32_t seed) {
    // splitmix64 spreads the seed over the sixteen state words; a generator whose words
    // are all zero would only ever give zero, so none is left that way.
    std::uint64_t x = seed;
    for (int k = 0; k < 4; ++k) {
        for (auto& word : state_) {
            x += 0x9E3779B97F4A7C15u;
            std::uint64_t z = x;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
            word[k] = static_cast<std::uint32_t>(z ^ (z >> 31));
        }
        if ((state_[0][k] | state_[1][k] | state_[2][k] | state_[3][k]) == 0)
            state_[0][k] = 1;
    }
}

void TStdRandomSource::Step(std::uint32_t out[4]) {
    for (int k = 0; k < 4; ++k) {
        std::uint32_t& s0 = state_[0][k];
        std::uint32_t& s1 = state_[1][k];
        std::uint32_t& s2 = state_[2][k];
        std::uint32_t& s3 = state_[3][k];
        out[k] = s0 + s3;
        const std::uint32_t t = s1 << 9;
        s2 ^= s0;
        s3 ^= s1;
        s1 ^= s2;
        s0 ^= s3;
        s2 ^= t;
        s3 = (s3 << 11) | (s3 >> 21);
    }
}

namespace {
// A 32-bit draw scaled into 0..n - 1 by its high bits.
int Scaled(std::uint32_t r, int n) {
    return static_cast<int>((std::uint64_t{r} * static_cast<std::uint32_t>(n)) >> 32);
}
} // namespace

int TStdRandomSource::Random(int n) {
    if (n <= 1)
        return 0;
    if (bufferedLeft_ == 0) {
        Step(buffered_);
        bufferedLeft_ = 4;
    }
    return Scaled(buffered_[--bufferedLeft_], n);
}

void TStdRandomSource::RandomRowPlain(int n, int* draws, std::size_t count) {
    std::uint32_t out[4];
    for (std::size_t i = 0; i < count; i += 4) {
        Step(out);
        for (std::size_t k = 0; k < 4 && i + k < count; ++k)
            draws[i + k] = n <= 1 ? 0 : Scaled(out[k], n);
    }
}

void TStdRandomSource::RandomRow(int n, int* draws, std::size_t count) {
#if defined(__SSE2__)
    if (n > 1) {
        // The state may lie anywhere a heap object does (the 32-bit heap aligns to 8), so it
        // is read and written with unaligned loads and stores.
        auto load = [this](int w) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(state_[w])); };
        __m128i s0 = load(0), s1 = load(1), s2 = load(2), s3 = load(3);
        const __m128i range = _mm_set1_epi32(n);
        const __m128i high = _mm_set_epi32(-1, 0, -1, 0);
        std::size_t i = 0;
        for (; i + 4 <= count; i += 4) {
            const __m128i r = _mm_add_epi32(s0, s3);
            const __m128i t = _mm_slli_epi32(s1, 9);
            s2 = _mm_xor_si128(s2, s0);
            s3 = _mm_xor_si128(s3, s1);
            s1 = _mm_xor_si128(s1, s2);
            s0 = _mm_xor_si128(s0, s3);
            s2 = _mm_xor_si128(s2, t);
            s3 = _mm_or_si128(_mm_slli_epi32(s3, 11), _mm_srli_epi32(s3, 21));
            // High halves of r * n: lanes 0 and 2 from one multiply, 1 and 3 from another.
            const __m128i even = _mm_srli_epi64(_mm_mul_epu32(r, range), 32);
            const __m128i odd = _mm_and_si128(_mm_mul_epu32(_mm_srli_epi64(r, 32), range), high);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(draws + i), _mm_or_si128(even, odd));
        }
        auto store = [this](int w, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(state_[w]), v); };
        store(0, s0);
        store(1, s1);
        store(2, s2);
        store(3, s3);
        RandomRowPlain(n, draws + i, count - i);
        return;
    }
#endif
    RandomRowPlain(n, draws, count);
}

void BuildRampLUT(TLUT8& lut, std::uint8_t index1, std::uint8_t value1, std::uint8_t index2,
                  std::uint8_t value2) {
    const int span = index2 - index1;
    if (span == 0)
        return;
    // Signed division truncates toward zero, as the ramp's tuning expects.
    const std::int64_t step = (std::int64_t{value2 - value1 + 1} * 65536) / span;
    std::int64_t acc = std::int64_t{value1} * 65536;
    for (int i = index1; i < index2; ++i) {
        lut[static_cast<std::size_t>(i)] = Clamp255(static_cast<int>(acc >> 16));
        acc += step;
    }
    lut[index2] = value2;
}

void ApplyRampLUTs(TBitmap32& dst, const TBitmap32& src, const TLUT8& lutR, const TLUT8& lutG,
                   const TLUT8& lutB) {
    if (&dst != &src && (dst.Width() != src.Width() || dst.Height() != src.Height()))
        dst.SetSizeForOverwrite(src.Width(), src.Height());
    const std::size_t count = static_cast<std::size_t>(src.Width()) * static_cast<std::size_t>(src.Height());
    pixel_rows::TLutApplier(lutR, lutG, lutB, count)
        .Apply(dst.Bits(), src.Bits(), count, pixel_rows::TAlphaFrom::Opaque);
}

TLUT8 BrightnessTable(double amount) {
    if (std::isnan(amount))
        amount = 0;
    amount = std::clamp(amount, -1.0, 1.0);
    return BuildTable([amount](float v) { return static_cast<float>(static_cast<double>(v) + amount); });
}

TLUT8 ContrastTable(double amount) {
    if (std::isnan(amount))
        amount = 0;
    amount = std::clamp(amount, -1.0, 1.0);
    // The whole step in double and only its result in single precision: rounding the factor
    // or the product on the way puts exact halves (position -20, entry 0: 25.5) a level low.
    return BuildTable([amount](float v) {
        return static_cast<float>((1.0 + amount) * (static_cast<double>(v) - 0.5) + 0.5);
    });
}

TLUT8 GammaTable(double gamma) {
    if (std::isnan(gamma))
        gamma = 1;
    const auto g = static_cast<float>(std::clamp(gamma, 0.0, 5.0));
    // pow(0, 0) is 1 here too, so gamma 0 turns every entry white.
    return BuildTable([g](float x) { return std::pow(std::clamp(x, 0.0f, 1.0f), g); });
}

void EffectBrightness(TBitmap32& dst, const TBitmap32& src, double amount) {
    ApplyLUT(dst, src, BrightnessTable(amount), true);
}

void EffectContrast(TBitmap32& dst, const TBitmap32& src, double amount) {
    ApplyLUT(dst, src, ContrastTable(amount), true);
}

void EffectGamma(TBitmap32& dst, const TBitmap32& src, double gamma) {
    ApplyLUT(dst, src, GammaTable(gamma), true);
}

void EffectMosaic(TBitmap32& dst, const TBitmap32& src, int n) {
    if (n <= 1) {
        if (&dst != &src)
            dst = src;
        return;
    }
    if (&dst != &src)
        dst.SetSizeForOverwrite(src.Width(), src.Height());
    // A block never needs to be larger than the bitmap; limiting n keeps x0 + n in range.
    n = std::min(n, std::max(src.Width(), src.Height()));
    const auto rowBytes = static_cast<std::size_t>(src.Width()) * sizeof(TColor32);
    for (int y0 = 0; y0 < src.Height(); y0 += n) {
        const int y1 = std::min(y0 + n, src.Height());
        // The band's first row is built from the source's, block by block (in place, each
        // block's colour is read before the block is filled); the rest of the band copies it.
        const TColor32* in = src.ScanLine(y0);
        TColor32* first = dst.ScanLine(y0);
        for (int x0 = 0; x0 < src.Width(); x0 += n) {
            const int x1 = std::min(x0 + n, src.Width());
            pixel_rows::FillRow(first + x0, static_cast<std::size_t>(x1 - x0), in[x0]);
        }
        for (int y = y0 + 1; y < y1; ++y)
            std::memcpy(dst.ScanLine(y), first, rowBytes);
    }
}

void EffectNoise(TBitmap32& dst, const TBitmap32& src, int n, IRandomSource& random) {
    if (n <= 1) {
        // Every draw would be 0: nothing brightens.
        if (&dst != &src)
            dst = src;
        return;
    }
    if (&dst != &src)
        dst.SetSizeForOverwrite(src.Width(), src.Height());
    const auto w = static_cast<std::size_t>(src.Width());
    std::vector<int> draws(w);
    // One draw per pixel, rows from the top, pixels from the left.
    for (int y = 0; y < src.Height(); ++y) {
        random.RandomRow(n, draws.data(), w);
        pixel_rows::AddNoiseRow(dst.ScanLine(y), src.ScanLine(y), draws.data(), w, n);
    }
}

void EffectAutoContrast(TBitmap32& bitmap) {
    const std::size_t count =
        static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height());
    if (count == 0)
        return;
    pixel_rows::TChannelRange range;
    pixel_rows::WidenChannelRange(range, bitmap.Bits(), count);
    const auto [minR, minG, minB, maxR, maxG, maxB] = range;
    if (minR == 0 && minG == 0 && minB == 0 && maxR == 255 && maxG == 255 && maxB == 255)
        return;
    // The tables start as the identity: a channel of a single value writes no ramp and so
    // keeps its value instead of taking whatever the table held.
    TLUT8 identity{};
    for (std::size_t i = 0; i < identity.size(); ++i)
        identity[i] = static_cast<std::uint8_t>(i);
    TLUT8 lutR = identity, lutG = identity, lutB = identity;
    BuildRampLUT(lutR, minR, 0, maxR, 255);
    BuildRampLUT(lutG, minG, 0, maxG, 255);
    BuildRampLUT(lutB, minB, 0, maxB, 255);
    ApplyRampLUTs(bitmap, bitmap, lutR, lutG, lutB);
}
