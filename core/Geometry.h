#pragma once
// Plain points, sizes and rectangles of screen and picture geometry. Rectangles are
// half-open: Right and Bottom are the first column and row outside.
//
// Rectangles often come from outside the program (other windows, stored areas), so the
// arithmetic saturates at the limits of int instead of overflowing.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace geometry_detail {
constexpr int Saturate(std::int64_t v) {
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
} // namespace geometry_detail

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TSize&) const = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return geometry_detail::Saturate(std::int64_t{Right} - Left); }
    constexpr int Height() const { return geometry_detail::Saturate(std::int64_t{Bottom} - Top); }
    // No pixel inside: a side of 0 or less (an inverted rectangle is empty too).
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // The common part of two rectangles; (0, 0, 0, 0) when they do not overlap.
    constexpr TRect Intersect(const TRect& other) const {
        const TRect r{std::max(Left, other.Left), std::max(Top, other.Top), std::min(Right, other.Right),
                      std::min(Bottom, other.Bottom)};
        return r.IsEmpty() ? TRect{} : r;
    }
    // The same rectangle moved by (dx, dy).
    constexpr TRect Offset(int dx, int dy) const {
        using geometry_detail::Saturate;
        return {Saturate(std::int64_t{Left} + dx), Saturate(std::int64_t{Top} + dy),
                Saturate(std::int64_t{Right} + dx), Saturate(std::int64_t{Bottom} + dy)};
    }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    bool operator==(const TRect&) const = default;
};

// The picker's point test: all four edges count as inside, the right and bottom ones too.
constexpr bool PointInRectInclusive(const TRect& rect, TPoint point) {
    return rect.Left <= point.X && point.X <= rect.Right && rect.Top <= point.Y && point.Y <= rect.Bottom;
}
