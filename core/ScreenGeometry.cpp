#include "core/ScreenGeometry.h"

#include <algorithm>
#include <cstring>

TRect VirtualDesktopRect(std::span<const TMonitor> monitors) {
    if (monitors.empty())
        return {};
    TRect r = monitors.front().Bounds;
    for (const TMonitor& m : monitors.subspan(1)) {
        r.Left = std::min(r.Left, m.Bounds.Left);
        r.Top = std::min(r.Top, m.Bounds.Top);
        r.Right = std::max(r.Right, m.Bounds.Right);
        r.Bottom = std::max(r.Bottom, m.Bounds.Bottom);
    }
    return r;
}

TPoint VirtualDesktopOrigin(std::span<const TMonitor> monitors) {
    // The primary monitor always starts at (0, 0), so the origin is never right of or
    // below it, whatever the list holds.
    TPoint origin;
    for (const TMonitor& m : monitors) {
        origin.X = std::min(origin.X, m.Bounds.Left);
        origin.Y = std::min(origin.Y, m.Bounds.Top);
    }
    return origin;
}

TRect PrimaryScreenRect(std::span<const TMonitor> monitors) {
    const auto primary =
        std::find_if(monitors.begin(), monitors.end(), [](const TMonitor& m) { return m.Primary; });
    if (primary != monitors.end())
        return primary->Bounds;
    return monitors.empty() ? TRect{} : monitors.front().Bounds;
}

TRect PrimaryScreenInDesktop(std::span<const TMonitor> monitors) {
    return ScreenToDesktop(PrimaryScreenRect(monitors), VirtualDesktopOrigin(monitors));
}

TRect WholeDesktopInDesktop(std::span<const TMonitor> monitors) {
    const TRect all = VirtualDesktopRect(monitors);
    return {0, 0, all.Width(), all.Height()};
}

std::optional<TAreaCopy> PlanAreaCopy(const TRect& area, TSize desktop) {
    if (area.IsEmpty() || !TBitmap32::ValidSize(area.Width(), area.Height()))
        return std::nullopt;
    TAreaCopy plan;
    plan.Size = {area.Width(), area.Height()};
    plan.Source = area.Intersect({0, 0, std::max(desktop.Width, 0), std::max(desktop.Height, 0)});
    if (plan.Source.IsEmpty()) {
        // Nothing of the area is on the desktop any more: an all-black picture.
        plan.Source = {};
        plan.FillBlack = true;
        return plan;
    }
    plan.Dest = {plan.Source.Left - area.Left, plan.Source.Top - area.Top};
    plan.FillBlack = plan.Source != area;
    return plan;
}

std::optional<TBitmap32> CopyDesktopArea(const TBitmap32& desktop, const TRect& area) {
    const auto plan = PlanAreaCopy(area, {desktop.Width(), desktop.Height()});
    if (!plan)
        return std::nullopt;
    TBitmap32 picture(plan->Size.Width, plan->Size.Height, Color32(0, 0, 0));
    const auto rowBytes = static_cast<std::size_t>(plan->Source.Width()) * sizeof(TColor32);
    for (int y = 0; y < plan->Source.Height(); ++y)
        std::memcpy(picture.ScanLine(plan->Dest.Y + y) + plan->Dest.X,
                    desktop.ScanLine(plan->Source.Top + y) + plan->Source.Left, rowBytes);
    // A grabbed desktop may carry any alpha; a captured picture is opaque.
    picture.ResetAlpha();
    return picture;
}
