#include "core/RegionSelect.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

TRect NormalizedRect(TPoint anchor, TPoint corner) {
    return {std::min(anchor.X, corner.X), std::min(anchor.Y, corner.Y), std::max(anchor.X, corner.X),
            std::max(anchor.Y, corner.Y)};
}

TRect CenteredRect(TPoint center, TSize size) {
    // Saturating: a pointer far out and a large size must not overflow.
    const TRect atOrigin{0, 0, size.Width, size.Height};
    return atOrigin.Offset(center.X - size.Width / 2, center.Y - size.Height / 2);
}

TRect MagnifierSource(TPoint center) {
    constexpr int half = kMagnifierSpan / 2;
    return TRect{-half, -half, half, half}.Offset(center.X, center.Y);
}

int MonitorAtPoint(std::span<const TMonitor> monitors, TPoint screenPoint) {
    for (std::size_t i = 0; i < monitors.size(); ++i)
        if (PointInRectInclusive(monitors[i].Bounds, screenPoint))
            return static_cast<int>(i);
    // A pointer between monitors (an uneven layout): the nearest monitor by the distance
    // to its edges.
    int best = -1;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const TRect& b = monitors[i].Bounds;
        const std::int64_t dx = std::max<std::int64_t>(
            {std::int64_t{b.Left} - screenPoint.X, 0, std::int64_t{screenPoint.X} - b.Right});
        const std::int64_t dy = std::max<std::int64_t>(
            {std::int64_t{b.Top} - screenPoint.Y, 0, std::int64_t{screenPoint.Y} - b.Bottom});
        const std::int64_t distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

TZoomPlace PlaceZoomPanel(std::span<const TMonitor> monitors, TPoint screenPoint, TZoomCorner corner,
                          int monitor, TSize panel, TPoint origin) {
    const int m = MonitorAtPoint(monitors, screenPoint);
    if (m < 0)
        return {corner, monitor, {}, false};
    const TRect& bounds = monitors[static_cast<std::size_t>(m)].Bounds;
    const TRect nearTopLeft{bounds.Left, bounds.Top, bounds.Left + panel.Width + kZoomMargin,
                            bounds.Top + panel.Height + kZoomMargin};
    const TRect nearBottomRight{bounds.Right - panel.Width - kZoomMargin,
                                bounds.Bottom - panel.Height - kZoomMargin, bounds.Right, bounds.Bottom};
    // The zone is named after the corner the panel flees to: away from the top-left area
    // it goes bottom-right, and the other way round.
    TZoomCorner zone = TZoomCorner::None;
    if (PointInRectInclusive(nearTopLeft, screenPoint))
        zone = TZoomCorner::BottomRight;
    else if (PointInRectInclusive(nearBottomRight, screenPoint))
        zone = TZoomCorner::TopLeft;

    const TPoint topLeft{bounds.Left - origin.X, bounds.Top - origin.Y};
    const TPoint bottomRight{bounds.Right - panel.Width - origin.X, bounds.Bottom - panel.Height - origin.Y};
    if (zone == TZoomCorner::None) {
        // Away from both corners: only a first placement or a new monitor moves the panel.
        if (corner == TZoomCorner::None || m != monitor)
            return {TZoomCorner::TopLeft, m, topLeft, true};
        return {corner, monitor, {}, false};
    }
    if (zone == corner && m == monitor)
        return {corner, monitor, {}, false};
    return {zone, m, zone == TZoomCorner::BottomRight ? bottomRight : topLeft, true};
}

std::wstring PositionText(TPoint p, std::wstring_view separator) {
    return L"Position : X=" + FormatWholeNumber(p.X, separator) + L" , Y=" +
           FormatWholeNumber(p.Y, separator);
}

std::wstring SelectionSizeText(int width, int height, std::wstring_view separator) {
    return L"Size : Width=" + FormatWholeNumber(std::abs(std::int64_t{width}), separator) + L" , Height=" +
           FormatWholeNumber(std::abs(std::int64_t{height}), separator);
}

std::optional<TSize> RectPreset(int index) {
    static constexpr TSize kSizes[] = {{320, 200},  {640, 480},  {800, 600},   {1024, 768}, {1152, 864},
                                       {1280, 768}, {1280, 960}, {1280, 1024}, {1600, 1200}};
    if (index < 1 || index > static_cast<int>(std::size(kSizes)))
        return std::nullopt;
    return kSizes[index - 1];
}

int ClampRectSide(std::int64_t side) {
    return static_cast<int>(std::clamp<std::int64_t>(side, kRectSideMin, kRectSideMax));
}

int ClampRepeatDelay(std::int64_t seconds) {
    return static_cast<int>(std::clamp<std::int64_t>(seconds, kRepeatDelayMin, kRepeatDelayMax));
}

std::optional<int> RepeatPageCount(std::int64_t count) {
    if (count < kRepeatCountMin)
        return std::nullopt;
    return static_cast<int>(std::min<std::int64_t>(count, kRepeatCountMax));
}

TSeriesClock::TSeriesClock(int delaySeconds, int pageCount)
    : ticksPerPage_(ClampRepeatDelay(delaySeconds) * kRepeatTicksPerSecond),
      pageCount_(RepeatPageCount(pageCount).value_or(0)) {}

TSeriesClock::TTick TSeriesClock::Tick() {
    TTick tick;
    // A clock with nothing to take, or that took every page, stays finished.
    if (pagesDone_ >= pageCount_) {
        tick.Finished = true;
        return tick;
    }
    ++ticks_;
    tick.Position = ticks_;
    if (ticks_ < ticksPerPage_)
        return tick;
    ticks_ = 0;
    ++pagesDone_;
    tick.TakePage = true;
    tick.Finished = pagesDone_ >= pageCount_;
    return tick;
}

std::wstring PageLabelText(int pagesDone, int pageCount) {
    return std::to_wstring(pagesDone) + L" / " + std::to_wstring(pageCount) + L" Page";
}
