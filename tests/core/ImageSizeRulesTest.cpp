#include "core/ImageSizeRules.h"

#include <climits>
#include <gtest/gtest.h>

TEST(ImageSizeRules, LinkedSidesKeepTheProportionAndRoundHalvesToEven) {
    EXPECT_EQ(LinkedSide(50, 200, 75), 19);  // 18.75
    EXPECT_EQ(LinkedSide(100, 200, 75), 38); // 37.5 goes to the even 38
    EXPECT_EQ(LinkedSide(100, 200, 73), 36); // 36.5 goes to the even 36
    EXPECT_EQ(LinkedSide(75, 75, 200), 200);
    EXPECT_EQ(LinkedSide(0, 200, 75), 0);
}

TEST(ImageSizeRules, NoStartingSizeMeansNoProportionAndHugeSidesStayInRange) {
    EXPECT_FALSE(LinkedSide(50, 0, 75).has_value());
    EXPECT_FALSE(LinkedSide(50, -3, 75).has_value());
    EXPECT_EQ(LinkedSide(999999999, 1, 65535), INT_MAX);
    EXPECT_EQ(LinkedSide(-999999999, 1, 65535), INT_MIN);
}

TEST(ImageSizeRules, PercentagesDropTheRemainder) {
    EXPECT_EQ(PercentSide(50, 201), 100);
    EXPECT_EQ(PercentSide(50, 101), 50);
    EXPECT_EQ(PercentSide(1000, 1), 10);
    EXPECT_EQ(PercentSide(1, 99), 0);
    EXPECT_EQ(PercentSide(1000, INT_MAX), INT_MAX);
}
