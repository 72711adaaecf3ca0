#include "core/ShapeGeometry.h"

#include <algorithm>
#include <cmath>
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
