#include "core/BmpCodec.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

// The hand-made files below name only the header fields they set.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutU32(Bytes& b, std::uint32_t v) {
    PutU16(b, v & 0xFFFF);
    PutU16(b, v >> 16);
}
std::uint32_t GetU32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
           (std::uint32_t{b[at + 3]} << 24);
}

// A hand-made file with a 40-byte info header; masks follow the header, then the colour
// table, then the pixel rows exactly as given.
struct BmpFields {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bpp = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks;
    Bytes palette;
    Bytes pixels;
};

Bytes MakeBmp(const BmpFields& s) {
    Bytes b{'B', 'M'};
    const auto offset = static_cast<std::uint32_t>(14 + 40 + s.masks.size() * 4 + s.palette.size());
    PutU32(b, offset + static_cast<std::uint32_t>(s.pixels.size()));
    PutU32(b, 0);
    PutU32(b, offset);
    PutU32(b, 40);
    PutU32(b, static_cast<std::uint32_t>(s.width));
    PutU32(b, static_cast<std::uint32_t>(s.height));
    PutU16(b, 1);
    PutU16(b, s.bpp);
    PutU32(b, s.compression);
    PutU32(b, static_cast<std::uint32_t>(s.pixels.size()));
    PutU32(b, 0);
    PutU32(b, 0);
    PutU32(b, s.colorsUsed);
    PutU32(b, 0);
    for (auto m : s.masks)
        PutU32(b, m);
    b.insert(b.end(), s.palette.begin(), s.palette.end());
    b.insert(b.end(), s.pixels.begin(), s.pixels.end());
    return b;
}

// Palette entries are stored B, G, R, reserved.
const Bytes kBlackWhiteRed = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0};

TBitmap32 Decoded(const Bytes& file) {
    TBitmap32 out;
    std::string error;
    EXPECT_TRUE(DecodeBmp(file, out, error)) << error;
    return out;
}

std::string Refusal(const Bytes& file) {
    TBitmap32 out(2, 2, 0x12345678u);
    std::string error;
    EXPECT_FALSE(DecodeBmp(file, out, error));
    EXPECT_EQ(out, TBitmap32(2, 2, 0x12345678u)) << "a refused file leaves the bitmap as it was";
    EXPECT_FALSE(error.empty());
    return error;
}

TBitmap32 Sample3x2() {
    TBitmap32 b(3, 2);
    b.SetPixel(0, 0, 0xFF102030u);
    b.SetPixel(1, 0, 0x80405060u);
    b.SetPixel(2, 0, 0x00708090u);
    b.SetPixel(0, 1, 0xFFA0B0C0u);
    b.SetPixel(1, 1, 0x01D0E0F0u);
    b.SetPixel(2, 1, 0xFE010203u);
    return b;
}

} // namespace

TEST(BmpCodec, TwentyFourBitFileIsBottomUpWithPaddedRowsAndDecodesOpaque) {
    const Bytes file = EncodeBmp24(Sample3x2());
    // 3 pixels of 3 bytes make 9, padded to 12; two rows after 14 + 40 header bytes.
    ASSERT_EQ(file.size(), 78u);
    EXPECT_EQ(GetU32(file, 2), 78u);
    EXPECT_EQ(GetU32(file, 10), 54u);
    EXPECT_EQ(GetU32(file, 14), 40u);
    EXPECT_EQ(file[28], 24);
    EXPECT_EQ(GetU32(file, 30), 0u);
    // The first stored row is the bottom one: A0B0C0 as B, G, R.
    EXPECT_EQ(file[54], 0xC0);
    EXPECT_EQ(file[55], 0xB0);
    EXPECT_EQ(file[56], 0xA0);
    EXPECT_EQ(file[63], 0);
    EXPECT_EQ(file[65], 0);
    EXPECT_EQ(file[66], 0x30);

    TBitmap32 expected = Sample3x2();
    expected.ResetAlpha();
    EXPECT_EQ(Decoded(file), expected);
}

TEST(BmpCodec, ThirtyTwoBitFileKeepsEveryAlphaAndNamesItsAlphaMask) {
    const Bytes file = EncodeBmp32(Sample3x2());
    ASSERT_EQ(file.size(), 14u + 124u + 24u);
    EXPECT_EQ(GetU32(file, 10), 138u);
    EXPECT_EQ(GetU32(file, 14), 124u);
    EXPECT_EQ(GetU32(file, 30), 3u) << "colour masks";
    EXPECT_EQ(GetU32(file, 54), 0x00FF0000u);
    EXPECT_EQ(GetU32(file, 66), 0xFF000000u) << "alpha mask";
    EXPECT_EQ(GetU32(file, 138), 0xFFA0B0C0u) << "bottom row first";
    EXPECT_EQ(Decoded(file), Sample3x2());

    // A wholly transparent picture stays transparent: its file says it has alpha.
    const TBitmap32 clear(2, 2, 0x00336699u);
    EXPECT_EQ(Decoded(EncodeBmp32(clear)), clear);
}

TEST(BmpCodec, EmptyPictureMakesAValidFileThatDecodesEmpty) {
    for (const Bytes& file : {EncodeBmp24(TBitmap32()), EncodeBmp32(TBitmap32())}) {
        TBitmap32 out(3, 3);
        std::string error;
        ASSERT_TRUE(DecodeBmp(file, out, error)) << error;
        EXPECT_TRUE(out.Empty());
    }
}

TEST(BmpCodec, PaletteDepthsReadTheirIndicesFromTheHighBitsFirst) {
    // 1 bit, 10 pixels: 1010000011 -> bytes A0 C0, row padded to 4 bytes.
    BmpFields one{.width = 10,
                  .height = 1,
                  .bpp = 1,
                  .colorsUsed = 2,
                  .palette = Bytes(kBlackWhiteRed.begin(), kBlackWhiteRed.begin() + 8),
                  .pixels = {0xA0, 0xC0, 0, 0}};
    const TBitmap32 a = Decoded(MakeBmp(one));
    ASSERT_EQ(a.Width(), 10);
    const TColor32 w = 0xFFFFFFFFu, k = 0xFF000000u;
    const std::vector<TColor32> row1(a.ScanLine(0), a.ScanLine(0) + 10);
    EXPECT_EQ(row1, (std::vector<TColor32>{w, k, w, k, k, k, k, k, w, w}));

    // 4 bits, 3 pixels: indices 2, 1, 0.
    BmpFields four{.width = 3,
                   .height = 1,
                   .bpp = 4,
                   .colorsUsed = 3,
                   .palette = kBlackWhiteRed,
                   .pixels = {0x21, 0x00, 0, 0}};
    const TBitmap32 b = Decoded(MakeBmp(four));
    EXPECT_EQ(b.Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(b.Pixel(1, 0), w);
    EXPECT_EQ(b.Pixel(2, 0), k);

    // 8 bits, 2 x 2 bottom-up: the top row is the second one stored. An index past the
    // colour table reads as opaque black.
    BmpFields eight{.width = 2,
                    .height = 2,
                    .bpp = 8,
                    .colorsUsed = 3,
                    .palette = kBlackWhiteRed,
                    .pixels = {1, 0, 0, 0, 2, 200, 0, 0}};
    const TBitmap32 c = Decoded(MakeBmp(eight));
    EXPECT_EQ(c.Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(c.Pixel(1, 0), k);
    EXPECT_EQ(c.Pixel(0, 1), w);
    EXPECT_EQ(c.Pixel(1, 1), k);
}

TEST(BmpCodec, SixteenBitPixelsScaleTheirChannelsToEightBits) {
    // Plain 16 bits are 5-5-5: 0x7FFF white, 0x7C00 red, 0x0010 a middle blue (16 of 31 -> 132).
    BmpFields plain{.width = 3, .height = 1, .bpp = 16, .pixels = {0xFF, 0x7F, 0x00, 0x7C, 0x10, 0x00, 0, 0}};
    const TBitmap32 a = Decoded(MakeBmp(plain));
    EXPECT_EQ(a.Pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(a.Pixel(1, 0), 0xFFFF0000u);
    EXPECT_EQ(a.Pixel(2, 0), 0xFF000084u);

    // 5-6-5 through colour masks: green 0x07E0 full, and 32 of 63 -> 130.
    BmpFields masked{.width = 2,
                     .height = 1,
                     .bpp = 16,
                     .compression = 3,
                     .masks = {0xF800, 0x07E0, 0x001F},
                     .pixels = {0xE0, 0x07, 0x00, 0x04}};
    const TBitmap32 b = Decoded(MakeBmp(masked));
    EXPECT_EQ(b.Pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(b.Pixel(1, 0), 0xFF008200u);

    // 1-5-5-5 with an alpha mask: the top bit is alpha.
    BmpFields alpha{.width = 2,
                    .height = 1,
                    .bpp = 16,
                    .compression = 6,
                    .masks = {0x7C00, 0x03E0, 0x001F, 0x8000},
                    .pixels = {0x1F, 0x00, 0x1F, 0x80}};
    const TBitmap32 c = Decoded(MakeBmp(alpha));
    EXPECT_EQ(c.Pixel(0, 0), 0x000000FFu);
    EXPECT_EQ(c.Pixel(1, 0), 0xFF0000FFu);
}

TEST(BmpCodec, PlainThirtyTwoBitAlphaIsOpaqueOnlyWhenEveryAlphaByteIsZero) {
    BmpFields zero{.width = 2, .height = 1, .bpp = 32, .pixels = {1, 2, 3, 0, 4, 5, 6, 0}};
    const TBitmap32 a = Decoded(MakeBmp(zero));
    EXPECT_EQ(a.Pixel(0, 0), 0xFF030201u);
    EXPECT_EQ(a.Pixel(1, 0), 0xFF060504u);

    BmpFields some{.width = 2, .height = 1, .bpp = 32, .pixels = {1, 2, 3, 0, 4, 5, 6, 128}};
    const TBitmap32 b = Decoded(MakeBmp(some));
    EXPECT_EQ(b.Pixel(0, 0), 0x00030201u);
    EXPECT_EQ(b.Pixel(1, 0), 0x80060504u);

    // Colour masks without an alpha mask: the fourth byte means nothing.
    BmpFields noAlphaMask{.width = 1,
                          .height = 1,
                          .bpp = 32,
                          .compression = 3,
                          .masks = {0x00FF0000, 0x0000FF00, 0x000000FF},
                          .pixels = {1, 2, 3, 77}};
    EXPECT_EQ(Decoded(MakeBmp(noAlphaMask)).Pixel(0, 0), 0xFF030201u);

    // Masks in another order: R in the low byte, alpha in the high one.
    BmpFields swapped{.width = 1,
                      .height = 1,
                      .bpp = 32,
                      .compression = 6,
                      .masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000},
                      .pixels = {1, 2, 3, 0}};
    EXPECT_EQ(Decoded(MakeBmp(swapped)).Pixel(0, 0), 0x00010203u);
}

TEST(BmpCodec, TopDownFilesStoreTheTopRowFirst) {
    BmpFields s{.width = 1, .height = -2, .bpp = 24, .pixels = {0, 0, 255, 0, 0, 255, 0, 0}};
    const TBitmap32 a = Decoded(MakeBmp(s));
    ASSERT_EQ(a.Height(), 2);
    EXPECT_EQ(a.Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(a.Pixel(0, 1), 0xFF00FF00u);
}

TEST(BmpCodec, OldCoreHeaderAndPackedBitmapsAreRead) {
    // 12-byte header, 3-byte colour table entries, 2 x 1 at 8 bits.
    Bytes core{'B', 'M'};
    PutU32(core, 0);
    PutU32(core, 0);
    PutU32(core, 14 + 12 + 2 * 3);
    PutU32(core, 12);
    PutU16(core, 2);
    PutU16(core, 1);
    PutU16(core, 1);
    PutU16(core, 8);
    core.insert(core.end(), {0, 0, 255, 255, 0, 0}); // red, blue
    core.insert(core.end(), {1, 0, 0, 0});
    const TBitmap32 a = Decoded(core);
    EXPECT_EQ(a.Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(a.Pixel(1, 0), 0xFFFF0000u);

    // The clipboard's packed form: the same as a file without its first 14 bytes.
    const Bytes file = EncodeBmp32(Sample3x2());
    TBitmap32 out;
    std::string error;
    ASSERT_TRUE(DecodeDib(std::span(file).subspan(14), out, error)) << error;
    EXPECT_EQ(out, Sample3x2());

    // A packed 24-bit bitmap may list colours before its pixels; they are stepped over.
    Bytes listed = MakeBmp({.colorsUsed = 2, .palette = Bytes(8, 0xEE), .pixels = {1, 2, 3, 0}});
    ASSERT_TRUE(DecodeDib(std::span(listed).subspan(14), out, error)) << error;
    EXPECT_EQ(out.Pixel(0, 0), 0xFF030201u);
    listed[14 + 32] = 0xFF; // more listed colours than the data holds
    listed[14 + 35] = 0xFF;
    EXPECT_FALSE(DecodeDib(std::span(listed).subspan(14), out, error));
    EXPECT_NE(error.find("colour table"), std::string::npos);
}

TEST(BmpCodec, DamagedHeadersAreRefusedWithAReason) {
    EXPECT_EQ(Refusal({}), "Not a BMP file");
    EXPECT_EQ(Refusal({'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "Not a BMP file");
    Bytes justFileHeader = MakeBmp({});
    justFileHeader.resize(16);
    Refusal(justFileHeader);
    Bytes halfHeader = MakeBmp({});
    halfHeader.resize(30);
    Refusal(halfHeader);

    Bytes hugeHeader = MakeBmp({});
    hugeHeader[14] = hugeHeader[15] = hugeHeader[16] = hugeHeader[17] = 0xFF;
    EXPECT_NE(Refusal(hugeHeader).find("header"), std::string::npos);

    EXPECT_NE(Refusal(MakeBmp({.width = -1, .pixels = {0, 0, 0, 0}})).find("width"), std::string::npos);
    EXPECT_NE(Refusal(MakeBmp({.bpp = 2, .pixels = {0, 0, 0, 0}})).find("bit depth"), std::string::npos);
    EXPECT_NE(Refusal(MakeBmp({.bpp = 0})).find("bit depth"), std::string::npos);
    EXPECT_NE(Refusal(MakeBmp({.bpp = 64, .pixels = Bytes(8)})).find("bit depth"), std::string::npos);
    EXPECT_NE(Refusal(MakeBmp({.bpp = 8, .compression = 1, .palette = kBlackWhiteRed, .pixels = {0, 0}}))
                  .find("Run-length"),
              std::string::npos);
    EXPECT_NE(Refusal(MakeBmp({.bpp = 24, .compression = 4})).find("compression"), std::string::npos);
    EXPECT_NE(
        Refusal(MakeBmp({.bpp = 24, .compression = 3, .masks = {1, 2, 4}, .pixels = Bytes(4)})).find("masks"),
        std::string::npos);
}

TEST(BmpCodec, ColourMasksMustBeOneRunOfBitsInsideThePixel) {
    const auto masked = [](std::uint16_t bpp, std::vector<std::uint32_t> masks) {
        return MakeBmp({.bpp = bpp, .compression = 3, .masks = std::move(masks), .pixels = Bytes(4)});
    };
    EXPECT_NE(Refusal(masked(16, {0xF00F, 0x0F00, 0x00F0})).find("masks"), std::string::npos);
    EXPECT_NE(Refusal(masked(16, {0x1F0000, 0x07E0, 0x001F})).find("masks"), std::string::npos);
    // Masks missing at the end of the data.
    Bytes cut = masked(32, {0xFF0000, 0xFF00, 0xFF});
    cut.resize(14 + 40 + 8);
    EXPECT_NE(Refusal(cut).find("truncated"), std::string::npos);
    // A colour absent from the masks reads as 0.
    const Bytes noRed =
        MakeBmp({.bpp = 32, .compression = 3, .masks = {0, 0xFF00, 0xFF}, .pixels = {1, 2, 3, 4}});
    EXPECT_EQ(Decoded(noRed).Pixel(0, 0), 0xFF000201u);
}

TEST(BmpCodec, SizesAreCheckedAgainstTheLimitsAndTheData) {
    // Huge sides and areas are refused before anything is allocated.
    EXPECT_NE(Refusal(MakeBmp({.width = 70000, .height = 1})).find("too large"), std::string::npos);
    EXPECT_NE(Refusal(MakeBmp({.width = 1, .height = -70000})).find("too large"), std::string::npos);
    EXPECT_NE(Refusal(MakeBmp({.width = 60000, .height = 60000})).find("too large"), std::string::npos);
    EXPECT_NE(Refusal(MakeBmp({.width = 1, .height = INT32_MIN})).find("too large"), std::string::npos);
    EXPECT_NE(Refusal(MakeBmp({.width = INT32_MAX, .height = 1})).find("too large"), std::string::npos);
    // A valid size with less pixel data than it needs.
    EXPECT_NE(Refusal(MakeBmp({.width = 2, .height = 2, .pixels = Bytes(15)})).find("truncated"),
              std::string::npos);
    EXPECT_NE(Refusal(MakeBmp({.width = 16000,
                               .height = 16000,
                               .bpp = 1,
                               .colorsUsed = 2,
                               .palette = Bytes(8),
                               .pixels = Bytes(100)}))
                  .find("truncated"),
              std::string::npos);
}

TEST(BmpCodec, ColourTableAndPixelOffsetAreCheckedAgainstTheData) {
    // A count of colours far beyond the depth is held to the depth's 16 entries, and the
    // offset leaves room for them, but the file ends before them.
    Bytes hugeCount = MakeBmp({.bpp = 4, .colorsUsed = 0xFFFFFFFF, .palette = Bytes(8), .pixels = Bytes(4)});
    hugeCount[10] = 14 + 40 + 64;
    EXPECT_NE(Refusal(hugeCount).find("truncated"), std::string::npos);

    // An offset pointing back into the header.
    Bytes back = MakeBmp({.pixels = Bytes(4)});
    back[10] = 20;
    EXPECT_NE(Refusal(back).find("offset"), std::string::npos);

    // An offset past the end.
    Bytes past = MakeBmp({.pixels = Bytes(4)});
    past[13] = 0x7F;
    EXPECT_NE(Refusal(past).find("truncated"), std::string::npos);

    // A file whose pixels leave no room for any colour.
    Bytes noTable = MakeBmp({.bpp = 8, .pixels = Bytes(4)});
    EXPECT_NE(Refusal(noTable).find("colour table"), std::string::npos);

    // An offset that leaves room for only two of 256 colours keeps those two.
    const Bytes shortTable = MakeBmp({.bpp = 8,
                                      .palette = Bytes(kBlackWhiteRed.begin(), kBlackWhiteRed.begin() + 8),
                                      .pixels = {1, 0, 0, 0}});
    EXPECT_EQ(Decoded(shortTable).Pixel(0, 0), 0xFFFFFFFFu);
}

TEST(BmpCodec, EveryCutOrScrambledFileIsReadSafely) {
    // Under the sanitizers any read past the data fails this test.
    std::vector<Bytes> files = {
        EncodeBmp24(Sample3x2()),
        EncodeBmp32(Sample3x2()),
        MakeBmp({.width = 10, .height = 2, .bpp = 1, .palette = Bytes(8), .pixels = Bytes(8)}),
        MakeBmp({.width = 3,
                 .height = -2,
                 .bpp = 4,
                 .colorsUsed = 3,
                 .palette = kBlackWhiteRed,
                 .pixels = Bytes(8)}),
        MakeBmp({.width = 2,
                 .height = 2,
                 .bpp = 16,
                 .compression = 3,
                 .masks = {0xF800, 0x07E0, 0x1F},
                 .pixels = Bytes(8)}),
    };
    std::mt19937 random(12345);
    for (const Bytes& whole : files) {
        for (std::size_t n = 0; n < whole.size(); ++n) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
            TBitmap32 out;
            std::string error;
            EXPECT_FALSE(DecodeBmp(cut, out, error)) << "cut at " << n;
            // A packed bitmap has no pixel offset of its own to check against: the data's
            // length bounds it.
            if (n > 14) {
                (void)DecodeDib(std::span(cut).subspan(14), out, error);
            }
        }
        for (int round = 0; round < 2000; ++round) {
            Bytes scrambled = whole;
            for (int k = 0; k < 3; ++k) {
                const auto at = std::uniform_int_distribution<std::size_t>(
                    0, std::min<std::size_t>(whole.size(), 80) - 1)(random);
                scrambled[at] = static_cast<std::uint8_t>(random());
            }
            TBitmap32 out;
            std::string error;
            if (DecodeBmp(scrambled, out, error)) {
                EXPECT_TRUE(TBitmap32::ValidSize(out.Width(), out.Height()));
            } else {
                EXPECT_FALSE(error.empty());
            }
        }
    }
}
