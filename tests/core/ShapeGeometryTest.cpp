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
