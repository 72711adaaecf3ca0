#include "core/Bitmap32Ops.h"

#include <climits>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A bitmap whose pixels are listed row by row.
TBitmap32 Pixels(int width, int height, std::initializer_list<TColor32> values) {
    TBitmap32 b(width, height);
    auto it = values.begin();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(x, y, *it++);
    return b;
}

// Small distinct pixels 1, 2, 3 ... row by row, so that moved pixels are easy to follow.
TBitmap32 Numbered(int width, int height) {
    TBitmap32 b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(x, y, static_cast<TColor32>(y * width + x + 1));
    return b;
}

constexpr TColor32 kWhite = 0xFFFFFFFFu;
constexpr TColor32 kBlack = 0xFF000000u;

} // namespace

TEST(Bitmap32Ops, BlendingWithMasterAlphaOverAnOpaqueImage) {
    const TBitmap32 src = Pixels(2, 2, {kBlack, 0x00000000u, 0x80000000u, 0xFFFF0000u});
    TBitmap32 full(2, 2, kWhite);
    Draw(full, 0, 0, src, TDrawMode::dmBlend, 255);
    // Opaque black covers, transparent leaves white, half black keeps 127 of the white.
    EXPECT_EQ(full, Pixels(2, 2, {kBlack, kWhite, 0xFF7F7F7Fu, 0xFFFF0000u}));

    TBitmap32 half(2, 2, kWhite);
    Draw(half, 0, 0, src, TDrawMode::dmBlend, 128);
    // The half black at master 128: weight 64, white keeps 191 of 255.
    EXPECT_EQ(half, Pixels(2, 2, {0xFF7F7F7Fu, kWhite, 0xFFBFBFBFu, 0xFFFF7F7Fu}));

    TBitmap32 none(2, 2, kWhite);
    Draw(none, 0, 0, src, TDrawMode::dmBlend, 0);
    EXPECT_EQ(none, TBitmap32(2, 2, kWhite));
}

TEST(Bitmap32Ops, OpaqueDrawCopiesAlphaAndClipsAtEveryEdge) {
    const TBitmap32 src = Pixels(2, 2, {0x01u, 0x02u, 0x03u, 0x40000004u});
    TBitmap32 dst(3, 3, kWhite);
    Draw(dst, -1, -1, src, TDrawMode::dmOpaque);
    EXPECT_EQ(dst.Pixel(0, 0), 0x40000004u);
    EXPECT_EQ(dst.Pixel(1, 0), kWhite);
    Draw(dst, 2, 2, src, TDrawMode::dmOpaque);
    EXPECT_EQ(dst.Pixel(2, 2), 0x01u);
    TBitmap32 untouched(3, 3, kWhite);
    Draw(untouched, INT_MAX, INT_MIN, src, TDrawMode::dmOpaque);
    Draw(untouched, 3, 0, src, TDrawMode::dmOpaque);
    EXPECT_EQ(untouched, TBitmap32(3, 3, kWhite));
    // Onto itself, one pixel right: every pixel takes its left neighbour's old value.
    TBitmap32 self = Pixels(3, 1, {1, 2, 3});
    Draw(self, 1, 0, self, TDrawMode::dmOpaque);
    EXPECT_EQ(self, Pixels(3, 1, {1, 1, 2}));
}

TEST(Bitmap32Ops, IntensityGreyAndAlphaFromIntensity) {
    EXPECT_EQ(Intensity(kWhite), 255);
    EXPECT_EQ(Intensity(0xFFFF0000u), 60); // 255 * 61 >> 8
    EXPECT_EQ(Intensity(0xFF00FF00u), 173);
    EXPECT_EQ(Intensity(0xFF0000FFu), 20);

    TBitmap32 grey = Pixels(2, 1, {0x80FF0000u, 0x00FFFFFFu});
    ColorToGrayscale(grey);
    EXPECT_EQ(grey, Pixels(2, 1, {0x803C3C3Cu, 0x00FFFFFFu}));

    TBitmap32 dst = Pixels(2, 1, {0xFF00FF00u, 0x00123456u});
    IntensityToAlpha(dst, Pixels(2, 1, {0xFF00FF00u, kWhite}));
    EXPECT_EQ(dst, Pixels(2, 1, {0xAD00FF00u, 0xFF123456u}));
    EXPECT_THROW(IntensityToAlpha(dst, TBitmap32(1, 1)), std::invalid_argument);
}

TEST(Bitmap32Ops, InvertTurnsAllChannelsInvertRgbKeepsAlphaAndTwiceRestores) {
    TBitmap32 all = Pixels(2, 1, {0xFF102030u, 0x00000000u});
    Invert(all);
    EXPECT_EQ(all, Pixels(2, 1, {0x00EFDFCFu, 0xFFFFFFFFu}));
    Invert(all);
    EXPECT_EQ(all, Pixels(2, 1, {0xFF102030u, 0x00000000u}));

    TBitmap32 rgb = Pixels(1, 1, {0x80102030u});
    InvertRGB(rgb);
    EXPECT_EQ(rgb.Pixel(0, 0), 0x80EFDFCFu);
}

TEST(Bitmap32Ops, MakeColorTransparentComparesOnlyTheColour) {
    TBitmap32 b = Pixels(3, 1, {kWhite, 0x80FFFFFFu, 0xFFFFFFFEu});
    MakeColorTransparent(b, kWhite);
    EXPECT_EQ(b, Pixels(3, 1, {0x00FFFFFFu, 0x00FFFFFFu, 0xFFFFFFFEu}));
}

TEST(Bitmap32Ops, LookupTablesMapColoursAndKeepOrTakeAlpha) {
    TLUT8 reverse{};
    for (int i = 0; i < 256; ++i)
        reverse[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i);
    const TBitmap32 src = Pixels(1, 1, {0xFF000080u});
    TBitmap32 sameSize(1, 1, 0x40000000u);
    ApplyLUT(sameSize, src, reverse, true);
    EXPECT_EQ(sameSize.Pixel(0, 0), 0x40FFFF7Fu);
    ApplyLUT(sameSize, src, reverse, false);
    EXPECT_EQ(sameSize.Pixel(0, 0), 0xFFFFFF7Fu);
    // A destination of another size takes the source's alpha, not the 0 of a fresh bitmap.
    TBitmap32 otherSize(3, 3);
    ApplyLUT(otherSize, src, reverse, true);
    EXPECT_EQ(otherSize, Pixels(1, 1, {0xFFFFFF7Fu}));
}

TEST(Bitmap32Ops, QuarterTurnsAndFlipsOfAThreeByTwoImage) {
    // A B C
    // D E F
    const TBitmap32 image = Numbered(3, 2);
    TBitmap32 b = image;
    Rotate90(b);
    EXPECT_EQ(b, Pixels(2, 3, {4, 1, 5, 2, 6, 3}));
    b = image;
    Rotate270(b);
    EXPECT_EQ(b, Pixels(2, 3, {3, 6, 2, 5, 1, 4}));
    b = image;
    FlipHorz(b);
    EXPECT_EQ(b, Pixels(3, 2, {3, 2, 1, 6, 5, 4}));
    b = image;
    FlipVert(b);
    EXPECT_EQ(b, Pixels(3, 2, {4, 5, 6, 1, 2, 3}));

    b = image;
    for (int i = 0; i < 4; ++i)
        Rotate270(b);
    EXPECT_EQ(b, image);
    Rotate90(b);
    Rotate270(b);
    EXPECT_EQ(b, image);

    TBitmap32 odd = Numbered(3, 3);
    FlipVert(odd);
    EXPECT_EQ(odd.Pixel(0, 1), 4u); // the middle row stays
    TBitmap32 empty;
    Rotate90(empty);
    FlipHorz(empty);
    EXPECT_TRUE(empty.Empty());
}

TEST(Bitmap32Ops, NearestNeighbourResizeTakesThePixelUnderEachCentre) {
    EXPECT_EQ(ResampleNearest(Pixels(2, 1, {1, 2}), 4, 1), Pixels(4, 1, {1, 1, 2, 2}));
    EXPECT_EQ(ResampleNearest(Pixels(4, 1, {1, 2, 3, 4}), 2, 1), Pixels(2, 1, {2, 4}));
    EXPECT_EQ(ResampleNearest(Numbered(3, 3), 1, 1), Pixels(1, 1, {5}));
    EXPECT_EQ(ResampleNearest(Pixels(1, 1, {0x80123456u}), 2, 2), TBitmap32(2, 2, 0x80123456u));
    const TBitmap32 tall = ResampleNearest(Numbered(2, 2), 1, 4);
    EXPECT_EQ(tall, Pixels(1, 4, {2, 2, 4, 4}));
}

TEST(Bitmap32Ops, ResizeRefusesSizesBelowOnePixelOrPastTheLimits) {
    const TBitmap32 image = Numbered(2, 2);
    EXPECT_THROW(ResampleNearest(image, 0, 5), std::length_error);
    EXPECT_THROW(ResampleNearest(image, 5, -1), std::length_error);
    EXPECT_THROW(ResampleNearest(image, 60000, 60000), std::length_error);
    EXPECT_THROW(ResizeCanvas(image, 0, 1, 1, 0), std::length_error);
    EXPECT_FALSE(ValidImageSize(0, 0));
    EXPECT_TRUE(ValidImageSize(1, 1));
    EXPECT_EQ(ResampleNearest(TBitmap32(), 2, 1), TBitmap32(2, 1));
}

TEST(Bitmap32Ops, CanvasOffsetsOfTheNineAnchors) {
    EXPECT_EQ(CanvasOffset(5, 3, 3, 4, 4), (TPoint{1, 1})); // half 4 - half 3
    EXPECT_EQ(CanvasOffset(5, 4, 4, 3, 3), (TPoint{-1, -1}));
    EXPECT_EQ(CanvasOffset(9, 100, 50, 120, 60), (TPoint{20, 10}));
    EXPECT_EQ(CanvasOffset(1, 100, 50, 120, 60), (TPoint{0, 0}));
    EXPECT_EQ(CanvasOffset(2, 3, 5, 4, 9), (TPoint{1, 0}));
    EXPECT_EQ(CanvasOffset(3, 3, 5, 4, 9), (TPoint{1, 0}));
    EXPECT_EQ(CanvasOffset(4, 3, 5, 4, 9), (TPoint{0, 2}));
    EXPECT_EQ(CanvasOffset(6, 3, 5, 4, 9), (TPoint{1, 2}));
    EXPECT_EQ(CanvasOffset(7, 3, 5, 4, 9), (TPoint{0, 4}));
    EXPECT_EQ(CanvasOffset(8, 3, 5, 5, 9), (TPoint{1, 4}));
    EXPECT_EQ(CanvasOffset(0, 3, 5, 5, 9), (TPoint{0, 0}));
}

TEST(Bitmap32Ops, CanvasResizeFillsAroundAndCutsOppositeTheAnchor) {
    constexpr TColor32 kFill = 0xFF0000FFu;
    EXPECT_EQ(ResizeCanvas(Numbered(2, 2), 3, 3, 9, kFill),
              Pixels(3, 3, {kFill, kFill, kFill, kFill, 1, 2, kFill, 3, 4}));
    // 4 x 4 to 3 x 3 at the centre: drawn at (-1, -1), the top row and left column lost.
    EXPECT_EQ(ResizeCanvas(Numbered(4, 4), 3, 3, 5, kFill), Pixels(3, 3, {6, 7, 8, 10, 11, 12, 14, 15, 16}));
    // In blend mode a transparent image pixel shows the fill.
    EXPECT_EQ(ResizeCanvas(Pixels(1, 1, {0x00FFFFFFu}), 1, 1, 1, kFill, TDrawMode::dmBlend),
              Pixels(1, 1, {kFill}));
}

TEST(Bitmap32Ops, CropTakesTheAreaAndFillsWhatLiesOutsideTheImage) {
    const TBitmap32 image = Numbered(3, 3);
    EXPECT_EQ(Crop(image, {1, 1, 3, 3}, 0), Pixels(2, 2, {5, 6, 8, 9}));
    EXPECT_EQ(Crop(image, {2, 2, 4, 4}, 0xEEu), Pixels(2, 2, {9, 0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(Crop(image, {-1, 0, 1, 1}, 0xEEu), Pixels(2, 1, {0xEE, 1}));
    EXPECT_TRUE(Crop(image, {2, 2, 2, 5}, 0).Empty());
    EXPECT_EQ(Crop(image, {INT_MIN, INT_MIN, INT_MIN + 2, INT_MIN + 1}, 7), TBitmap32(2, 1, 7));
    EXPECT_EQ(Crop(image, {INT_MAX - 2, 0, INT_MAX, 1}, 7), TBitmap32(2, 1, 7));
    EXPECT_THROW(Crop(image, {0, 0, 70000, 1}, 0), std::length_error);
}

TEST(Bitmap32Ops, FloodFillIsFourConnectedAndMatchesTheColourExactly) {
    constexpr TColor32 kW = kWhite;
    constexpr TColor32 kK = kBlack;
    // The white corner at (4, 0) touches the main region only diagonally.
    TBitmap32 b = Pixels(5, 3,
                         {kW, kW, kW, kK, kW, //
                          kW, kK, kW, kW, kK, //
                          kW, kK, 0xFFFFFFFEu, kK, kW});
    EXPECT_EQ(FloodFill(b, 0, 0, 0xFF00FF00u), 7);
    constexpr TColor32 kG = 0xFF00FF00u;
    EXPECT_EQ(b, Pixels(5, 3,
                        {kG, kG, kG, kK, kW, //
                         kG, kK, kG, kG, kK, //
                         kG, kK, 0xFFFFFFFEu, kK, kW}));
    EXPECT_EQ(FloodFill(b, -1, 0, kG), 0);
    EXPECT_EQ(FloodFill(b, 5, 0, kG), 0);
}

TEST(Bitmap32Ops, FloodFillWithTheRegionsOwnColourEndsAndIgnoresAlpha) {
    // Half-transparent and opaque white are one region; filling with white runs over it
    // and stops, giving every pixel the fill colour.
    TBitmap32 b = Pixels(3, 1, {0x80FFFFFFu, kWhite, kBlack});
    EXPECT_EQ(FloodFill(b, 1, 0, kWhite), 2);
    EXPECT_EQ(b, Pixels(3, 1, {kWhite, kWhite, kBlack}));
    EXPECT_EQ(FloodFill(b, 0, 0, kWhite), 2);
}

TEST(Bitmap32Ops, FloodFillOfHugeAndWindingRegionsNeedsNoDeepStack) {
    TBitmap32 plain(4000, 4000, kWhite);
    EXPECT_EQ(FloodFill(plain, 2000, 2000, kBlack), std::int64_t{4000} * 4000);
    EXPECT_EQ(plain.Pixel(3999, 3999), kBlack);

    // A serpentine: walls in every odd column, open alternately at the bottom and the top,
    // so the one path winds through the whole image.
    constexpr int kSide = 1001;
    TBitmap32 maze(kSide, kSide, kWhite);
    for (int x = 1; x < kSide; x += 2)
        for (int y = 0; y < kSide; ++y)
            if (y != ((x / 2) % 2 == 0 ? kSide - 1 : 0))
                maze.SetPixel(x, y, kBlack);
    const std::int64_t open = std::int64_t{(kSide + 1) / 2} * kSide + kSide / 2;
    EXPECT_EQ(FloodFill(maze, 0, 0, 0xFF00FF00u), open);
    EXPECT_EQ(maze.Pixel(kSide - 1, kSide - 1), 0xFF00FF00u);
}
