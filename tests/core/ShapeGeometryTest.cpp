#include "core/ShapeGeometry.h"

#include <gtest/gtest.h>

namespace {
struct THead {
    TPoint wing1, wing2;
};
THead EndHead(TPoint s, TPoint e, int penWidth) {
    THead h;
    ArrowEndWings(e, ArrowAngle(s, e), penWidth + 10, h.wing1, h.wing2);
    return h;
}
} // namespace

TEST(ShapeGeometry, PointsOnAnEllipseRoundToTheNearestPixel) {
    EXPECT_EQ(PointAtAngle(10, 10, 5, 5, 0), (TPoint{15, 5}));
    EXPECT_EQ(PointAtAngle(10, 20, 0, 0, 90), (TPoint{0, 20}));    // clockwise on screen
    EXPECT_EQ(PointAtAngle(11, 11, 100, 0, 155), (TPoint{90, 5})); // -9.97 and 4.65
    EXPECT_EQ(PointAtAngle(5, 5, 0, 0, 180), (TPoint{-5, 0}));
}

TEST(ShapeGeometry, ShaftDirectionsFromTheDownwardAxis) {
    EXPECT_EQ(ArrowAngle({0, 0}, {100, 0}), 90);
    EXPECT_EQ(ArrowAngle({0, 0}, {0, 100}), 0);
    EXPECT_EQ(ArrowAngle({0, 0}, {-100, 0}), 270);
    EXPECT_EQ(ArrowAngle({0, 0}, {0, -100}), 180);
    EXPECT_EQ(ArrowAngle({0, 0}, {100, 100}), 45);
    EXPECT_EQ(ArrowAngle({7, 7}, {7, 7}), 0);
}

TEST(ShapeGeometry, ArrowHeadsPointOutwards) {
    THead h = EndHead({0, 0}, {100, 0}, 1);
    EXPECT_EQ(h.wing1, (TPoint{90, 5}));
    EXPECT_EQ(h.wing2, (TPoint{90, -5}));
    h = EndHead({0, 0}, {0, 100}, 1);
    EXPECT_EQ(h.wing1, (TPoint{-5, 90}));
    EXPECT_EQ(h.wing2, (TPoint{5, 90}));
    h = EndHead({0, 0}, {100, 100}, 5);
    EXPECT_EQ(h.wing1, (TPoint{86, 95}));
    EXPECT_EQ(h.wing2, (TPoint{95, 86}));

    TPoint s1, s2;
    ArrowStartWings({0, 0}, 90, 11, s1, s2);
    EXPECT_EQ(s1, (TPoint{10, 5}));
    EXPECT_EQ(s2, (TPoint{10, -5}));
}

TEST(ShapeGeometry, ShadowsOfBoxesAndLinesMoveByTwiceHalfThePen) {
    // Rectangle (10, 10)-(50, 30), pen 4: a 44 x 24 bitmap, box (2, 2)-(42, 22), put at (12, 12).
    const TShadowLayout box = ShadowLayout(9, {50, 30}, {10, 10}, 4);
    EXPECT_EQ(box.Size, (TSize{44, 24}));
    EXPECT_EQ(box.From, (TPoint{2, 2}));
    EXPECT_EQ(box.To, (TPoint{42, 22}));
    EXPECT_EQ(box.Origin, (TPoint{12, 12}));
    // Pen 1: the shadow starts at the shape's own corner and reaches one pixel further.
    const TShadowLayout thin = ShadowLayout(11, {10, 10}, {50, 30}, 1);
    EXPECT_EQ(thin.Origin, (TPoint{10, 10}));
    EXPECT_EQ(thin.To, (TPoint{41, 21}));
    // A line keeps its direction inside the bitmap: from bottom-left to top-right.
    const TShadowLayout line = ShadowLayout(12, {10, 30}, {50, 10}, 6);
    EXPECT_EQ(line.Size, (TSize{46, 26}));
    EXPECT_EQ(line.From, (TPoint{3, 23}));
    EXPECT_EQ(line.To, (TPoint{43, 3}));
    EXPECT_EQ(line.Origin, (TPoint{13, 13})); // the line moved 6 right and down
}

TEST(ShapeGeometry, ArrowShadowsMoveExactlyOnePenWidth) {
    for (int w = 1; w <= 50; ++w) {
        const TShadowLayout arrow = ShadowLayout(14, {100, 40}, {20, 80}, w);
        EXPECT_EQ(arrow.Size, (TSize{80 + 3 * w, 40 + 3 * w}));
        // The shaft's start, (100, 40), lands at Origin + From = (100 + w, 40 + w).
        EXPECT_EQ(arrow.Origin.X + arrow.From.X, 100 + w) << w;
        EXPECT_EQ(arrow.Origin.Y + arrow.From.Y, 40 + w) << w;
        EXPECT_EQ(arrow.Origin.X + arrow.To.X, 20 + w) << w;
    }
    EXPECT_EQ(ShadowLayout(13, {0, 0}, {0, 0}, 0).Size, (TSize{3, 3})); // a pen below 1 counts as 1
}

TEST(ShapeGeometry, TextLayerFramesAndTextRectangles) {
    // Line and fill, framed, pen 2: opaque, frame (1, 1)-(W, H), text inset by 5.
    TTextLayerLayout t = TextLayerLayout(1, true, 2, 100, 40);
    EXPECT_TRUE(t.Opaque);
    EXPECT_TRUE(t.Frame);
    EXPECT_EQ(t.FrameRect, (TRect{1, 1, 100, 40}));
    EXPECT_EQ(t.TextRect, (TRect{5, 5, 95, 35}));
    t = TextLayerLayout(0, true, 3, 100, 40);
    EXPECT_FALSE(t.Opaque);
    EXPECT_TRUE(t.Frame);
    EXPECT_EQ(t.FrameRect, (TRect{1, 1, 99, 39})); // an odd pen stays inside
    t = TextLayerLayout(2, true, 3, 100, 40);
    EXPECT_TRUE(t.Opaque);
    EXPECT_FALSE(t.Frame);
    EXPECT_EQ(t.TextRect, (TRect{0, 0, 100, 40}));
    for (const int style : {0, 1, 2}) {
        t = TextLayerLayout(style, false, 3, 100, 40);
        EXPECT_FALSE(t.Opaque);
        EXPECT_FALSE(t.Frame);
        EXPECT_EQ(t.TextRect, (TRect{0, 0, 100, 40}));
    }
}
