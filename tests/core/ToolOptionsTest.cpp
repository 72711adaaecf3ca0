#include "core/ToolOptions.h"

#include <gtest/gtest.h>

TEST(ToolOptions, EachToolShowsItsOptionBars) {
    // Text: Pen, Fill and Transparency; Double Circle: Pen, Arrow, Shadow; Move: none.
    EXPECT_EQ(OptionBarsFor(TToolCode::Text), (TOptionBars{true, true, false, false, false, true}));
    EXPECT_EQ(OptionBarsFor(TToolCode::DoubleCircle), (TOptionBars{true, false, true, true, false, false}));
    EXPECT_EQ(OptionBarsFor(TToolCode::Move), TOptionBars{});
    EXPECT_EQ(OptionBarsFor(TToolCode::Fill), TOptionBars{});
    EXPECT_EQ(OptionBarsFor(TToolCode::Stemp), (TOptionBars{false, false, false, false, true, true}));
    EXPECT_EQ(OptionBarsFor(TToolCode::Select), (TOptionBars{false, false, false, false, false, true}));
    EXPECT_EQ(OptionBarsFor(TToolCode::Erase), (TOptionBars{true, false, false, false, false, false}));
    EXPECT_EQ(OptionBarsFor(TToolCode::Circle), (TOptionBars{true, true, false, true, false, false}));
    EXPECT_EQ(OptionBarsFor(TToolCode::Line), (TOptionBars{true, false, false, true, false, false}));
}

TEST(ToolOptions, ButtonTagsMapToToolCodesBothWays) {
    EXPECT_EQ(ToolCodeFromTag(1), TToolCode::Move);
    EXPECT_EQ(ToolCodeFromTag(10), TToolCode::Dropper);
    EXPECT_EQ(ToolCodeFromTag(12), TToolCode::Fill);
    EXPECT_EQ(ToolCodeFromTag(21), TToolCode::Line);
    EXPECT_EQ(ToolCodeFromTag(36), TToolCode::DoubleRect);
    EXPECT_EQ(ToolCodeFromTag(41), TToolCode::Stemp);
    for (int tag : {0, 13, 20, 30, 37, 40, 42, -1})
        EXPECT_FALSE(ToolCodeFromTag(tag).has_value()) << tag;
    for (int c = 0; c < kToolCodeCount; ++c) {
        const auto code = static_cast<TToolCode>(c);
        EXPECT_EQ(ToolCodeFromTag(ToolButtonTag(code)), code) << c;
        // The arrow styles are tag minus 18.
        if (IsArrowTool(code)) {
            EXPECT_EQ(ToolButtonTag(code) - 18, c);
        }
    }
}

TEST(ToolOptions, RecentColoursIgnoreAPresentColourAndPushTheOldestOut) {
    THistoryColors colors{0, 0, 0, 0, 0};
    EXPECT_FALSE(AddHistoryColor(colors, 0)); // black is already there
    EXPECT_TRUE(AddHistoryColor(colors, 0x0000FF));
    EXPECT_EQ(colors, (THistoryColors{0x0000FF, 0, 0, 0, 0}));
    colors = {1, 2, 3, 4, 5};
    EXPECT_FALSE(AddHistoryColor(colors, 4)); // the order stays
    EXPECT_EQ(colors, (THistoryColors{1, 2, 3, 4, 5}));
    EXPECT_TRUE(AddHistoryColor(colors, 6));
    EXPECT_EQ(colors, (THistoryColors{6, 1, 2, 3, 4}));
}

TEST(ToolOptions, HistoryStripSwatchesAreTenPixelsWide) {
    EXPECT_EQ(HistorySwatchAt(0), 1);
    EXPECT_EQ(HistorySwatchAt(9), 1);
    EXPECT_EQ(HistorySwatchAt(10), 2);
    EXPECT_EQ(HistorySwatchAt(49), 5);
    EXPECT_EQ(HistorySwatchAt(50), 0);
    EXPECT_EQ(HistorySwatchAt(-1), 0);
}

TEST(ToolOptions, StoredColoursOutsideThePlainColourRangeFallBack) {
    EXPECT_EQ(StoredColor(0, 7), 0);
    EXPECT_EQ(StoredColor(16777215, 7), 16777215);
    EXPECT_EQ(StoredColor(16777216, 7), 7);
    EXPECT_EQ(StoredColor(-2147483633, 7), 7); // a system colour constant
}

TEST(ToolOptions, ZoomTextsAndScaleComparison) {
    EXPECT_EQ(ZoomStatusText(1000, L","), L"Zoom (1,000%)");
    EXPECT_EQ(ZoomStatusText(100, L","), L"Zoom (100%)");
    EXPECT_EQ(ZoomStatusText(25, L"."), L"Zoom (25%)");
    EXPECT_EQ(ZoomStatusText(1000, L"."), L"Zoom (1.000%)");
    EXPECT_EQ(ZoomLabelText(1000), L"1000%");
    EXPECT_FALSE(ZoomDiffersFromScale(100, 1.0));
    EXPECT_FALSE(ZoomDiffersFromScale(125, 1.2500001));
    EXPECT_TRUE(ZoomDiffersFromScale(150, 1.0));
    EXPECT_FALSE(ZoomDiffersFromScale(0, 0.004)); // 0.4 rounds to 0
}
