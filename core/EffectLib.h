#pragma once
// The editor's own effects: brightness, contrast and gamma through colour tables, mosaic,
// noise and auto contrast, with the table helpers they share. Out-of-range amounts are safe:
// every table entry and channel is limited to 0..255.
#include <cstddef>
#include <cstdint>

#include "core/Bitmap32.h"
#include "core/Bitmap32Ops.h"

// The source of the noise effect's randomness, so that tests can replay it.
class IRandomSource {
public:
    virtual ~IRandomSource() = default;
    // A uniform integer in 0..n - 1; 0 when n is 1 or less.
    virtual int Random(int n) = 0;
    // count draws of Random(n) in a row, in order; a source may give them faster at once.
    virtual void RandomRow(int n, int* draws, std::size_t count);
};

// The program's random source: four xoshiro128+ generators side by side, seeded once from
// the system, whose draws are scaled into range by a multiply and shift (no division), so
// that a whole picture's noise costs about as much as copying it.
class TStdRandomSource final : public IRandomSource {
public:
    TStdRandomSource();
    explicit TStdRandomSource(std::uint32_t seed);
    int Random(int n) override;
    void RandomRow(int n, int* draws, std::size_t count) override;
    // The same draws without the vector instructions, for comparison.
    void RandomRowPlain(int n, int* draws, std::size_t count);
    // Where the generators' state lies; the vector path reads and writes it there.
    const void* StateAddress() const { return state_; }

private:
    // Four 32-bit outputs, one per generator, and the next state.
    void Step(std::uint32_t out[4]);
    // [word][generator]; no alignment asked for: the vector path loads it unaligned.
    std::uint32_t state_[4][4];
    std::uint32_t buffered_[4]{};
    int bufferedLeft_ = 0;
};

// 255 above 255, 0 below 0, else v.
constexpr std::uint8_t Clamp255(int v) {
    return static_cast<std::uint8_t>(v > 255 ? 255 : (v < 0 ? 0 : v));
}

// Writes a straight ramp from (index1, value1) to (index2, value2) into lut in 16.16 fixed
// point; entries outside index1..index2 stay. Equal indexes write nothing.
void BuildRampLUT(TLUT8& lut, std::uint8_t index1, std::uint8_t value1, std::uint8_t index2,
                  std::uint8_t value2);
// Every dst pixel := alpha 255 and R, G, B of the same src pixel through their own tables.
// dst takes src's size; dst and src may be the same bitmap.
void ApplyRampLUTs(TBitmap32& dst, const TBitmap32& src, const TLUT8& lutR, const TLUT8& lutG,
                   const TLUT8& lutB);

// The tables of the three table effects, for amounts -1..1 (brightness, contrast) and
// gamma 0..5; amounts outside are limited, a missing number (NaN) changes nothing.
TLUT8 BrightnessTable(double amount);
TLUT8 ContrastTable(double amount);
TLUT8 GammaTable(double gamma);

// dst := src with its colours through the effect's table; dst keeps its alpha when it has
// src's size already, else takes src's.
void EffectBrightness(TBitmap32& dst, const TBitmap32& src, double amount);
void EffectContrast(TBitmap32& dst, const TBitmap32& src, double amount);
void EffectGamma(TBitmap32& dst, const TBitmap32& src, double gamma);
// dst := src, then every n x n block (the last ones clipped) takes its top-left pixel,
// alpha included; n of 1 or less changes nothing.
void EffectMosaic(TBitmap32& dst, const TBitmap32& src, int n);
// dst := src, then every pixel, row by row, is brightened by d = Clamp255(Random(n) - n / 2)
// on R, G and B; alpha kept. The noise only brightens.
void EffectNoise(TBitmap32& dst, const TBitmap32& src, int n, IRandomSource& random);
// Stretches each colour channel's range to 0..255 in place; every alpha becomes 255, unless
// every channel spans 0..255 already (then nothing changes). A channel of one value keeps it.
void EffectAutoContrast(TBitmap32& bitmap);
