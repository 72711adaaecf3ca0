#include "core/SideBarLayout.h"

#include <gtest/gtest.h>

namespace {
constexpr TColor kBlue = 0xFF0000; // 0x00BBGGRR
constexpr TColor kBlack = 0;

TEST(SideBarLayout, GradientRunsFromStartAtTheTopToEndAtTheBarHeight) {
    EXPECT_EQ(SideBarRowColor(kBlue, kBlack, 0, 100), kBlue);
    EXPECT_EQ(SideBarRowColor(kBlue, kBlack, 100, 100), kBlack);
    // 255 - 12750 / 100: the quotient -127.5 is cut toward zero.
    EXPECT_EQ(SideBarRowColor(kBlue, kBlack, 50, 100), 128 << 16);
    // Each channel on its own: red 10 -> 20, green 200 -> 100 over three rows.
    const TColor start = 10 | (200 << 8);
    const TColor end = 20 | (100 << 8);
    EXPECT_EQ(SideBarRowColor(start, end, 1, 3), 13 | (167 << 8));
    EXPECT_EQ(SideBarRowColor(start, end, 2, 3), 16 | (134 << 8));
}

TEST(SideBarLayout, GradientOfAnEmptyBarOrRowsPastItStaysInRange) {
    EXPECT_EQ(SideBarRowColor(kBlue, kBlack, 7, 0), kBlue);
    EXPECT_EQ(SideBarRowColor(kBlue, kBlack, 250, 100), kBlack);
    EXPECT_EQ(SideBarRowColor(kBlack, kBlue, 250, 100), kBlue);
    EXPECT_EQ(SideBarRowColor(kBlue | static_cast<TColor>(0x7F000000), kBlack, 0, 10), kBlue);
}

TEST(SideBarLayout, TextIsCentredInTheBarWithHalvesRoundedToEven) {
    EXPECT_EQ(SideBarTextX(31, 19), 5);  // 5.5 -> 6
    EXPECT_EQ(SideBarTextX(31, 21), 3);  // 4.5 -> 4
    EXPECT_EQ(SideBarTextX(31, 18), 5);  // 6.0
    EXPECT_EQ(SideBarTextX(31, 40), -6); // -5.0
}

TEST(SideBarLayout, TextStartsAtTheFootAboveABottomPicture) {
    EXPECT_EQ(SideBarTextY(200, -6, false, TBitmapVertAlignment::bvaBottom, 30), 194);
    EXPECT_EQ(SideBarTextY(200, -6, true, TBitmapVertAlignment::bvaBottom, 30), 164);
    EXPECT_EQ(SideBarTextY(200, -6, true, TBitmapVertAlignment::bvaTop, 30), 194);
}

TEST(SideBarLayout, PictureTakesItsAlignmentAndOffsets) {
    using H = TBitmapHorzAlignment;
    using V = TBitmapVertAlignment;
    auto at = SideBarBitmapPos(31, 200, 20, 30, H::bhaRight, V::bvaBottom, 1, 2);
    EXPECT_EQ(at.X, 10);
    EXPECT_EQ(at.Y, 172);
    at = SideBarBitmapPos(31, 200, 20, 30, H::bhaCenter, V::bvaMiddle, 1, 2);
    EXPECT_EQ(at.X, 5);
    EXPECT_EQ(at.Y, 87);
    at = SideBarBitmapPos(31, 200, 20, 30, H::bhaLeft, V::bvaTop, -3, 4);
    EXPECT_EQ(at.X, -3);
    EXPECT_EQ(at.Y, 4);
    // A picture taller than the bar: the halved difference is cut toward zero.
    at = SideBarBitmapPos(31, 200, 20, 205, H::bhaLeft, V::bvaMiddle, 0, 0);
    EXPECT_EQ(at.Y, -2);
}
} // namespace
