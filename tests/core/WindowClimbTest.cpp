#include "core/WindowClimb.h"

#include <gtest/gtest.h>
#include <map>

namespace {
// A made-up set of windows: a dialog with a group box holding a button, an owned tool
// window over the dialog, and the picker's arrow and frame.
struct TFakeWindow {
    TWindowHandle Parent = 0;
    TWindowHandle Owner = 0;
    std::uint32_t Style = 0;
    std::optional<TRect> Rect;
};

class TFakeTree : public IWindowTree {
public:
    std::map<TWindowHandle, TFakeWindow> Windows;
    TWindowHandle ParentOf(TWindowHandle w) const override { return Find(w).Parent; }
    TWindowHandle OwnerOf(TWindowHandle w) const override { return Find(w).Owner; }
    std::uint32_t StyleOf(TWindowHandle w) const override { return Find(w).Style; }
    std::optional<TRect> WindowRectOf(TWindowHandle w) const override { return Find(w).Rect; }

private:
    const TFakeWindow& Find(TWindowHandle w) const {
        static const TFakeWindow gone;
        const auto it = Windows.find(w);
        return it == Windows.end() ? gone : it->second;
    }
};

constexpr TWindowHandle kDialog = 10, kGroup = 11, kButton = 12, kTool = 20, kPicker = 90, kFrame = 91;
constexpr TPickerWindows kOwn{kPicker, kFrame};

TFakeTree DialogTree() {
    TFakeTree t;
    t.Windows[kDialog] = {0, 0, 0, TRect{100, 100, 500, 400}};
    t.Windows[kGroup] = {kDialog, 0, kStyleChild, TRect{110, 130, 300, 300}};
    t.Windows[kButton] = {kGroup, 0, kStyleChild, TRect{120, 140, 200, 170}};
    t.Windows[kTool] = {0, kDialog, kStylePopup, TRect{450, 120, 600, 200}};
    t.Windows[kPicker] = {0, 0, kStylePopup, TRect{0, 0, 115, 38}};
    t.Windows[kFrame] = {0, 0, kStylePopup, TRect{120, 140, 200, 170}};
    return t;
}
} // namespace

TEST(WindowClimb, WindowModeClimbsFromAButtonToItsDialogControlModeKeepsTheButton) {
    const TFakeTree tree = DialogTree();
    const TPoint probe{150, 150};
    EXPECT_EQ(PickAtPoint(tree, kButton, probe, TCaptureMode::Window, 0, kOwn).Selected, kDialog);
    EXPECT_EQ(PickAtPoint(tree, kButton, probe, TCaptureMode::Icon, 0, kOwn).Selected, kDialog);
    const TPickStep control = PickAtPoint(tree, kButton, probe, TCaptureMode::Control, 0, kOwn);
    EXPECT_EQ(control.Selected, kButton);
    EXPECT_TRUE(control.Reframe);
    EXPECT_EQ(control.FrameBounds, (TRect{120, 140, 200, 170}));
}

TEST(WindowClimb, ClimbStopsAtAParentThatDoesNotHoldThePointOrHasNoSize) {
    TFakeTree tree = DialogTree();
    // The button pokes out below its group box: the climb stops at the button.
    tree.Windows[kButton].Rect = TRect{120, 280, 200, 320};
    EXPECT_EQ(ClimbToAncestor(tree, kButton, {150, 310}), kButton);
    // The very edge pixel of the group box still counts as inside it.
    EXPECT_EQ(ClimbToAncestor(tree, kButton, {150, 300}), kDialog);
    // A group box of no height ends the climb.
    tree.Windows[kGroup].Rect = TRect{110, 130, 300, 130};
    EXPECT_EQ(ClimbToAncestor(tree, kButton, {150, 130}), kButton);
    // A parent whose rectangle cannot be had ends it too.
    tree.Windows[kGroup].Rect.reset();
    EXPECT_EQ(ClimbToAncestor(tree, kButton, {150, 150}), kButton);
}

TEST(WindowClimb, ClimbGoesOnToTheOwnerOfAPopupButNotOfAPlainTopLevelWindow) {
    TFakeTree tree = DialogTree();
    // The tool window overlaps its owner dialog at (460, 150).
    EXPECT_EQ(ClimbToAncestor(tree, kTool, {460, 150}), kDialog);
    EXPECT_EQ(ClimbToAncestor(tree, kTool, {550, 150}), kTool); // outside the owner
    tree.Windows[kTool].Style = 0;
    EXPECT_EQ(ClimbToAncestor(tree, kTool, {460, 150}), kTool);
}

TEST(WindowClimb, ALoopInTheTreeEndsTheClimb) {
    TFakeTree tree;
    tree.Windows[1] = {2, 0, kStyleChild, TRect{0, 0, 100, 100}};
    tree.Windows[2] = {1, 0, kStyleChild, TRect{0, 0, 100, 100}};
    tree.Windows[3] = {3, 0, kStyleChild, TRect{0, 0, 100, 100}};
    const TWindowHandle reached = ClimbToAncestor(tree, 1, {5, 5});
    EXPECT_TRUE(reached == 1 || reached == 2);
    EXPECT_EQ(ClimbToAncestor(tree, 3, {5, 5}), 3u);
}

TEST(WindowClimb, TheSameWindowAgainIsNotReframedAndNoWindowFramesNothing) {
    const TFakeTree tree = DialogTree();
    const TPickStep same = PickAtPoint(tree, kButton, {150, 150}, TCaptureMode::Window, kDialog, kOwn);
    EXPECT_EQ(same.Selected, kDialog);
    EXPECT_FALSE(same.Reframe);
    const TPickStep none = PickAtPoint(tree, 0, {150, 150}, TCaptureMode::Control, kDialog, kOwn);
    EXPECT_EQ(none.Selected, 0u);
    EXPECT_FALSE(none.Reframe);
}

TEST(WindowClimb, ANewWindowWithoutARectangleIsPickedButNotFramed) {
    TFakeTree tree = DialogTree();
    tree.Windows[kButton].Rect.reset();
    const TPickStep step = PickAtPoint(tree, kButton, {150, 150}, TCaptureMode::Control, kDialog, kOwn);
    EXPECT_EQ(step.Selected, kButton);
    EXPECT_FALSE(step.Reframe);
}

TEST(WindowClimb, TheFrameRingAndTheArrowAreNeverPickedTheFramedWindowStays) {
    const TFakeTree tree = DialogTree();
    for (const TCaptureMode mode : {TCaptureMode::Control, TCaptureMode::Window, TCaptureMode::Icon}) {
        const TPickStep onRing = PickAtPoint(tree, kFrame, {121, 141}, mode, kButton, kOwn);
        EXPECT_EQ(onRing.Selected, kButton);
        EXPECT_FALSE(onRing.Reframe);
        const TPickStep onArrow = PickAtPoint(tree, kPicker, {5, 5}, mode, kButton, kOwn);
        EXPECT_EQ(onArrow.Selected, kButton);
        EXPECT_FALSE(onArrow.Reframe);
    }
    // Before anything was framed the ring picks nothing.
    EXPECT_EQ(PickAtPoint(tree, kFrame, {1, 1}, TCaptureMode::Control, 0, kOwn).Selected, 0u);
}

TEST(WindowClimb, ProbePointLiesJustBeyondTheArrowTip) {
    const TPoint cursor{400, 300};
    EXPECT_EQ(PickerOrigin(cursor), (TPoint{395, 291}));
    const TPoint probe = PickerProbe(cursor);
    EXPECT_EQ(probe, (TPoint{394, 290}));
    // One pixel left of and above the arrow's window: outside its outline's bounds.
    const TPoint origin = PickerOrigin(cursor);
    EXPECT_LT(probe.X, origin.X + kPickerArrow[1].X);
    EXPECT_LT(probe.Y, origin.Y + kPickerArrow[0].Y);
}

TEST(FrameRing, ColourPerCaptureMode) {
    EXPECT_EQ(FrameColor(TCaptureMode::Control), 0x00FF00); // lime
    EXPECT_EQ(FrameColor(TCaptureMode::Window), 0x0000FF);  // red
    EXPECT_EQ(FrameColor(TCaptureMode::Icon), 0x00FFFF);    // yellow
    EXPECT_EQ(FrameColor(TCaptureMode::Idle), 0x00FF00);
    EXPECT_EQ(Color32(FrameColor(TCaptureMode::Window)), 0xFFFF0000u);
}

TEST(FrameRing, RingIsTwoPixelsInsideTheWindowEdge) {
    const std::vector<TRect> ring = FrameRingRegion(10, 8);
    // Every pixel of a 10 x 8 window: in the ring exactly when within 2 of an edge.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            int covered = 0;
            for (const TRect& r : ring)
                covered += (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) ? 1 : 0;
            const bool edge = x < 2 || y < 2 || x >= 8 || y >= 6;
            EXPECT_EQ(covered, edge ? 1 : 0) << x << "," << y;
        }
}

TEST(FrameRing, SmallWindowsAreCoveredWholeAndEmptyOnesGetNoRing) {
    EXPECT_EQ(FrameRingRegion(4, 30), (std::vector<TRect>{{0, 0, 4, 30}}));
    EXPECT_EQ(FrameRingRegion(3, 3), (std::vector<TRect>{{0, 0, 3, 3}}));
    EXPECT_TRUE(FrameRingRegion(0, 30).empty());
    EXPECT_TRUE(FrameRingRegion(30, -1).empty());
    // 5 wide: a 1-pixel hole in the middle.
    EXPECT_EQ(FrameRingRegion(5, 5).size(), 4u);
}
