#include "core/EffectLib.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <new>
#include <vector>

namespace {

// Answers the listed draws in turn (then 0), and records the ranges asked for.
class TScriptedRandom final : public IRandomSource {
public:
    explicit TScriptedRandom(std::vector<int> draws) : draws_(std::move(draws)) {}
    int Random(int n) override {
        asked.push_back(n);
        return next_ < draws_.size() ? draws_[next_++] : 0;
    }
    std::vector<int> asked;

private:
    std::vector<int> draws_;
    std::size_t next_ = 0;
};

TBitmap32 Row(std::initializer_list<TColor32> values) {
    TBitmap32 b(static_cast<int>(values.size()), 1);
    int x = 0;
    for (const TColor32 v : values)
        b.SetPixel(x++, 0, v);
    return b;
}

bool IsIdentity(const TLUT8& table) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i] != i)
            return false;
    return true;
}

bool AllEqual(const TLUT8& table, std::uint8_t value) {
    for (const std::uint8_t v : table)
        if (v != value)
            return false;
    return true;
}

} // namespace

TEST(EffectLib, Clamp255LimitsToAByte) {
    EXPECT_EQ(Clamp255(-1), 0);
    EXPECT_EQ(Clamp255(256), 255);
    EXPECT_EQ(Clamp255(INT_MIN), 0);
    EXPECT_EQ(Clamp255(77), 77);
}

TEST(EffectLib, RampTablesInFixedPoint) {
    TLUT8 lut{};
    lut.fill(7);
    BuildRampLUT(lut, 10, 0, 200, 255);
    // step = (256 shl 16) div 190 = 88301; entry 105 = (95 * 88301) shr 16 = 127.
    EXPECT_EQ(lut[9], 7);
    EXPECT_EQ(lut[10], 0);
    EXPECT_EQ(lut[105], 127);
    EXPECT_EQ(lut[199], 254);
    EXPECT_EQ(lut[200], 255);
    EXPECT_EQ(lut[201], 7);

    // A falling ramp: step = -(254 shl 16) div 255, truncated toward zero to -65278.
    BuildRampLUT(lut, 0, 255, 255, 0);
    EXPECT_EQ(lut[0], 255);
    EXPECT_EQ(lut[1], 254);
    EXPECT_EQ(lut[254], 1);
    EXPECT_EQ(lut[255], 0);

    lut.fill(7);
    BuildRampLUT(lut, 40, 0, 40, 255);
    EXPECT_TRUE(AllEqual(lut, 7));
}

TEST(EffectLib, BrightnessAndContrastTables) {
    EXPECT_TRUE(IsIdentity(BrightnessTable(0)));
    EXPECT_TRUE(AllEqual(BrightnessTable(1), 255));
    EXPECT_TRUE(AllEqual(BrightnessTable(-1), 0));
    EXPECT_EQ(BrightnessTable(0.5)[0], 128); // 127.5 goes to the even 128
    EXPECT_TRUE(IsIdentity(ContrastTable(0)));
    EXPECT_TRUE(AllEqual(ContrastTable(-1), 128));
    EXPECT_EQ(ContrastTable(1)[60], 0); // 2 * (60/255 - 0.5) + 0.5 < 0
    EXPECT_EQ(ContrastTable(1)[192], 255);
    EXPECT_EQ(ContrastTable(-0.5)[0], 64); // 0.5 * -0.5 + 0.5 = 0.25 -> 63.75
}

TEST(EffectLib, GammaTables) {
    EXPECT_TRUE(AllEqual(GammaTable(0), 255));
    EXPECT_TRUE(IsIdentity(GammaTable(1)));
    EXPECT_EQ(GammaTable(5)[128], 8);
    EXPECT_EQ(GammaTable(2)[128], 64);   // 0.50196^2 * 255 = 64.25
    EXPECT_EQ(GammaTable(0.5)[64], 128); // sqrt(64/255) * 255 = 127.75
    EXPECT_EQ(GammaTable(100), GammaTable(5));
    EXPECT_EQ(GammaTable(-3), GammaTable(0));
}

namespace {
// The table rules written out plainly: each step of v computed whole and held in single
// precision, the entry Round(v * 255) to the even neighbour, limited to 0..255.
std::uint8_t Entry(float v) {
    return static_cast<std::uint8_t>(std::nearbyint(std::clamp(static_cast<double>(v) * 255.0, 0.0, 255.0)));
}
} // namespace

TEST(EffectLib, TheTableEffectsFollowTheirRulesAtEverySliderPosition) {
    // Position -20, entry 0: 0.8 * (0 - 0.5) + 0.5 = 0.1, held as 0.100000001 -> 25.5000004 -> 26.
    EXPECT_EQ(ContrastTable(-0.2)[0], 26);
    for (int position = -100; position <= 100; ++position) {
        const double a = position / 100.0;
        TLUT8 brightness{}, contrast{};
        for (std::size_t i = 0; i < 256; ++i) {
            const double v = static_cast<double>(static_cast<float>(static_cast<double>(i) / 255.0));
            brightness[i] = Entry(static_cast<float>(v + a));
            contrast[i] = Entry(static_cast<float>((1 + a) * (v - 0.5) + 0.5));
        }
        EXPECT_EQ(BrightnessTable(a), brightness) << position;
        EXPECT_EQ(ContrastTable(a), contrast) << position;
    }
    for (int position = 0; position <= 500; ++position) {
        const double g = position / 100.0;
        TLUT8 gamma{};
        for (std::size_t i = 0; i < 256; ++i) {
            const double x = static_cast<double>(static_cast<float>(static_cast<double>(i) / 255.0));
            gamma[i] = Entry(static_cast<float>(std::pow(x, g)));
        }
        EXPECT_EQ(GammaTable(g), gamma) << position;
    }
}

TEST(EffectLib, AmountsThatAreNoNumberOrHugeStaySafe) {
    EXPECT_TRUE(IsIdentity(BrightnessTable(std::nan(""))));
    EXPECT_TRUE(IsIdentity(ContrastTable(std::nan(""))));
    EXPECT_TRUE(IsIdentity(GammaTable(std::nan(""))));
    EXPECT_TRUE(AllEqual(BrightnessTable(1e300), 255));
    EXPECT_TRUE(AllEqual(BrightnessTable(-INFINITY), 0));
    EXPECT_EQ(ContrastTable(1e30), ContrastTable(1));
}

TEST(EffectLib, TableEffectsKeepTheAlphaOfTheImage) {
    const TBitmap32 src = Row({0x40808080u, 0x00FFFFFFu});
    TBitmap32 preview = src;
    EffectBrightness(preview, src, 1);
    EXPECT_EQ(preview, Row({0x40FFFFFFu, 0x00FFFFFFu}));
    // A fresh destination takes the source's alpha, not the 0 of a new bitmap.
    TBitmap32 fresh;
    EffectContrast(fresh, src, -1);
    EXPECT_EQ(fresh, Row({0x40808080u, 0x00808080u}));
    EffectGamma(fresh, src, 1);
    EXPECT_EQ(fresh, src);
}

TEST(EffectLib, MosaicBlocksTakeTheirTopLeftPixelAndClipAtTheEdges) {
    TBitmap32 src(12, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 12; ++x)
            src.SetPixel(x, y, static_cast<TColor32>((y << 24) | x));
    TBitmap32 dst;
    EffectMosaic(dst, src, 5);
    EXPECT_EQ(dst.Pixel(4, 4), src.Pixel(0, 0));
    EXPECT_EQ(dst.Pixel(5, 0), src.Pixel(5, 0));
    EXPECT_EQ(dst.Pixel(9, 3), src.Pixel(5, 0));
    EXPECT_EQ(dst.Pixel(11, 6), src.Pixel(10, 5)); // alpha included
    EXPECT_EQ(dst.Pixel(10, 4), src.Pixel(10, 0));

    EffectMosaic(dst, src, 1);
    EXPECT_EQ(dst, src);
    EffectMosaic(dst, src, -5);
    EXPECT_EQ(dst, src);
    EffectMosaic(dst, src, INT_MAX);
    EXPECT_EQ(dst, TBitmap32(12, 7, src.Pixel(0, 0)));
    TBitmap32 empty;
    EffectMosaic(empty, empty, 5);
    EXPECT_TRUE(empty.Empty());
}

TEST(EffectLib, NoiseOnlyBrightensByTheDrawAboveHalf) {
    const TBitmap32 src = Row({0x80101010u, 0xFF101010u, 0xFF101010u, 0xFF101010u, 0xFFF0F0F0u});
    TScriptedRandom random({49, 50, 99, 0, 99});
    TBitmap32 dst;
    EffectNoise(dst, src, 100, random);
    // d = Clamp255(draw - 50): 0, 0, 49, 0, 49 (the last clipped at 255).
    EXPECT_EQ(dst, Row({0x80101010u, 0xFF101010u, 0xFF414141u, 0xFF101010u, 0xFFFFFFFFu}));
    EXPECT_EQ(random.asked, std::vector<int>(5, 100));
}

TEST(EffectLib, NoiseWithoutRangeChangesNothingAndBadDrawsAreLimited) {
    const TBitmap32 src = Row({0xFF101010u, 0xFF101010u});
    TScriptedRandom none({});
    TBitmap32 dst;
    EffectNoise(dst, src, 1, none);
    EXPECT_EQ(dst, src);
    EffectNoise(dst, src, -7, none);
    EXPECT_EQ(dst, src);
    EffectNoise(dst, src, 0, none);
    EXPECT_EQ(dst, src);
    TScriptedRandom wild({1000, -1000});
    EffectNoise(dst, src, 10, wild);
    // 1000 is read as 9 (d = 9 - 5 = 4), -1000 as 0 (d = 0).
    EXPECT_EQ(dst, Row({0xFF141414u, 0xFF101010u}));
}

TEST(EffectLib, TheProgramsRandomSourceStaysInRange) {
    TStdRandomSource random(42);
    for (int i = 0; i < 1000; ++i) {
        const int v = random.Random(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
    }
    EXPECT_EQ(random.Random(0), 0);
    EXPECT_EQ(random.Random(-3), 0);
}

TEST(EffectLib, TheNoiseGeneratorDrawsAlikeFromAStateOnlyEightByteAligned) {
    // Where the 32-bit heap may put the generator: its state 8-aligned, not 16-aligned. The
    // state's offset in the object differs between builds, so the place is searched for.
    alignas(16) unsigned char storage[sizeof(TStdRandomSource) + 16];
    TStdRandomSource* shifted = nullptr;
    for (std::size_t offset = 0; offset < 16 && !shifted; offset += alignof(TStdRandomSource)) {
        auto* candidate = new (storage + offset) TStdRandomSource(7);
        if (reinterpret_cast<std::uintptr_t>(candidate->StateAddress()) % 16 == 8)
            shifted = candidate;
        else
            candidate->~TStdRandomSource();
    }
    ASSERT_NE(shifted, nullptr);
    TStdRandomSource plain(7);
    std::vector<int> a(1027), b(1027);
    // Twice: the second row starts from the state the first one stored back.
    for (int round = 0; round < 2; ++round) {
        shifted->RandomRow(1000, a.data(), a.size());
        plain.RandomRowPlain(1000, b.data(), b.size());
        EXPECT_EQ(a, b) << round;
    }
    shifted->~TStdRandomSource();
}

TEST(EffectLib, AutoContrastStretchesEachChannel) {
    TBitmap32 b = Row({Color32(10, 0, 0, 0x40), Color32(200, 255, 255, 0x40), Color32(199, 0, 128, 0x40)});
    EffectAutoContrast(b);
    EXPECT_EQ(b, Row({Color32(0, 0, 0), Color32(255, 255, 255), Color32(254, 0, 128)}));
}

TEST(EffectLib, AutoContrastOnAFullRangeOrSingleValuedImage) {
    const TBitmap32 full = Row({0x00000000u, 0x80FFFFFFu});
    TBitmap32 b = full;
    EffectAutoContrast(b);
    EXPECT_EQ(b, full); // alpha untouched too
    // A channel of one value keeps that value; the others still stretch.
    TBitmap32 flat = Row({Color32(128, 128, 10, 0x40), Color32(128, 128, 20, 0x40)});
    EffectAutoContrast(flat);
    EXPECT_EQ(flat, Row({Color32(128, 128, 0), Color32(128, 128, 255)}));
    TBitmap32 empty;
    EffectAutoContrast(empty);
    EXPECT_TRUE(empty.Empty());
}
