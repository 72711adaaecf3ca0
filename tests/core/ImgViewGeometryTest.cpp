#include "core/ImgViewGeometry.h"

#include <gtest/gtest.h>
#include <limits>

#include "core/ImgViewPaint.h"

TEST(ImgViewMapping, ViewPointsMapToImagePixelsAtWholeAndHalfScales) {
    // Scale 2, image scrolled 10 view pixels left and 4 down: view column 0 is image column 5.
    TViewMapping m{-10, 4, 2};
    EXPECT_EQ(m.ControlToBitmap({0, 4}), (TPoint{5, 0}));
    EXPECT_EQ(m.ControlToBitmap({1, 5}), (TPoint{5, 0}));
    EXPECT_EQ(m.ControlToBitmap({2, 6}), (TPoint{6, 1}));
    // Left of and above the image the pixel is negative, also just before its edge.
    EXPECT_EQ(m.ControlToBitmap({-11, 3}), (TPoint{-1, -1}));
    EXPECT_EQ(m.BitmapToControl({3, 2}), (TPoint{-4, 8}));

    TViewMapping half{5, 0, 0.5};
    EXPECT_EQ(half.ControlToBitmap({5, 0}), (TPoint{0, 0}));
    EXPECT_EQ(half.ControlToBitmap({6, 1}), (TPoint{2, 2}));
    EXPECT_EQ(half.BitmapToControl({3, 3}), (TPoint{6, 1}));
    // Every image pixel covers the view columns that map back to it.
    TViewMapping three{0, 0, 3};
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(three.ControlToBitmap({x, 0}).X, x / 3);
        EXPECT_EQ(three.BitmapToControl({x / 3, 0}).X, x / 3 * 3);
    }
}

TEST(ImgViewMapping, FloatRectanglesFollowScaleAndOffset) {
    TViewMapping m{-3, 7, 2};
    EXPECT_EQ(m.BitmapToControlRect(TFloatRect{1, 1, 4.5, 3}), (TFloatRect{-1, 9, 6, 13}));
}

TEST(ImgViewScroll, RangesAndOffsetsClampAndCentre) {
    // A 100-pixel image at scale 2 in an 80-pixel viewport scrolls 0 .. 120.
    TScrollAxis a{ScaledExtent(100, 2), 80};
    EXPECT_EQ(a.Max(), 120);
    EXPECT_EQ(a.Clamp(-5), 0);
    EXPECT_EQ(a.Clamp(500), 120);
    EXPECT_EQ(a.Offset(30, true), -30);
    // Smaller than the viewport: no range, centred only when asked for.
    TScrollAxis small{ScaledExtent(21, 0.5), 40};
    EXPECT_EQ(small.Content, 11);
    EXPECT_EQ(small.Max(), 0);
    EXPECT_EQ(small.Offset(7, false), 0);
    EXPECT_EQ(small.Offset(7, true), 14);
}

TEST(ImgViewScroll, ScalesOutsideTheRangeAreClamped) {
    EXPECT_DOUBLE_EQ(ClampViewScale(0), kMinViewScale);
    EXPECT_DOUBLE_EQ(ClampViewScale(-3), kMinViewScale);
    EXPECT_DOUBLE_EQ(ClampViewScale(1e9), kMaxViewScale);
    EXPECT_DOUBLE_EQ(ClampViewScale(std::numeric_limits<double>::quiet_NaN()), 1.0);
    EXPECT_EQ(ScaledExtent(65535, 1e9), 6553500);
}

TEST(RubberbandFrame, HandlesAndInsideAreHitWithCornersFirst) {
    using enum TRBDragState;
    const TRect r{10, 20, 51, 61}; // last column 50, last row 60, middles 30 and 40
    EXPECT_EQ(RubberbandHitTest(r, {10, 20}), dsSizeTL);
    EXPECT_EQ(RubberbandHitTest(r, {7, 17}), dsSizeTL);
    EXPECT_EQ(RubberbandHitTest(r, {6, 17}), dsNone);
    EXPECT_EQ(RubberbandHitTest(r, {30, 22}), dsSizeT);
    EXPECT_EQ(RubberbandHitTest(r, {53, 20}), dsSizeTR);
    EXPECT_EQ(RubberbandHitTest(r, {50, 40}), dsSizeR);
    EXPECT_EQ(RubberbandHitTest(r, {50, 60}), dsSizeBR);
    EXPECT_EQ(RubberbandHitTest(r, {30, 63}), dsSizeB);
    EXPECT_EQ(RubberbandHitTest(r, {10, 60}), dsSizeBL);
    EXPECT_EQ(RubberbandHitTest(r, {8, 40}), dsSizeL);
    EXPECT_EQ(RubberbandHitTest(r, {20, 30}), dsMove);
    EXPECT_EQ(RubberbandHitTest(r, {20, 62}), dsNone);
    // A tiny frame is all handles: the corner takes the press.
    EXPECT_EQ(RubberbandHitTest(TRect{0, 0, 2, 2}, {1, 1}), dsSizeTL);
}

TEST(RubberbandFrame, DragsMoveOrResizeAndStopAtTheMinimumSize) {
    using enum TRBDragState;
    const TFloatRect s{10, 10, 30, 20};
    EXPECT_EQ(RubberbandDrag(dsMove, s, 5, -3, 10, 10), (TFloatRect{15, 7, 35, 17}));
    EXPECT_EQ(RubberbandDrag(dsSizeBR, s, 4, 6, 1, 1), (TFloatRect{10, 10, 34, 26}));
    EXPECT_EQ(RubberbandDrag(dsSizeTL, s, -2, -3, 1, 1), (TFloatRect{8, 7, 30, 20}));
    // Dragging the left edge past the right one leaves the minimum width.
    EXPECT_EQ(RubberbandDrag(dsSizeL, s, 50, 9, 1, 1), (TFloatRect{29, 10, 30, 20}));
    EXPECT_EQ(RubberbandDrag(dsSizeT, s, 0, 40, 1, 4), (TFloatRect{10, 16, 30, 20}));
    EXPECT_EQ(RubberbandDrag(dsSizeR, s, -100, 0, 10, 10), (TFloatRect{10, 10, 20, 20}));
    EXPECT_EQ(RubberbandDrag(dsSizeB, s, 7, -100, 10, 10), (TFloatRect{10, 10, 30, 20}));
    EXPECT_EQ(RubberbandDrag(dsNone, s, 7, 7, 1, 1), s);
}

TEST(ImgViewPaint, CheckerboardStartsGreyAndAlternatesEveryEightPixels) {
    TBitmap32 b(20, 18);
    PaintCheckerboard(b);
    EXPECT_EQ(b.Pixel(0, 0), kCheckerGrey);
    EXPECT_EQ(b.Pixel(7, 7), kCheckerGrey);
    EXPECT_EQ(b.Pixel(8, 0), kCheckerWhite);
    EXPECT_EQ(b.Pixel(0, 8), kCheckerWhite);
    EXPECT_EQ(b.Pixel(8, 8), kCheckerGrey);
    EXPECT_EQ(b.Pixel(19, 17), kCheckerGrey);
    EXPECT_EQ(b.Pixel(16, 9), kCheckerWhite);
}

TEST(ImgViewPaint, BlendWeighsAlphaAndMasterAlpha) {
    const TColor32 bg = Color32(0, 0, 200);
    EXPECT_EQ(BlendPixel(Color32(100, 0, 0, 255), bg, 255), Color32(100, 0, 0, 255));
    EXPECT_EQ(BlendPixel(Color32(100, 0, 0, 0), bg, 255), bg);
    EXPECT_EQ(BlendPixel(Color32(100, 0, 0, 255), bg, 0), bg);
    // Half over opaque blue: (100*128 + 0*127)/255 = 50, (200*127)/255 = 100.
    EXPECT_EQ(BlendPixel(Color32(100, 0, 0, 255), bg, 128), Color32(50, 0, 100, 255));
    // Onto a fully transparent pixel the colour stays and the alpha is the coverage.
    EXPECT_EQ(BlendPixel(Color32(100, 40, 0, 255), 0, 128), Color32(100, 40, 0, 128));
}

TEST(ImgViewPaint, NearestNeighbourDrawPlacesPixelsByTheMapping) {
    TBitmap32 src(2, 2);
    src.SetPixel(0, 0, 0xFF000001);
    src.SetPixel(1, 0, 0xFF000002);
    src.SetPixel(0, 1, 0xFF000003);
    src.SetPixel(1, 1, 0x00000004); // transparent
    TBitmap32 dst(6, 6, 0xFFFFFFFF);
    DrawNearest(dst, src, 1, 1, 2, 2, TDrawMode::dmOpaque);
    EXPECT_EQ(dst.Pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(dst.Pixel(1, 1), 0xFF000001u);
    EXPECT_EQ(dst.Pixel(2, 2), 0xFF000001u);
    EXPECT_EQ(dst.Pixel(3, 1), 0xFF000002u);
    EXPECT_EQ(dst.Pixel(2, 3), 0xFF000003u);
    EXPECT_EQ(dst.Pixel(4, 4), 0x00000004u);
    EXPECT_EQ(dst.Pixel(5, 5), 0xFFFFFFFFu);
    // Blended, the transparent pixel leaves what was below; half scale skips every other one.
    TBitmap32 blended(6, 6, 0xFF0000FF);
    DrawNearest(blended, src, 1, 1, 2, 2, TDrawMode::dmBlend);
    EXPECT_EQ(blended.Pixel(4, 4), 0xFF0000FFu);
    TBitmap32 half(3, 3, 0);
    DrawNearest(half, src, -0.5, 0, 0.5, 0.5, TDrawMode::dmOpaque);
    EXPECT_EQ(half.Pixel(0, 0), 0xFF000002u);
    EXPECT_EQ(half.Pixel(1, 0), 0u);
    // Off the destination or at a zero scale nothing is drawn and nothing breaks.
    TBitmap32 untouched(4, 4, 7);
    DrawNearest(untouched, src, -100, 50, 1, 1, TDrawMode::dmOpaque);
    DrawNearest(untouched, src, 0, 0, 0, 1, TDrawMode::dmOpaque);
    EXPECT_EQ(untouched, TBitmap32(4, 4, 7));
}
