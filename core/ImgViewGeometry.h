#pragma once
// The arithmetic of the zoomable image view: where the image lies in the view at a scale
// and scroll position, how view points map to image points and back, the scroll ranges,
// the frame handles of a movable, resizable layer and what a drag of them does.
#include <cstdint>

#include "core/Geometry.h"

// A rectangle with floating-point edges: the location of a layer, in image coordinates
// when the layer is scaled with the image, else in view coordinates.
struct TFloatRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    double Width() const { return Right - Left; }
    double Height() const { return Bottom - Top; }
    bool operator==(const TFloatRect&) const = default;
};

// Where the image lies in the view: the view position of its top-left corner and the
// number of view pixels per image pixel. Every conversion floors, so image pixel x covers
// the view columns whose ControlToBitmap is x, and nothing else.
struct TViewMapping {
    double OffsetHorz = 0;
    double OffsetVert = 0;
    double Scale = 1;

    TPoint ControlToBitmap(TPoint p) const;
    TPoint BitmapToControl(TPoint p) const;
    // The same for fractional positions, without rounding.
    double ControlToBitmapX(double x) const { return (x - OffsetHorz) / Scale; }
    double ControlToBitmapY(double y) const { return (y - OffsetVert) / Scale; }
    TFloatRect BitmapToControlRect(const TFloatRect& r) const;
};

enum class TBitmapAlign : std::uint8_t { TopLeft = 0, Center = 1, Custom = 2 };

// The smallest and largest scale the view accepts; anything else is clamped into it, so a
// scale read from elsewhere can never divide by zero or ask for a picture of giant size.
constexpr double kMinViewScale = 0.01;
constexpr double kMaxViewScale = 100.0;
double ClampViewScale(double scale);

// The scroll arithmetic of one axis: the scaled image of contentPixels view pixels shown in
// a viewport. The range is 0 .. Max; positions are clamped into it.
struct TScrollAxis {
    int Content = 0;  // the image's size in view pixels (rounded up)
    int Viewport = 0; // the visible size
    int Max() const { return Content > Viewport ? Content - Viewport : 0; }
    int Clamp(std::int64_t position) const;
    // The view position of the image's first pixel for a clamped scroll position: centred
    // when the image is smaller than the viewport and centring is asked for, else scrolled.
    int Offset(int position, bool centre) const;
};
// The image's size in view pixels at a scale: rounded up, so a part pixel still scrolls in.
int ScaledExtent(int pixels, double scale);

// What a press on a movable, resizable frame grabs.
enum class TRBDragState : std::uint8_t {
    dsNone = 0,
    dsMove = 1,
    dsSizeL = 2,
    dsSizeT = 3,
    dsSizeR = 4,
    dsSizeB = 5,
    dsSizeTL = 6,
    dsSizeTR = 7,
    dsSizeBL = 8,
    dsSizeBR = 9
};

// The frame's handles: small squares of 2 * kHandleSize + 1 view pixels centred on the
// corners and the middles of the sides.
constexpr int kRubberbandHandleSize = 3;
// The handle squares of a frame whose rectangle in view coordinates is r, in the order
// TL, T, TR, R, BR, B, BL, L.
void RubberbandHandles(const TRect& r, TRect (&handles)[8]);
// What a press at p grabs of the frame r (view coordinates): a handle first, then the
// inside (move), else nothing.
TRBDragState RubberbandHitTest(const TRect& r, TPoint p);
// The frame location after a drag by (dx, dy) in the location's own units from the
// location at the press. The edges that move stop where the size would fall below the
// minimum; a move keeps the size.
TFloatRect RubberbandDrag(TRBDragState state, const TFloatRect& start, double dx, double dy, double minWidth,
                          double minHeight);
