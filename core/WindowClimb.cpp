#include "core/WindowClimb.h"

namespace {
// Far deeper than any real window nesting; it only stops a tree that changes into a loop
// while it is being climbed from spinning the picker's timer forever.
constexpr int kMaxClimb = 1024;

bool IsOwn(TWindowHandle window, TPickerWindows own) {
    return window != 0 && (window == own.Picker || window == own.Frame);
}
} // namespace

TWindowHandle ClimbParentOf(const IWindowTree& tree, TWindowHandle window) {
    const std::uint32_t style = tree.StyleOf(window);
    if (style & kStyleChild)
        return tree.ParentOf(window);
    if (style & kStylePopup)
        return tree.OwnerOf(window);
    return 0;
}

TWindowHandle ClimbToAncestor(const IWindowTree& tree, TWindowHandle start, TPoint probe) {
    TWindowHandle current = start;
    for (int step = 0; current != 0 && step < kMaxClimb; ++step) {
        const TWindowHandle parent = ClimbParentOf(tree, current);
        if (parent == 0 || parent == current)
            break;
        const auto rect = tree.WindowRectOf(parent);
        if (!rect || !PointInRectInclusive(*rect, probe) || rect->Width() == 0 || rect->Height() == 0)
            break;
        current = parent;
    }
    return current;
}

TPickStep PickAtPoint(const IWindowTree& tree, TWindowHandle underPoint, TPoint probe, TCaptureMode mode,
                      TWindowHandle lastFramed, TPickerWindows own) {
    TPickStep step;
    TWindowHandle selected = underPoint;
    if (selected != 0 && ClimbsToAncestor(mode))
        selected = ClimbToAncestor(tree, selected, probe);
    // Over the picker's own windows the pick stays where the frame is; this also keeps a
    // click on the ring from capturing the ring.
    if (IsOwn(underPoint, own) || IsOwn(selected, own)) {
        step.Selected = lastFramed;
        return step;
    }
    step.Selected = selected;
    if (selected == 0 || selected == lastFramed)
        return step;
    if (const auto rect = tree.WindowRectOf(selected)) {
        step.Reframe = true;
        step.FrameBounds = *rect;
    }
    return step;
}

std::vector<TRect> FrameRingRegion(int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    constexpr int t = kFrameRingWidth;
    if (width <= 2 * t || height <= 2 * t)
        return {{0, 0, width, height}};
    // Top and bottom bands across the whole width, the side bands between them.
    return {{0, 0, width, t},
            {0, height - t, width, height},
            {0, t, t, height - t},
            {width - t, t, width, height - t}};
}
