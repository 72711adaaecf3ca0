#include "core/ImgViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
int FloorToInt(double v) {
    // Far-away points saturate instead of overflowing the conversion.
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(std::floor(v), kLow, kHigh));
}
} // namespace

TPoint TViewMapping::ControlToBitmap(TPoint p) const {
    return {FloorToInt(ControlToBitmapX(p.X)), FloorToInt(ControlToBitmapY(p.Y))};
}

TPoint TViewMapping::BitmapToControl(TPoint p) const {
    return {FloorToInt(OffsetHorz + p.X * Scale), FloorToInt(OffsetVert + p.Y * Scale)};
}

TFloatRect TViewMapping::BitmapToControlRect(const TFloatRect& r) const {
    return {OffsetHorz + r.Left * Scale, OffsetVert + r.Top * Scale, OffsetHorz + r.Right * Scale,
            OffsetVert + r.Bottom * Scale};
}

double ClampViewScale(double scale) {
    if (std::isnan(scale))
        return 1.0;
    return std::clamp(scale, kMinViewScale, kMaxViewScale);
}

int TScrollAxis::Clamp(std::int64_t position) const {
    return static_cast<int>(std::clamp<std::int64_t>(position, 0, Max()));
}

int TScrollAxis::Offset(int position, bool centre) const {
    if (centre && Content < Viewport)
        return (Viewport - Content) / 2;
    return -Clamp(position);
}

int ScaledExtent(int pixels, double scale) {
    const double v = std::ceil(static_cast<double>(pixels) * ClampViewScale(scale));
    return static_cast<int>(std::clamp(v, 0.0, static_cast<double>(std::numeric_limits<int>::max())));
}

void RubberbandHandles(const TRect& r, TRect (&handles)[8]) {
    // The right and bottom edges are the last column and row inside the frame.
    const int l = r.Left;
    const int t = r.Top;
    const int rr = r.Right - 1;
    const int b = r.Bottom - 1;
    const int cx = l + (rr - l) / 2;
    const int cy = t + (b - t) / 2;
    const TPoint centres[8] = {{l, t}, {cx, t}, {rr, t}, {rr, cy}, {rr, b}, {cx, b}, {l, b}, {l, cy}};
    for (int i = 0; i < 8; ++i) {
        const TPoint c = centres[i];
        handles[i] = {c.X - kRubberbandHandleSize, c.Y - kRubberbandHandleSize,
                      c.X + kRubberbandHandleSize + 1, c.Y + kRubberbandHandleSize + 1};
    }
}

TRBDragState RubberbandHitTest(const TRect& r, TPoint p) {
    using enum TRBDragState;
    TRect handles[8];
    RubberbandHandles(r, handles);
    // Corners win over sides where a small frame makes them overlap.
    constexpr int kOrder[8] = {0, 2, 4, 6, 1, 3, 5, 7};
    constexpr TRBDragState kStates[8] = {dsSizeTL, dsSizeT, dsSizeTR, dsSizeR,
                                         dsSizeBR, dsSizeB, dsSizeBL, dsSizeL};
    for (int i : kOrder) {
        const TRect& h = handles[i];
        if (p.X >= h.Left && p.X < h.Right && p.Y >= h.Top && p.Y < h.Bottom)
            return kStates[i];
    }
    if (p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom)
        return dsMove;
    return dsNone;
}

TFloatRect RubberbandDrag(TRBDragState state, const TFloatRect& start, double dx, double dy, double minWidth,
                          double minHeight) {
    using enum TRBDragState;
    TFloatRect r = start;
    const bool left = state == dsSizeL || state == dsSizeTL || state == dsSizeBL;
    const bool right = state == dsSizeR || state == dsSizeTR || state == dsSizeBR;
    const bool top = state == dsSizeT || state == dsSizeTL || state == dsSizeTR;
    const bool bottom = state == dsSizeB || state == dsSizeBL || state == dsSizeBR;
    if (state == dsMove) {
        r.Left += dx;
        r.Right += dx;
        r.Top += dy;
        r.Bottom += dy;
        return r;
    }
    // The grabbed edge follows the mouse but never past the point where the frame would be
    // narrower than its minimum: it cannot turn inside out.
    if (left)
        r.Left = std::min(start.Left + dx, start.Right - minWidth);
    if (right)
        r.Right = std::max(start.Right + dx, start.Left + minWidth);
    if (top)
        r.Top = std::min(start.Top + dy, start.Bottom - minHeight);
    if (bottom)
        r.Bottom = std::max(start.Bottom + dy, start.Top + minHeight);
    return r;
}
