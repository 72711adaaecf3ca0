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
