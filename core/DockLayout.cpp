#include "core/DockLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {
// The gap between two ranges along one axis; 0 when they overlap.
std::int64_t Gap(int aFirst, int aEnd, int bFirst, int bEnd) {
    if (aEnd <= bFirst)
        return std::int64_t{bFirst} - aEnd;
    if (bEnd <= aFirst)
        return std::int64_t{aFirst} - bEnd;
    return 0;
}

// Moves [first, first + length) into [areaFirst, areaEnd); a range longer than the area
// starts at the area's start.
int FitRange(int first, int length, int areaFirst, int areaEnd) {
    const std::int64_t end = std::int64_t{first} + length;
    std::int64_t moved = first;
    if (end > areaEnd)
        moved = std::int64_t{areaEnd} - length;
    return static_cast<int>(std::max<std::int64_t>(moved, areaFirst));
}
} // namespace

bool ReleaseDocks(TPoint cursor, const TRect& dockBand, const TRect& dockPanel, TDockSide side) {
    if (!dockPanel.IsEmpty() && dockPanel.Left <= cursor.X && cursor.X < dockPanel.Right &&
        dockPanel.Top <= cursor.Y && cursor.Y < dockPanel.Bottom)
        return true;
    if (dockBand.IsEmpty() || cursor.Y < dockBand.Top || cursor.Y >= dockBand.Bottom)
        return false;
    const std::int64_t distance = side == TDockSide::Left ? std::int64_t{cursor.X} - dockBand.Left
                                                          : std::int64_t{dockBand.Right} - 1 - cursor.X;
    return -kDockSnapDistance <= distance && distance <= kDockSnapDistance;
}

int SplitterDragWidth(int requested, int current, int siteWidth, int splitterWidth, int minSize) {
    const std::int64_t widest = std::int64_t{siteWidth} - splitterWidth - minSize;
    if (widest < minSize)
        return current;
    return static_cast<int>(std::clamp<std::int64_t>(requested, minSize, widest));
}

int SplitterRequestedWidth(TDockSide side, const TRect& panel, int splitterLeft, int splitterWidth) {
    const std::int64_t width = side == TDockSide::Left
                                   ? std::int64_t{splitterLeft} - panel.Left
                                   : std::int64_t{panel.Right} - splitterLeft - splitterWidth;
    return geometry_detail::Saturate(width);
}

int SplitterSiteWidth(TDockSide side, const TRect& panel, const TRect& remainder) {
    const std::int64_t width = side == TDockSide::Left ? std::int64_t{remainder.Right} - panel.Left
                                                       : std::int64_t{panel.Right} - remainder.Left;
    return geometry_detail::Saturate(width);
}

TRect PaneRectAt(TPoint cursor, TPoint grab, TSize size) {
    const TRect origin{0, 0, size.Width, size.Height};
    return origin.Offset(cursor.X - grab.X, cursor.Y - grab.Y);
}

TRect BringOntoNearestArea(const TRect& pane, std::span<const TRect> workAreas) {
    const TRect* nearest = nullptr;
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (const TRect& area : workAreas) {
        if (area.IsEmpty())
            continue;
        if (!pane.Intersect(area).IsEmpty())
            return pane; // it shows on this monitor
        const std::int64_t dx = Gap(pane.Left, pane.Right, area.Left, area.Right);
        const std::int64_t dy = Gap(pane.Top, pane.Bottom, area.Top, area.Bottom);
        // Squares of gaps of screen coordinates stay far inside 64 bits.
        const std::int64_t distance = dx * dx + dy * dy;
        if (distance < best) {
            best = distance;
            nearest = &area;
        }
    }
    if (!nearest)
        return pane;
    const int left = FitRange(pane.Left, pane.Width(), nearest->Left, nearest->Right);
    const int top = FitRange(pane.Top, pane.Height(), nearest->Top, nearest->Bottom);
    return TRect{0, 0, pane.Width(), pane.Height()}.Offset(left, top);
}

int ClampScrollPosition(int position, int content, int view) {
    const int last = std::max(0, content - view);
    return std::clamp(position, 0, last);
}
