#include "core/DockLayout.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

namespace {
// The band of a main window whose client area starts at x = 100, between its bars.
const TRect kBand{100, 150, 900, 700};
const TRect kPrimaryWork{0, 0, 1280, 994};
// A second monitor right of the primary, its top 200 pixels lower.
const std::vector<TRect> kTwoMonitors{kPrimaryWork, {1280, 200, 2560, 1224}};
} // namespace

TEST(DockRelease, DocksNearTheLeftClientEdgeBetweenTheBarsOrOverTheVisiblePanel) {
    const TRect hidden{};
    EXPECT_TRUE(ReleaseDocks({124, 400}, kBand, hidden));
    EXPECT_TRUE(ReleaseDocks({76, 400}, kBand, hidden)); // on the frame just outside
    EXPECT_FALSE(ReleaseDocks({125, 400}, kBand, hidden));
    EXPECT_FALSE(ReleaseDocks({75, 400}, kBand, hidden));
    EXPECT_FALSE(ReleaseDocks({110, 149}, kBand, hidden));   // over the tool bars
    EXPECT_FALSE(ReleaseDocks({110, 700}, kBand, hidden));   // over the status bar
    EXPECT_FALSE(ReleaseDocks({110, 400}, TRect{}, hidden)); // a hidden main window
    const TRect panel{100, 150, 290, 700};
    EXPECT_TRUE(ReleaseDocks({289, 699}, kBand, panel));
    EXPECT_FALSE(ReleaseDocks({290, 400}, kBand, panel)); // the splitter's first column
}

TEST(DockRelease, TheRightSideMirrorsTheLeftAtTheRightClientEdge) {
    const TRect hidden{};
    const auto right = TDockSide::Right;
    EXPECT_TRUE(ReleaseDocks({875, 400}, kBand, hidden, right));
    EXPECT_TRUE(ReleaseDocks({923, 400}, kBand, hidden, right)); // on the frame just outside
    EXPECT_FALSE(ReleaseDocks({874, 400}, kBand, hidden, right));
    EXPECT_FALSE(ReleaseDocks({924, 400}, kBand, hidden, right));
    EXPECT_FALSE(ReleaseDocks({890, 149}, kBand, hidden, right));
    EXPECT_FALSE(ReleaseDocks({110, 400}, kBand, hidden, right)); // the left edge is the other side
    EXPECT_FALSE(ReleaseDocks({890, 400}, kBand, hidden));        // and this edge not the left side
    const TRect panel{710, 150, 900, 700};
    EXPECT_TRUE(ReleaseDocks({710, 150}, kBand, panel, right));
    EXPECT_FALSE(ReleaseDocks({709, 400}, kBand, panel, right)); // the splitter's last column
}

TEST(DockSplitter, ADragKeepsThePanelAndTheDocumentAreaAtLeastTheMinimumWide) {
    // A site of 800 with a splitter of 4: the panel may be 200 to 596 wide.
    EXPECT_EQ(SplitterDragWidth(320, 190, 800, 4), 320);
    EXPECT_EQ(SplitterDragWidth(-50, 320, 800, 4), 200);
    EXPECT_EQ(SplitterDragWidth(INT_MAX, 320, 800, 4), 596);
    EXPECT_EQ(SplitterDragWidth(250, 190, 404, 4), 200); // exactly room for both
    // A site too narrow for both keeps the width as it is.
    EXPECT_EQ(SplitterDragWidth(300, 190, 403, 4), 190);
    EXPECT_EQ(SplitterDragWidth(300, 190, INT_MIN, 4), 190);
}

TEST(DockSplitter, OnTheRightSideTheSplitterLiesLeftOfThePanelAndTheSiteEndsAtItsRightEdge) {
    const TRect panel{706, 0, 900, 500};
    const TRect remainder{194, 0, 702, 500}; // the document area between the two sides
    EXPECT_EQ(SplitterRequestedWidth(TDockSide::Right, panel, 702, 4), 194);
    EXPECT_EQ(SplitterRequestedWidth(TDockSide::Right, panel, 602, 4), 294); // dragged left: wider
    EXPECT_EQ(SplitterSiteWidth(TDockSide::Right, panel, remainder), 706);
    const TRect left{0, 0, 190, 500};
    EXPECT_EQ(SplitterRequestedWidth(TDockSide::Left, left, 250, 4), 250);
    EXPECT_EQ(SplitterSiteWidth(TDockSide::Left, left, remainder), 702);
    // Coordinates from outside saturate instead of overflowing.
    EXPECT_EQ(SplitterRequestedWidth(TDockSide::Right, {0, 0, INT_MAX, 1}, INT_MIN, 4), INT_MAX);
}

TEST(FloatingPane, OnlyAPaneBeyondEveryMonitorMovesOntoTheNearestOne) {
    const TRect partly{1200, 900, 1400, 1500}; // a corner on the primary, a part on none
    EXPECT_EQ(BringOntoNearestArea(partly, kTwoMonitors), partly);
    // Far right of the second monitor: onto its right edge, at the same height.
    EXPECT_EQ(BringOntoNearestArea({3000, 400, 3200, 1000}, kTwoMonitors), (TRect{2360, 400, 2560, 1000}));
    // Below the primary (the second monitor lies further away): onto the primary.
    EXPECT_EQ(BringOntoNearestArea({100, 1100, 300, 1300}, kTwoMonitors), (TRect{100, 794, 300, 994}));
    // In the gap under the primary and left of the second monitor's lower part.
    EXPECT_EQ(BringOntoNearestArea({1000, 1100, 1200, 1200}, kTwoMonitors), (TRect{1280, 1100, 1480, 1200}));
    // Larger than the monitor: its top-left corner stays on it.
    EXPECT_EQ(BringOntoNearestArea({-3000, 2000, -1000, 4000}, {&kPrimaryWork, 1}),
              (TRect{0, 0, 2000, 2000}));
    // Without monitors, or with empty ones, it stays.
    const TRect pane{5000, 5000, 5200, 5600};
    EXPECT_EQ(BringOntoNearestArea(pane, {}), pane);
    const std::vector<TRect> empty{{0, 0, 0, 0}};
    EXPECT_EQ(BringOntoNearestArea(pane, empty), pane);
}
