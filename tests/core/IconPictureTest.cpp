#include "core/IconPicture.h"

#include <gtest/gtest.h>

namespace {
constexpr TColor32 kWhite = 0xFFFFFFFF;

TIconImages Icon(int width, int height, TColor32 color, bool masked) {
    TIconImages icon;
    icon.Width = width;
    icon.Height = height;
    const auto count = static_cast<std::size_t>(width * height);
    icon.Color.assign(count, color);
    icon.Mask.assign(count, masked);
    return icon;
}

TEST(IconPicture, MaskedIconKeepsWhiteWhereTransparentAndItsColoursElsewhere) {
    TIconImages icon = Icon(32, 32, 0, true);
    // Two opaque pixels: red at (1, 0) and dark blue at (31, 31).
    icon.Color[1] = Color32(255, 0, 0, 0);
    icon.Mask[1] = false;
    icon.Color[32 * 32 - 1] = Color32(0, 0, 128, 0);
    icon.Mask[32 * 32 - 1] = false;
    // A masked pixel with colour inverts the white under it.
    icon.Color[2] = Color32(255, 0, 0, 0);

    const TBitmap32 picture = IconOnWhite(icon);
    ASSERT_EQ(picture.Width(), 32);
    ASSERT_EQ(picture.Height(), 32);
    EXPECT_EQ(picture.Pixel(0, 0), kWhite);
    EXPECT_EQ(picture.Pixel(1, 0), Color32(255, 0, 0));
    EXPECT_EQ(picture.Pixel(2, 0), Color32(0, 255, 255));
    EXPECT_EQ(picture.Pixel(31, 31), Color32(0, 0, 128));
}

TEST(IconPicture, AlphaIconBlendsOverWhite) {
    TIconImages icon = Icon(32, 32, 0, false); // fully transparent by its alpha
    icon.Color[0] = Color32(0, 0, 0, 255);
    icon.Color[1] = Color32(0, 0, 0, 128);  // 127 * 255 / 255 = 127
    icon.Color[2] = Color32(100, 0, 0, 51); // (5100 + 204 * 255) / 255 = 224 (223.99..)
    const TBitmap32 picture = IconOnWhite(icon);
    EXPECT_EQ(picture.Pixel(0, 0), Color32(0, 0, 0));
    EXPECT_EQ(picture.Pixel(1, 0), Color32(127, 127, 127));
    EXPECT_EQ(picture.Pixel(2, 0), Color32(224, 204, 204));
    EXPECT_EQ(picture.Pixel(5, 5), kWhite);
}

TEST(IconPicture, OtherSizesAreScaledToThirtyTwoByNearestPixels) {
    // A 16 x 16 icon: its pixel (1, 0) covers (2..3, 0..1) of the picture.
    TIconImages small = Icon(16, 16, 0, true);
    small.Color[1] = Color32(0, 255, 0, 0);
    small.Mask[1] = false;
    const TBitmap32 up = IconOnWhite(small);
    EXPECT_EQ(up.Pixel(1, 0), kWhite);
    EXPECT_EQ(up.Pixel(2, 0), Color32(0, 255, 0));
    EXPECT_EQ(up.Pixel(3, 1), Color32(0, 255, 0));
    EXPECT_EQ(up.Pixel(4, 0), kWhite);
    // A 48 x 48 icon: picture pixel (1, 1) reads icon pixel (1, 1).
    TIconImages big = Icon(48, 48, 0, true);
    big.Color[48 + 1] = Color32(9, 9, 9, 0);
    big.Mask[48 + 1] = false;
    EXPECT_EQ(IconOnWhite(big).Pixel(1, 1), Color32(9, 9, 9));
}

TEST(IconPicture, MalformedImagesGiveTheWhiteSquare) {
    TIconImages icon = Icon(32, 32, Color32(1, 2, 3, 0), false);
    icon.Mask.pop_back();
    EXPECT_EQ(IconOnWhite(icon).Pixel(0, 0), kWhite);
    EXPECT_EQ(IconOnWhite(TIconImages{}).Pixel(31, 31), kWhite);
    TIconImages negative;
    negative.Width = -2;
    negative.Height = -2;
    negative.Color.resize(4);
    negative.Mask.resize(4);
    EXPECT_EQ(IconOnWhite(negative).Width(), 32);
}
} // namespace
