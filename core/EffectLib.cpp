#include "core/EffectLib.h"

#include <algorithm>
#include <cmath>

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

TStdRandomSource::TStdRandomSource() : engine_(std::random_device{}()) {}

int TStdRandomSource::Random(int n) {
    if (n <= 1)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(engine_);
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
        dst.SetSize(src.Width(), src.Height());
    const std::size_t count = static_cast<std::size_t>(src.Width()) * static_cast<std::size_t>(src.Height());
    const TColor32* from = src.Bits();
    TColor32* to = dst.Bits();
    for (std::size_t i = 0; i < count; ++i) {
        const TColor32 c = from[i];
        to[i] = Color32(lutR[RedComponent(c)], lutG[GreenComponent(c)], lutB[BlueComponent(c)]);
    }
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
    const auto factor = static_cast<float>(1.0 + amount);
    return BuildTable([factor](float v) {
        const float centred = v - 0.5f;
        const float scaled = factor * centred;
        return scaled + 0.5f;
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
    if (&dst != &src)
        dst = src;
    if (n <= 1)
        return;
    // A block never needs to be larger than the bitmap; limiting n keeps x0 + n in range.
    n = std::min(n, std::max(dst.Width(), dst.Height()));
    for (int y0 = 0; y0 < dst.Height(); y0 += n) {
        const int y1 = std::min(y0 + n, dst.Height());
        for (int x0 = 0; x0 < dst.Width(); x0 += n) {
            const int x1 = std::min(x0 + n, dst.Width());
            const TColor32 c = dst.Pixel(x0, y0);
            for (int y = y0; y < y1; ++y)
                std::fill(dst.ScanLine(y) + x0, dst.ScanLine(y) + x1, c);
        }
    }
}

void EffectNoise(TBitmap32& dst, const TBitmap32& src, int n, IRandomSource& random) {
    if (&dst != &src)
        dst = src;
    const int half = n > 0 ? n / 2 : 0;
    for (int y = 0; y < dst.Height(); ++y) {
        TColor32* row = dst.ScanLine(y);
        for (int x = 0; x < dst.Width(); ++x) {
            // A source that answers outside 0..n - 1 is limited, so d stays a byte.
            const int draw = n > 1 ? std::clamp(random.Random(n), 0, n - 1) : 0;
            const int d = Clamp255(draw - half);
            const TColor32 c = row[x];
            row[x] = Color32(Clamp255(RedComponent(c) + d), Clamp255(GreenComponent(c) + d),
                             Clamp255(BlueComponent(c) + d), AlphaComponent(c));
        }
    }
}

void EffectAutoContrast(TBitmap32& bitmap) {
    std::uint8_t minR = 255, minG = 255, minB = 255, maxR = 0, maxG = 0, maxB = 0;
    const std::size_t count =
        static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height());
    if (count == 0)
        return;
    for (std::size_t i = 0; i < count; ++i) {
        const TColor32 c = bitmap.Bits()[i];
        minR = std::min(minR, RedComponent(c));
        maxR = std::max(maxR, RedComponent(c));
        minG = std::min(minG, GreenComponent(c));
        maxG = std::max(maxG, GreenComponent(c));
        minB = std::min(minB, BlueComponent(c));
        maxB = std::max(maxB, BlueComponent(c));
    }
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
