#include "core/Bitmap32.h"

#include <gtest/gtest.h>

TEST(Bitmap32, ColourValuesConvertBetweenWindowsAndArgbOrder) {
    EXPECT_EQ(Color32(TColor{0x0000FF}), 0xFFFF0000u); // red in the low byte of a colour value
    EXPECT_EQ(Color32(TColor{16777215}), 0xFFFFFFFFu);
    EXPECT_EQ(WinColor(0x80112233u), TColor{0x332211});
}

TEST(Bitmap32, SizesOutsideTheLimitsAreRefusedAndAnEmptySideEmptiesTheBitmap) {
    TBitmap32 b;
    EXPECT_THROW(b.SetSize(-1, 5), std::length_error);
    EXPECT_THROW(b.SetSize(TBitmap32::kMaxSide + 1, 1), std::length_error);
    EXPECT_THROW(b.SetSize(60000, 60000), std::length_error);
    b.SetSize(0, 7);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Height(), 0);
}

TEST(Bitmap32, ResetAlphaKeepsTheColourChannels) {
    TBitmap32 b(2, 1, 0x00123456u);
    b.ResetAlpha();
    EXPECT_EQ(b.Pixel(1, 0), 0xFF123456u);
    EXPECT_EQ(b.PixelS(5, 5), 0u);
}
