#include "core/AlphaBlock.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// A block in its own heap allocation of exactly its size, so that the sanitizers see any
// read past its end.
struct TExactBlock {
    explicit TExactBlock(std::vector<std::uint8_t> bytes)
        : size(bytes.size()), data(std::make_unique<std::uint8_t[]>(bytes.size())) {
        std::copy(bytes.begin(), bytes.end(), data.get());
    }
    std::span<const std::uint8_t> Span() const { return {data.get(), size}; }
    std::size_t size;
    std::unique_ptr<std::uint8_t[]> data;
};

TBitmap32 TwoByOne() {
    TBitmap32 b(2, 1);
    b.SetPixel(0, 0, 0x80102030u);
    b.SetPixel(1, 0, 0xFF405060u);
    return b;
}

} // namespace

TEST(AlphaBlock, CopyWritesTheCountThenOneAlphaBytePerPixel) {
    EXPECT_EQ(EncodeAlphaBlock(TwoByOne()), (std::vector<std::uint8_t>{2, 0, 0, 0, 0x80, 0xFF}));
    // An empty picture's block is the count 0 alone.
    EXPECT_EQ(EncodeAlphaBlock(TBitmap32()), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    // Rows from the top, each from left to right; the count is little-endian.
    TBitmap32 b(2, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            b.SetPixel(x, y, Color32(1, 2, 3, static_cast<std::uint8_t>(10 * y + x)));
    EXPECT_EQ(EncodeAlphaBlock(b), (std::vector<std::uint8_t>{6, 0, 0, 0, 0, 1, 10, 11, 20, 21}));
    TBitmap32 wide(300, 1);
    const auto block = EncodeAlphaBlock(wide);
    EXPECT_EQ(block[0], 0x2C);
    EXPECT_EQ(block[1], 0x01);
}

TEST(AlphaBlock, WriteRefusesABufferTooSmallForThePicture) {
    std::vector<std::uint8_t> out(5, 0xAA);
    EXPECT_FALSE(WriteAlphaBlock(TwoByOne(), out));
    EXPECT_EQ(out, std::vector<std::uint8_t>(5, 0xAA));
    EXPECT_EQ(AlphaBlockSize(TwoByOne()), 6u);
}

TEST(AlphaBlock, PasteRestoresAlphaAndKeepsColours) {
    TBitmap32 opaque(2, 1, 0xFF000000u);
    opaque.SetPixel(0, 0, 0xFF102030u);
    opaque.SetPixel(1, 0, 0xFF405060u);
    const TExactBlock block({2, 0, 0, 0, 0x00, 0x80});
    ASSERT_TRUE(ApplyAlphaBlock(block.Span(), opaque));
    EXPECT_EQ(opaque.Pixel(0, 0), 0x00102030u);
    EXPECT_EQ(opaque.Pixel(1, 0), 0x80405060u);
    // A memory block rounded up past the count is still the same block.
    TBitmap32 again(2, 1, 0xFFFFFFFFu);
    const TExactBlock padded({2, 0, 0, 0, 0x11, 0x22, 0xEE, 0xEE});
    ASSERT_TRUE(ApplyAlphaBlock(padded.Span(), again));
    EXPECT_EQ(again.Pixel(1, 0), 0x22FFFFFFu);
    // The empty picture with its empty block.
    TBitmap32 empty;
    EXPECT_TRUE(ApplyAlphaBlock(TExactBlock({0, 0, 0, 0}).Span(), empty));
}

TEST(AlphaBlock, ShortHugeAndMismatchedBlocksAreRefusedWithoutTouchingThePicture) {
    const TBitmap32 original(2, 1, 0xFF123456u);
    TBitmap32 b = original;
    // Shorter than the count itself.
    EXPECT_FALSE(ApplyAlphaBlock(TExactBlock({2, 0, 0}).Span(), b));
    EXPECT_FALSE(ApplyAlphaBlock({}, b));
    // The right count, but fewer alpha bytes than it promises.
    EXPECT_FALSE(ApplyAlphaBlock(TExactBlock({2, 0, 0, 0, 0x10}).Span(), b));
    // A count far past anything the block holds.
    EXPECT_FALSE(ApplyAlphaBlock(TExactBlock({0xFF, 0xFF, 0xFF, 0xFF}).Span(), b));
    EXPECT_FALSE(ApplyAlphaBlock(TExactBlock({0xFF, 0xFF, 0xFF, 0xFF, 1, 2}).Span(), b));
    // A count that is not this picture's pixel count, with bytes enough for either.
    EXPECT_FALSE(ApplyAlphaBlock(TExactBlock({3, 0, 0, 0, 1, 2, 3}).Span(), b));
    EXPECT_FALSE(ApplyAlphaBlock(TExactBlock({1, 0, 0, 0, 1, 2, 3}).Span(), b));
    // Count 2 with a high byte set: 2 + 2^24 is not 2.
    EXPECT_FALSE(ApplyAlphaBlock(TExactBlock({2, 0, 0, 1, 1, 2}).Span(), b));
    EXPECT_EQ(b, original);
}
