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

TEST(ShapeGeometry, ArrowShadowsMoveExactlyOnePenWidthAndHoldTheirHeads) {
    for (int w = 1; w <= 50; ++w) {
        const int m = 2 * w + 10;
        const TShadowLayout arrow = ShadowLayout(14, {100, 40}, {20, 80}, w);
        EXPECT_EQ(arrow.Size, (TSize{80 + 2 * m, 40 + 2 * m})) << w;
        // The shaft's start, (100, 40), lands at Origin + From = (100 + w, 40 + w).
        EXPECT_EQ(arrow.Origin.X + arrow.From.X, 100 + w) << w;
        EXPECT_EQ(arrow.Origin.Y + arrow.From.Y, 40 + w) << w;
        EXPECT_EQ(arrow.Origin.X + arrow.To.X, 20 + w) << w;
        EXPECT_EQ(arrow.Origin.Y + arrow.To.Y, 80 + w) << w;
        // Every wing of both heads, with half the pen around it, lies inside the bitmap.
        const int t = ArrowAngle(arrow.From, arrow.To);
        TPoint wings[4];
        ArrowEndWings(arrow.To, t, w + 10, wings[0], wings[1]);
        ArrowStartWings(arrow.From, t, w + 10, wings[2], wings[3]);
        for (const TPoint& p : wings) {
            EXPECT_GE(p.X - w / 2, 0) << w;
            EXPECT_GE(p.Y - w / 2, 0) << w;
            EXPECT_LE(p.X + w / 2, arrow.Size.Width) << w;
            EXPECT_LE(p.Y + w / 2, arrow.Size.Height) << w;
        }
    }
    // A horizontal arrow, pen 1: 12 pixels of room above and below the shaft for the wings at +-5.
    const TShadowLayout flat = ShadowLayout(13, {0, 50}, {100, 50}, 1);
    EXPECT_EQ(flat.Size, (TSize{124, 24}));
    EXPECT_EQ(flat.From, (TPoint{12, 12}));
    EXPECT_EQ(flat.Origin, (TPoint{-11, 39}));
    EXPECT_EQ(ShadowLayout(13, {0, 0}, {0, 0}, 0).Size, (TSize{24, 24})); // a pen below 1 counts as 1
}

TEST(ShapeGeometry, CircleAndRectangleHeadBoxes) {
    EXPECT_EQ(HeadBox({50, 50}, 11), (TRect{46, 46, 55, 55}));  // pen 1: r 11, half 5
    EXPECT_EQ(HeadBox({0, 0}, 12), (TRect{-5, -5, 6, 6}));      // pen 2: r 12, half 6
    EXPECT_EQ(HeadBox({10, 20}, 60), (TRect{-19, -9, 40, 50})); // pen 50
}

TEST(ShapeGeometry, ImagePointsCutTowardZero) {
    const TViewMapping m{10, 20, 2};
    EXPECT_EQ(ToolImagePoint(m, 15, 25), (TPoint{2, 2}));
    EXPECT_EQ(ToolImagePoint(m, 9, 19), (TPoint{0, 0}));   // -0.5 just left of and above the image
    EXPECT_EQ(ToolImagePoint(m, 7, 17), (TPoint{-1, -1})); // -1.5
    EXPECT_EQ(ToolImagePoint(m, -30, -1), (TPoint{-20, -10}));
    const TViewMapping zoomedOut{0, 0, 0.25};
    EXPECT_EQ(ToolImagePoint(zoomedOut, 3, -3), (TPoint{12, -12}));
}

TEST(ShapeGeometry, DraggedRectanglesAreOrderedAndCutToTheImage) {
    EXPECT_EQ(DraggedRect({10, 10}, {5, 30}, 100, 100), (TRect{5, 10, 10, 30}));
    EXPECT_EQ(DraggedRect({-20, -20}, {10, 10}, 100, 100), (TRect{0, 0, 10, 10}));
    EXPECT_EQ(DraggedRect({90, 95}, {130, 140}, 100, 100), (TRect{90, 95, 100, 100}));
    // Wholly outside, or any drag over an empty image, leaves nothing.
    EXPECT_TRUE(DraggedRect({120, 10}, {150, 40}, 100, 100).IsEmpty());
    EXPECT_TRUE(DraggedRect({-50, -50}, {-10, -5}, 100, 100).IsEmpty());
    EXPECT_TRUE(DraggedRect({0, 0}, {10, 10}, 0, 0).IsEmpty());
}

TEST(ShapeGeometry, PreviewsRestoreTheirBoxGrownByTheMargin) {
    EXPECT_EQ(PreviewMargin(9, 5), 5);
    EXPECT_EQ(PreviewMargin(12, 5), 5);
    EXPECT_EQ(PreviewMargin(13, 5), 25);
    EXPECT_EQ(PreviewMargin(18, 1), 13);
    EXPECT_EQ(PreviewRect({50, 60}, {30, 40}, 5, 200, 200), (TRect{25, 35, 55, 65}));
    EXPECT_EQ(PreviewRect({5, 5}, {195, 190}, 25, 200, 200), (TRect{0, 0, 200, 200}));
    // A preview wholly beyond the image's right and bottom edges restores nothing.
    EXPECT_TRUE(PreviewRect({300, 300}, {400, 350}, 5, 200, 200).IsEmpty());
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
