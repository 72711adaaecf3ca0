#pragma once
// Monitor geometry of the screen captures, as pure functions over a monitor list that the
// Windows side fills from the display enumeration.
//
// Two coordinate systems meet here:
//  - screen coordinates: (0, 0) is the primary monitor's top-left corner; monitors left of
//    or above it have negative coordinates;
//  - virtual-desktop coordinates: (0, 0) is the top-left pixel of the picture of all
//    monitors together. The last capture area ("Repeat Last Capture") and every area cut
//    from a desktop picture are in these coordinates.
#include <optional>
#include <span>

#include "core/Bitmap32.h"
#include "core/Geometry.h"

struct TMonitor {
    TRect Bounds; // screen coordinates
    bool Primary = false;
};

// The bounding rectangle of all monitors in screen coordinates: what the virtual-screen
// metrics report. (0, 0, 0, 0) for an empty list.
TRect VirtualDesktopRect(std::span<const TMonitor> monitors);

// The screen point shown at (0, 0) of a virtual-desktop picture: the smaller of 0 and the
// smallest Left (Top) of all monitors. Negative when a monitor lies left of (above) the
// primary one.
TPoint VirtualDesktopOrigin(std::span<const TMonitor> monitors);

// The primary monitor's bounds in screen coordinates; the first monitor's when none is
// flagged primary, (0, 0, 0, 0) for an empty list.
TRect PrimaryScreenRect(std::span<const TMonitor> monitors);

// Where the primary screen lies in the virtual desktop: the area a primary-screen capture
// records as its last capture area.
TRect PrimaryScreenInDesktop(std::span<const TMonitor> monitors);

// The whole virtual desktop in its own coordinates, (0, 0, width, height): the area an
// all-screens capture records.
TRect WholeDesktopInDesktop(std::span<const TMonitor> monitors);

// Conversions between screen and virtual-desktop coordinates, given the desktop's origin
// (VirtualDesktopOrigin, or the virtual-screen metrics' X and Y).
constexpr TPoint ScreenToDesktop(TPoint p, TPoint origin) {
    return {p.X - origin.X, p.Y - origin.Y};
}
constexpr TPoint DesktopToScreen(TPoint p, TPoint origin) {
    return {p.X + origin.X, p.Y + origin.Y};
}
constexpr TRect ScreenToDesktop(const TRect& r, TPoint origin) {
    return r.Offset(-origin.X, -origin.Y);
}
constexpr TRect DesktopToScreen(const TRect& r, TPoint origin) {
    return r.Offset(origin.X, origin.Y);
}

// How to cut an area out of a desktop picture. The area may reach beyond the picture (the
// monitors changed since the area was recorded, or a fixed rectangle larger than the
// desktop); the new picture always has the area's size, and what lies outside the desktop
// picture is black.
struct TAreaCopy {
    TSize Size;             // size of the new picture: the area's width and height
    TRect Source;           // part of the desktop picture to copy; empty when none of it is there
    TPoint Dest;            // where Source's top-left corner lands in the new picture
    bool FillBlack = false; // part of the new picture lies outside the desktop: clear it black first
};

// The copy plan of area (virtual-desktop coordinates) out of a desktop picture of the given
// size. No plan when the area is empty or larger than a picture can be.
std::optional<TAreaCopy> PlanAreaCopy(const TRect& area, TSize desktop);

// The plan carried out on a desktop picture held as a bitmap: the area as a new opaque
// picture, black outside the desktop. No picture when PlanAreaCopy gives no plan.
std::optional<TBitmap32> CopyDesktopArea(const TBitmap32& desktop, const TRect& area);
