#include "core/ShapeGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {
// Radii and centres are pixel coordinates, so the sum fits easily; the limit only guards
// against a degenerate input reaching the integer conversion.
int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(std::clamp(v, -1.0e9, 1.0e9)));
}
} // namespace

TPoint PointAtAngle(int rx, int ry, int cx, int cy, int angle) {
    const double radians = angle * std::numbers::pi / 180.0;
    const int x = RoundEven(std::cos(radians) * rx);
    const int y = RoundEven(std::sin(radians) * ry);
    return {geometry_detail::Saturate(std::int64_t{x} + cx), geometry_detail::Saturate(std::int64_t{y} + cy)};
}

int ArrowAngle(TPoint start, TPoint end) {
    const double dx = static_cast<double>(end.X) - start.X;
    const double dy = static_cast<double>(end.Y) - start.Y;
    double theta = std::atan2(dx, dy) * 180.0 / std::numbers::pi;
    if (theta < 0)
        theta += 360.0;
    return RoundEven(theta);
}

void ArrowEndWings(TPoint end, int t, int r, TPoint& wing1, TPoint& wing2) {
    wing1 = PointAtAngle(r, r, end.X, end.Y, 245 - t);
    wing2 = PointAtAngle(r, r, end.X, end.Y, 295 - t);
}

void ArrowStartWings(TPoint start, int t, int r, TPoint& wing1, TPoint& wing2) {
    wing1 = PointAtAngle(r, r, start.X, start.Y, 115 - t);
    wing2 = PointAtAngle(r, r, start.X, start.Y, 65 - t);
}

namespace {
int Span(int a, int b) {
    return geometry_detail::Saturate(std::abs(std::int64_t{a} - b));
}
int Sum(std::int64_t a, std::int64_t b) {
    return geometry_detail::Saturate(a + b);
}
} // namespace

TShadowLayout ShadowLayout(int tool, TPoint p1, TPoint p2, int penWidth) {
    const int w = std::max(penWidth, 1);
    const int h = w / 2;
    const int minX = std::min(p1.X, p2.X);
    const int minY = std::min(p1.Y, p2.Y);
    TShadowLayout layout;
    if (tool >= 13 && tool <= 18) {
        // Arrows: the heads reach up to w + 10 past the shaft's ends, plus half the pen, so
        // the bitmap has a margin m on each side and lands m - w before the shaft's box.
        const int m = ArrowShadowMargin(w);
        layout.Size = {Sum(Span(p1.X, p2.X), 2 * m), Sum(Span(p1.Y, p2.Y), 2 * m)};
        layout.From = {Sum(p1.X - std::int64_t{minX}, m), Sum(p1.Y - std::int64_t{minY}, m)};
        layout.To = {Sum(p2.X - std::int64_t{minX}, m), Sum(p2.Y - std::int64_t{minY}, m)};
        layout.Origin = {Sum(minX, w - m), Sum(minY, w - m)};
        return layout;
    }
    layout.Size = {Sum(Span(p1.X, p2.X), w), Sum(Span(p1.Y, p2.Y), w)};
    layout.Origin = {Sum(minX, h), Sum(minY, h)};
    if (tool == 12) {
        layout.From = {Sum(p1.X - std::int64_t{minX}, h), Sum(p1.Y - std::int64_t{minY}, h)};
        layout.To = {Sum(p2.X - std::int64_t{minX}, h), Sum(p2.Y - std::int64_t{minY}, h)};
    } else {
        layout.From = {h, h};
        layout.To = {layout.Size.Width - h, layout.Size.Height - h};
    }
    return layout;
}

TTextLayerLayout TextLayerLayout(int fillStyle, bool usesFrame, int penWidth, int width, int height) {
    const int w = std::max(penWidth, 1);
    TTextLayerLayout layout;
    layout.Opaque = fillStyle != 0 && usesFrame;
    // An opaque layer is framed in line-and-fill style only; a transparent one whenever the
    // check is on (which leaves just-line style there).
    layout.Frame = layout.Opaque ? fillStyle == 1 : usesFrame && fillStyle != 2;
    if (!layout.Frame) {
        layout.TextRect = {0, 0, width, height};
        return layout;
    }
    // An even pen is centred half a pixel off, so its far edges move out by one.
    const int h = w / 2;
    const int extra = w % 2 == 0 ? 1 : 0;
    layout.FrameRect = {h, h, Sum(width - std::int64_t{h}, extra), Sum(height - std::int64_t{h}, extra)};
    const int inset = w + 3;
    layout.TextRect = {inset, inset, Sum(width, -inset), Sum(height, -inset)};
    return layout;
}

TRect HeadBox(TPoint p, int headSize) {
    const int h = headSize / 2;
    return {Sum(p.X, 1 - std::int64_t{h}), Sum(p.Y, 1 - std::int64_t{h}), Sum(p.X, h), Sum(p.Y, h)};
}

namespace {
int TruncToInt(double v) {
    return static_cast<int>(std::trunc(std::clamp(v, -2.0e9, 2.0e9)));
}
} // namespace

TPoint ToolImagePoint(const TViewMapping& mapping, int x, int y) {
    const double scale = mapping.Scale > 0 ? mapping.Scale : 1.0;
    return {TruncToInt((x - mapping.OffsetHorz) / scale), TruncToInt((y - mapping.OffsetVert) / scale)};
}

TRect DraggedRect(TPoint s, TPoint e, int width, int height) {
    return {std::max(std::min(s.X, e.X), 0), std::max(std::min(s.Y, e.Y), 0),
            std::min(std::max(s.X, e.X), width), std::min(std::max(s.Y, e.Y), height)};
}

TRect PreviewRect(TPoint s, TPoint last, int margin, int width, int height) {
    const TRect r{Sum(std::min(s.X, last.X), -std::int64_t{margin}),
                  Sum(std::min(s.Y, last.Y), -std::int64_t{margin}), Sum(std::max(s.X, last.X), margin),
                  Sum(std::max(s.Y, last.Y), margin)};
    return r.Intersect(TRect{0, 0, width, height});
}

int PreviewMargin(int tool, int penWidth) {
    return tool >= 13 && tool <= 18 ? Sum(3 * std::int64_t{penWidth}, 10) : penWidth;
}
