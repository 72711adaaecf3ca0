#include "core/RegionSelect.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

namespace {
constexpr TSize kPanel{209, 247};
// The primary monitor at (0, 0) and a second one left of it, 200 pixels lower.
const std::vector<TMonitor> kTwoMonitors{{{0, 0, 1280, 1024}, true}, {{-1024, 200, 0, 968}, false}};
const TPoint kTwoOrigin{-1024, 0};
const std::vector<TMonitor> kOneMonitor{{{0, 0, 1280, 1024}, true}};
} // namespace

TEST(RubberBand, TheRectangleIsNormalisedWhicheverWayTheDragGoes) {
    EXPECT_EQ(NormalizedRect({10, 20}, {110, 70}), (TRect{10, 20, 110, 70}));
    EXPECT_EQ(NormalizedRect({110, 70}, {10, 20}), (TRect{10, 20, 110, 70}));
    EXPECT_EQ(NormalizedRect({110, 20}, {10, 70}), (TRect{10, 20, 110, 70}));
    // A drag of one pixel each way is a 1 x 1 selection and is accepted.
    const TRect one = NormalizedRect({5, 5}, {6, 6});
    EXPECT_EQ(one.Width(), 1);
    EXPECT_TRUE(SelectionAccepted(one));
}

TEST(RubberBand, AClickOrALineOfNoWidthOrHeightIsNotAccepted) {
    EXPECT_FALSE(SelectionAccepted(NormalizedRect({5, 5}, {5, 5})));
    EXPECT_FALSE(SelectionAccepted(NormalizedRect({5, 5}, {50, 5})));
    EXPECT_FALSE(SelectionAccepted(NormalizedRect({5, 5}, {5, 50})));
    EXPECT_FALSE(SelectionAccepted(TRect{}));
}

TEST(FixedRectangle, CentredOnThePointerWithHalfSizesCutTowardZero) {
    EXPECT_EQ(CenteredRect({100, 100}, {320, 240}), (TRect{-60, -20, 260, 220}));
    EXPECT_EQ(CenteredRect({10, 10}, {5, 3}), (TRect{8, 9, 13, 12}));
    // Far out, the arithmetic saturates instead of overflowing.
    EXPECT_EQ(CenteredRect({INT_MAX, 0}, {10, 10}).Right, INT_MAX);
}

TEST(Magnifier, TheSourceIsTheHundredPixelSquareAroundTheCentre) {
    EXPECT_EQ(MagnifierSource({300, 200}), (TRect{250, 150, 350, 250}));
    EXPECT_EQ(MagnifierSource({0, 0}), (TRect{-50, -50, 50, 50}));
}

TEST(ZoomPanel, FirstPlacementIsTheTopLeftCornerOrBottomRightNearThatCorner) {
    const auto away = PlaceZoomPanel(kOneMonitor, {600, 500}, TZoomCorner::None, 0, kPanel, {0, 0});
    EXPECT_TRUE(away.Moved);
    EXPECT_EQ(away.Corner, TZoomCorner::TopLeft);
    EXPECT_EQ(away.Position, (TPoint{0, 0}));
    // Inside 209 + 50 by 247 + 50 from the top-left corner, edges included.
    const auto near = PlaceZoomPanel(kOneMonitor, {259, 297}, TZoomCorner::None, 0, kPanel, {0, 0});
    EXPECT_TRUE(near.Moved);
    EXPECT_EQ(near.Corner, TZoomCorner::BottomRight);
    EXPECT_EQ(near.Position, (TPoint{1280 - 209, 1024 - 247}));
}

TEST(ZoomPanel, ThePanelJumpsToTheOppositeCornerOnlyWhenThePointerComesNearIt) {
    // Standing top-left, the pointer elsewhere or near the far corner's opposite: no move.
    EXPECT_FALSE(PlaceZoomPanel(kOneMonitor, {600, 500}, TZoomCorner::TopLeft, 0, kPanel, {}).Moved);
    const auto flee = PlaceZoomPanel(kOneMonitor, {100, 100}, TZoomCorner::TopLeft, 0, kPanel, {});
    EXPECT_TRUE(flee.Moved);
    EXPECT_EQ(flee.Corner, TZoomCorner::BottomRight);
    // Standing bottom-right, the pointer still near the top-left: it stays.
    EXPECT_FALSE(PlaceZoomPanel(kOneMonitor, {100, 100}, TZoomCorner::BottomRight, 0, kPanel, {}).Moved);
    // The pointer comes to the bottom-right area (1280 - 259 = 1021): back to the top-left.
    const auto back =
        PlaceZoomPanel(kOneMonitor, {1021, 1024 - 297}, TZoomCorner::BottomRight, 0, kPanel, {});
    EXPECT_TRUE(back.Moved);
    EXPECT_EQ(back.Corner, TZoomCorner::TopLeft);
    EXPECT_EQ(back.Position, (TPoint{0, 0}));
    EXPECT_FALSE(PlaceZoomPanel(kOneMonitor, {1020, 900}, TZoomCorner::BottomRight, 0, kPanel, {}).Moved);
}

TEST(ZoomPanel, ThePanelFollowsThePointerToAnotherMonitorInOverlayCoordinates) {
    // The pointer on the left monitor, away from its corners: its top-left corner, which
    // is (0, 200) in the overlay whose origin is the screen point (-1024, 0).
    const auto left = PlaceZoomPanel(kTwoMonitors, {-500, 600}, TZoomCorner::TopLeft, 0, kPanel, kTwoOrigin);
    EXPECT_TRUE(left.Moved);
    EXPECT_EQ(left.Monitor, 1);
    EXPECT_EQ(left.Corner, TZoomCorner::TopLeft);
    EXPECT_EQ(left.Position, (TPoint{0, 200}));
    // Near that monitor's top-left corner: its bottom-right corner.
    const auto corner =
        PlaceZoomPanel(kTwoMonitors, {-1000, 210}, TZoomCorner::TopLeft, 0, kPanel, kTwoOrigin);
    EXPECT_EQ(corner.Monitor, 1);
    EXPECT_EQ(corner.Position, (TPoint{1024 - 209, 968 - 247}));
    // The shared edge x = 0 belongs to the first monitor in the list.
    EXPECT_EQ(MonitorAtPoint(kTwoMonitors, {0, 500}), 0);
}

TEST(ZoomPanel, APointerOnNoMonitorUsesTheNearestOne) {
    // Below the left monitor (it ends at 968) but beside the primary's bottom.
    EXPECT_EQ(MonitorAtPoint(kTwoMonitors, {-300, 1000}), 1);
    EXPECT_EQ(MonitorAtPoint(kTwoMonitors, {5000, 10}), 0);
    EXPECT_EQ(MonitorAtPoint({}, {0, 0}), -1);
    EXPECT_FALSE(PlaceZoomPanel({}, {0, 0}, TZoomCorner::None, 0, kPanel, {}).Moved);
}

TEST(OverlayLabels, NumbersCarryTheThousandsSeparator) {
    EXPECT_EQ(PositionText({12, 1024}, L","), L"Position : X=12 , Y=1,024");
    EXPECT_EQ(SelectionSizeText(-320, 1200, L","), L"Size : Width=320 , Height=1,200");
}

TEST(RectangleDialog, PresetsSetTheirSizeAndUserSelectOrUnknownIndexesSetNothing) {
    EXPECT_EQ(std::size(kRectPresetTexts), 10u);
    EXPECT_EQ(RectPreset(1), (TSize{320, 200}));
    EXPECT_EQ(RectPreset(4), (TSize{1024, 768}));
    EXPECT_EQ(RectPreset(9), (TSize{1600, 1200}));
    EXPECT_EQ(kRectPresetTexts[4], L"1024 x 768");
    EXPECT_FALSE(RectPreset(0));
    EXPECT_FALSE(RectPreset(10));
    EXPECT_FALSE(RectPreset(-1));
    EXPECT_EQ(ClampRectSide(0), 1);
    EXPECT_EQ(ClampRectSide(-7), 1);
    EXPECT_EQ(ClampRectSide(320), 320);
    EXPECT_EQ(ClampRectSide(int64_t{1} << 40), 5120);
}

TEST(Series, DelayAndCountAreBroughtIntoRangeAndNoCountStartsNoSeries) {
    EXPECT_EQ(ClampRepeatDelay(0), 1);
    EXPECT_EQ(ClampRepeatDelay(-5), 1);
    EXPECT_EQ(ClampRepeatDelay(3), 3);
    EXPECT_EQ(ClampRepeatDelay(600), 60);
    EXPECT_FALSE(RepeatPageCount(0));
    EXPECT_FALSE(RepeatPageCount(-3));
    EXPECT_EQ(RepeatPageCount(5), 5);
    EXPECT_EQ(RepeatPageCount(31), 30);
}

TEST(Series, APageIsDueEveryDelayTimesTenTicksAndTheLastPageFinishes) {
    TSeriesClock clock(1, 2);
    EXPECT_EQ(clock.TicksPerPage(), 10);
    for (int i = 1; i <= 9; ++i) {
        const auto t = clock.Tick();
        EXPECT_FALSE(t.TakePage) << i;
        EXPECT_EQ(t.Position, i);
    }
    const auto first = clock.Tick();
    EXPECT_TRUE(first.TakePage);
    EXPECT_FALSE(first.Finished);
    EXPECT_EQ(first.Position, 10); // the bar is full when the page is taken
    EXPECT_EQ(clock.PagesDone(), 1);
    EXPECT_EQ(clock.Ticks(), 0);
    for (int i = 1; i <= 9; ++i)
        EXPECT_FALSE(clock.Tick().TakePage);
    const auto second = clock.Tick();
    EXPECT_TRUE(second.TakePage);
    EXPECT_TRUE(second.Finished);
    // A finished clock takes no more pages.
    const auto after = clock.Tick();
    EXPECT_FALSE(after.TakePage);
    EXPECT_TRUE(after.Finished);
    EXPECT_EQ(clock.PagesDone(), 2);
}

TEST(Series, ADelayOfZeroOrANegativeCountNeverDividesByZeroOrRunsForever) {
    TSeriesClock zeroDelay(0, 1);
    EXPECT_EQ(zeroDelay.TicksPerPage(), 10);
    TSeriesClock negative(3, -4);
    EXPECT_EQ(negative.PageCount(), 0);
    EXPECT_TRUE(negative.Tick().Finished);
    EXPECT_EQ(PageLabelText(2, 5), L"2 / 5 Page");
    EXPECT_EQ(PageLabelText(0, 30), L"0 / 30 Page");
}
