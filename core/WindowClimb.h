#pragma once
// The window picker's pure part: where the arrow and its probe point sit, which window a
// tick chooses under the probe point (with the climb to the parent in the window and icon
// modes), the frame's colour per capture mode and the ring the frame shows.
//
// Windows are reached through IWindowTree, which the Windows side implements over the
// real window functions and tests implement over a made-up tree.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/Bitmap32.h"
#include "core/CaptureMode.h"
#include "core/Geometry.h"

// A window handle's value; 0 is no window.
using TWindowHandle = std::uintptr_t;

// The window style bits the climb needs (the platform's WS_CHILD and WS_POPUP).
constexpr std::uint32_t kStyleChild = 0x40000000u;
constexpr std::uint32_t kStylePopup = 0x80000000u;

class IWindowTree {
public:
    virtual ~IWindowTree() = default;
    // The parent of a child window (0 when there is none).
    virtual TWindowHandle ParentOf(TWindowHandle window) const = 0;
    // The owner of a top-level window (0 when it has none).
    virtual TWindowHandle OwnerOf(TWindowHandle window) const = 0;
    // The window's style bits (0 for a window that is gone).
    virtual std::uint32_t StyleOf(TWindowHandle window) const = 0;
    // The window's rectangle in screen coordinates, frame included; none when the window
    // is gone or the rectangle cannot be had.
    virtual std::optional<TRect> WindowRectOf(TWindowHandle window) const = 0;
};

// The window a climb goes on to: the parent of a child window, the owner of a pop-up
// window, none for any other top-level window (the platform's GetParent rule).
TWindowHandle ClimbParentOf(const IWindowTree& tree, TWindowHandle window);

// The climb of the window and icon modes: from start, go on to the parent (or owner) as
// long as that one's rectangle contains probe (edges included) and has a width and a
// height. The climb ends after a bounded number of steps even if the tree has a loop.
TWindowHandle ClimbToAncestor(const IWindowTree& tree, TWindowHandle start, TPoint probe);

// Whether a capture mode picks the top-level window (window and icon) rather than the
// deepest window under the point (control).
constexpr bool ClimbsToAncestor(TCaptureMode mode) {
    return mode == TCaptureMode::Window || mode == TCaptureMode::Icon;
}

// The picker's own windows, never picked or framed themselves.
struct TPickerWindows {
    TWindowHandle Picker = 0; // the arrow
    TWindowHandle Frame = 0;  // the coloured ring
};

// What one tick of the picker decides.
struct TPickStep {
    TWindowHandle Selected = 0; // the window a click now picks (0: none, a click cancels)
    bool Reframe = false;       // the frame moves to Selected: it is new and its rectangle known
    TRect FrameBounds;          // Selected's rectangle (screen coordinates) when Reframe
};

// One tick: underPoint is the deepest visible window under the probe point (0 when none),
// lastFramed the window the frame outlines now. When underPoint is one of the picker's own
// windows (the probe point lies on the frame's ring), the pick stays lastFramed and
// nothing moves: the ring itself is never picked or framed.
TPickStep PickAtPoint(const IWindowTree& tree, TWindowHandle underPoint, TPoint probe, TCaptureMode mode,
                      TWindowHandle lastFramed, TPickerWindows own);

// The picker arrow: its outline in its own window coordinates (tip at the top-left),
// where it sits for a cursor position, and the probe point just beyond its tip, where the
// arrow itself never is.
constexpr std::array<TPoint, 10> kPickerArrow{
    {{1, 0}, {0, 1}, {0, 20}, {1, 21}, {2, 21}, {8, 15}, {14, 15}, {15, 14}, {15, 12}, {3, 0}}};
constexpr TPoint PickerOrigin(TPoint cursor) {
    return {cursor.X - 5, cursor.Y - 9};
}
constexpr TPoint PickerProbe(TPoint cursor) {
    return {cursor.X - 6, cursor.Y - 10};
}

// The frame colour per capture mode, as a colour value (0x00BBGGRR): red for a window
// pick, yellow for an icon pick, lime otherwise.
constexpr TColor kFrameColorControl = 0x00FF00;
constexpr TColor kFrameColorWindow = 0x0000FF;
constexpr TColor kFrameColorIcon = 0x00FFFF;
constexpr TColor FrameColor(TCaptureMode mode) {
    return mode == TCaptureMode::Window ? kFrameColorWindow
           : mode == TCaptureMode::Icon ? kFrameColorIcon
                                        : kFrameColorControl;
}

// The frame window's shape before any window is framed: a 2 x 2 square at its origin.
constexpr TRect kFrameInitialRegion{0, 0, 2, 2};
constexpr int kFrameRingWidth = 2;

// The frame's shape over a framed window of the given size, in the frame window's own
// coordinates: a ring of kFrameRingWidth pixels on the inside of the window's edge, as
// non-overlapping rectangles. A window too small for a hole is covered whole; a window
// without width or height gives no rectangles.
std::vector<TRect> FrameRingRegion(int width, int height);
