#include "core/ScreenGeometry.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

namespace {
const TRect kPrimary{0, 0, 1920, 1080};
// A second monitor left of the primary, its top 200 pixels lower.
const std::vector<TMonitor> kLeftLayout{{{-1280, 200, 0, 1224}, false}, {kPrimary, true}};
// A second monitor above the primary, shifted right.
const std::vector<TMonitor> kAboveLayout{{kPrimary, true}, {{300, -1024, 1580, 0}, false}};
} // namespace

TEST(Rect, SizesIntersectionAndOffset) {
    const TRect r{10, 20, 110, 70};
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_FALSE(r.IsEmpty());
    EXPECT_TRUE((TRect{5, 5, 5, 9}).IsEmpty());
    EXPECT_TRUE((TRect{9, 5, 5, 9}).IsEmpty()); // inverted
    EXPECT_EQ(r.Intersect({100, 0, 200, 30}), (TRect{100, 20, 110, 30}));
    EXPECT_EQ(r.Intersect({110, 0, 200, 30}), TRect{}); // touching edges share no pixel
    EXPECT_EQ(r.Offset(-20, 5), (TRect{-10, 25, 90, 75}));
}

TEST(Rect, ArithmeticOnExtremeRectanglesSaturatesInsteadOfOverflowing) {
    const TRect huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    EXPECT_EQ(huge.Width(), INT_MAX);
    EXPECT_EQ(huge.Offset(-10, 10), (TRect{INT_MIN, INT_MIN + 10, INT_MAX - 10, INT_MAX}));
}

TEST(Rect, InclusivePointTestCountsAllFourEdges) {
    const TRect r{10, 20, 30, 40};
    EXPECT_TRUE(PointInRectInclusive(r, {10, 20}));
    EXPECT_TRUE(PointInRectInclusive(r, {30, 40})); // right and bottom edge too
    EXPECT_FALSE(PointInRectInclusive(r, {31, 40}));
    EXPECT_FALSE(PointInRectInclusive(r, {10, 19}));
}

TEST(ScreenGeometry, SingleMonitorDesktopIsThePrimaryScreen) {
    const std::vector<TMonitor> one{{kPrimary, true}};
    EXPECT_EQ(VirtualDesktopRect(one), kPrimary);
    EXPECT_EQ(VirtualDesktopOrigin(one), (TPoint{0, 0}));
    EXPECT_EQ(PrimaryScreenInDesktop(one), kPrimary);
    EXPECT_EQ(WholeDesktopInDesktop(one), kPrimary);
}

TEST(ScreenGeometry, MonitorLeftOfThePrimaryMovesThePrimaryRight) {
    EXPECT_EQ(VirtualDesktopRect(kLeftLayout), (TRect{-1280, 0, 1920, 1224}));
    EXPECT_EQ(VirtualDesktopOrigin(kLeftLayout), (TPoint{-1280, 0}));
    EXPECT_EQ(PrimaryScreenRect(kLeftLayout), kPrimary);
    // The primary-screen capture records its place in the virtual desktop.
    EXPECT_EQ(PrimaryScreenInDesktop(kLeftLayout), (TRect{1280, 0, 3200, 1080}));
    EXPECT_EQ(WholeDesktopInDesktop(kLeftLayout), (TRect{0, 0, 3200, 1224}));
}

TEST(ScreenGeometry, MonitorAboveThePrimaryMovesThePrimaryDown) {
    EXPECT_EQ(VirtualDesktopOrigin(kAboveLayout), (TPoint{0, -1024}));
    EXPECT_EQ(PrimaryScreenInDesktop(kAboveLayout), (TRect{0, 1024, 1920, 2104}));
    EXPECT_EQ(WholeDesktopInDesktop(kAboveLayout), (TRect{0, 0, 1920, 2104}));
}

TEST(ScreenGeometry, NoMonitorOrNoPrimaryFlag) {
    EXPECT_EQ(VirtualDesktopRect({}), TRect{});
    EXPECT_EQ(PrimaryScreenInDesktop({}), TRect{});
    const std::vector<TMonitor> unflagged{{{0, 0, 800, 600}, false}, {{800, 0, 1600, 600}, false}};
    EXPECT_EQ(PrimaryScreenRect(unflagged), (TRect{0, 0, 800, 600}));
}

TEST(ScreenGeometry, WindowRectangleConvertsToDesktopCoordinatesWithANegativeOrigin) {
    const TPoint origin = VirtualDesktopOrigin(kLeftLayout);
    // A window on the left monitor.
    EXPECT_EQ(ScreenToDesktop(TRect{-1000, 100, -600, 400}, origin), (TRect{280, 100, 680, 400}));
    EXPECT_EQ(DesktopToScreen(TRect{280, 100, 680, 400}, origin), (TRect{-1000, 100, -600, 400}));
    EXPECT_EQ(ScreenToDesktop(TPoint{0, 0}, VirtualDesktopOrigin(kAboveLayout)), (TPoint{0, 1024}));
}

TEST(AreaCopy, AreaInsideTheDesktopIsCopiedWhole) {
    const auto plan = PlanAreaCopy({100, 50, 500, 350}, {1920, 1080});
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->Size, (TSize{400, 300}));
    EXPECT_EQ(plan->Source, (TRect{100, 50, 500, 350}));
    EXPECT_EQ(plan->Dest, (TPoint{0, 0}));
    EXPECT_FALSE(plan->FillBlack);
}

TEST(AreaCopy, AreaReachingPastTheDesktopKeepsItsSizeAndCopiesOnlyTheCoveredPart) {
    // Recorded on a wider layout, repeated after the left monitor went away.
    auto plan = PlanAreaCopy({1800, 1000, 2000, 1100}, {1920, 1080});
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->Size, (TSize{200, 100}));
    EXPECT_EQ(plan->Source, (TRect{1800, 1000, 1920, 1080}));
    EXPECT_EQ(plan->Dest, (TPoint{0, 0}));
    EXPECT_TRUE(plan->FillBlack);

    plan = PlanAreaCopy({-30, -10, 70, 40}, {1920, 1080});
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->Source, (TRect{0, 0, 70, 40}));
    EXPECT_EQ(plan->Dest, (TPoint{30, 10}));
}

TEST(AreaCopy, AreaWhollyOutsideOrEmptyOrTooLarge) {
    const auto outside = PlanAreaCopy({3000, 0, 3100, 50}, {1920, 1080});
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->Size, (TSize{100, 50}));
    EXPECT_TRUE(outside->Source.IsEmpty());
    EXPECT_TRUE(outside->FillBlack);
    EXPECT_FALSE(PlanAreaCopy({}, {1920, 1080})); // nothing recorded yet
    EXPECT_FALSE(PlanAreaCopy({10, 10, 10, 50}, {1920, 1080}));
    EXPECT_FALSE(PlanAreaCopy({0, 0, 70000, 10}, {1920, 1080}));
}

TEST(AreaCopy, CopiedPictureHoldsTheDesktopPixelsAndBlackOutside) {
    // A 4 x 3 desktop whose pixel (x, y) is coded 0x0000yx, alpha 0 as a grab leaves it.
    TBitmap32 desktop(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            desktop.SetPixel(x, y, static_cast<TColor32>(y * 16 + x));
    const auto picture = CopyDesktopArea(desktop, {2, -1, 5, 2});
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->Width(), 3);
    ASSERT_EQ(picture->Height(), 3);
    const TColor32 black = 0xFF000000u;
    // Row 0 lies above the desktop; column 2 right of it.
    EXPECT_EQ(picture->Pixel(0, 0), black);
    EXPECT_EQ(picture->Pixel(0, 1), 0xFF000002u);
    EXPECT_EQ(picture->Pixel(1, 1), 0xFF000003u);
    EXPECT_EQ(picture->Pixel(2, 1), black);
    EXPECT_EQ(picture->Pixel(0, 2), 0xFF000012u);
    EXPECT_EQ(picture->Pixel(1, 2), 0xFF000013u);
    EXPECT_FALSE(CopyDesktopArea(desktop, {}));
}
