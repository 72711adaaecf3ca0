#include "core/Bitmap32Ops.h"

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

TColor32 WithAlpha(TColor32 c, std::uint8_t alpha) {
    return (c & 0x00FFFFFFu) | (TColor32{alpha} << 24);
}

void RequireSameSize(const TBitmap32& a, const TBitmap32& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        throw std::invalid_argument("Bitmap sizes differ");
}

} // namespace

void Draw(TBitmap32& dst, int x, int y, const TBitmap32& src, TDrawMode mode, std::uint8_t masterAlpha) {
    const TRect target =
        TRect{0, 0, src.Width(), src.Height()}.Offset(x, y).Intersect(TRect{0, 0, dst.Width(), dst.Height()});
    if (target.IsEmpty())
        return;
    if (&dst == &src) {
        // Drawing a bitmap onto itself reads from a copy, so no pixel is read after it changed.
        const TBitmap32 copy = src;
        Draw(dst, x, y, copy, mode, masterAlpha);
        return;
    }
    for (int ty = target.Top; ty < target.Bottom; ++ty) {
        const TColor32* from = src.ScanLine(ty - y) + (target.Left - x);
        TColor32* to = dst.ScanLine(ty) + target.Left;
        const int count = target.Width();
        if (mode == TDrawMode::dmOpaque) {
            std::copy(from, from + count, to);
            continue;
        }
        for (int i = 0; i < count; ++i)
            to[i] = BlendPixel(from[i], to[i], masterAlpha);
    }
}

void ApplyLUT(TBitmap32& dst, const TBitmap32& src, const TLUT8& lut, bool preserveAlpha) {
    if (dst.Width() != src.Width() || dst.Height() != src.Height())
        dst = src;
    const TColor32* from = src.Bits();
    TColor32* to = dst.Bits();
    const std::size_t count = static_cast<std::size_t>(src.Width()) * static_cast<std::size_t>(src.Height());
    for (std::size_t i = 0; i < count; ++i) {
        const TColor32 c = from[i];
        const std::uint8_t alpha = preserveAlpha ? AlphaComponent(to[i]) : AlphaComponent(c);
        to[i] = Color32(lut[RedComponent(c)], lut[GreenComponent(c)], lut[BlueComponent(c)], alpha);
    }
}

void IntensityToAlpha(TBitmap32& dst, const TBitmap32& src) {
    RequireSameSize(dst, src);
    const std::size_t count = static_cast<std::size_t>(src.Width()) * static_cast<std::size_t>(src.Height());
    for (std::size_t i = 0; i < count; ++i)
        dst.Bits()[i] = WithAlpha(dst.Bits()[i], Intensity(src.Bits()[i]));
}

namespace {
template <typename F> void ForEachPixel(TBitmap32& bitmap, F f) {
    const std::size_t count =
        static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height());
    TColor32* p = bitmap.Bits();
    for (std::size_t i = 0; i < count; ++i)
        p[i] = f(p[i]);
}
} // namespace

void ColorToGrayscale(TBitmap32& bitmap) {
    ForEachPixel(bitmap, [](TColor32 c) {
        const std::uint8_t v = Intensity(c);
        return Color32(v, v, v, AlphaComponent(c));
    });
}

void Invert(TBitmap32& bitmap) {
    ForEachPixel(bitmap, [](TColor32 c) { return ~c; });
}

void InvertRGB(TBitmap32& bitmap) {
    ForEachPixel(bitmap, [](TColor32 c) { return c ^ 0x00FFFFFFu; });
}

void MakeColorTransparent(TBitmap32& bitmap, TColor32 color) {
    const TColor32 rgb = color & 0x00FFFFFFu;
    ForEachPixel(bitmap, [rgb](TColor32 c) { return (c & 0x00FFFFFFu) == rgb ? (c & 0x00FFFFFFu) : c; });
}

void FlipHorz(TBitmap32& bitmap) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        TColor32* row = bitmap.ScanLine(y);
        std::reverse(row, row + bitmap.Width());
    }
}

void FlipVert(TBitmap32& bitmap) {
    for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bitmap.ScanLine(top), bitmap.ScanLine(top) + bitmap.Width(),
                         bitmap.ScanLine(bottom));
}

void Rotate90(TBitmap32& bitmap) {
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    TBitmap32 turned(h, w);
    // Clockwise: the left column becomes the top row, read from the bottom up.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            turned.SetPixel(h - 1 - y, x, bitmap.Pixel(x, y));
    bitmap = std::move(turned);
}

void Rotate270(TBitmap32& bitmap) {
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    TBitmap32 turned(h, w);
    // Counter-clockwise: the top row becomes the left column, read from the bottom up.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            turned.SetPixel(y, w - 1 - x, bitmap.Pixel(x, y));
    bitmap = std::move(turned);
}

bool ValidImageSize(int width, int height) {
    return width >= 1 && height >= 1 && TBitmap32::ValidSize(width, height);
}

TBitmap32 ResampleNearest(const TBitmap32& src, int width, int height) {
    if (!ValidImageSize(width, height))
        throw std::length_error("Image size out of range");
    TBitmap32 result(width, height);
    if (src.Empty())
        return result;
    // Source column of a new column: the one under its centre, (2x + 1) * sw / (2 * w),
    // precomputed once for all rows.
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<std::size_t>(x)] =
            static_cast<int>((2 * std::int64_t{x} + 1) * src.Width() / (2 * std::int64_t{width}));
    for (int y = 0; y < height; ++y) {
        const auto sy =
            static_cast<int>((2 * std::int64_t{y} + 1) * src.Height() / (2 * std::int64_t{height}));
        const TColor32* from = src.ScanLine(sy);
        TColor32* to = result.ScanLine(y);
        for (int x = 0; x < width; ++x)
            to[x] = from[columns[static_cast<std::size_t>(x)]];
    }
    return result;
}

TPoint CanvasOffset(int anchor, int oldWidth, int oldHeight, int newWidth, int newHeight) {
    if (anchor < 1 || anchor > 9)
        anchor = 1;
    const int column = (anchor - 1) % 3;
    const int row = (anchor - 1) / 3;
    auto offset = [](int place, int oldSize, int newSize) {
        if (place == 0)
            return 0;
        return place == 1 ? newSize / 2 - oldSize / 2 : newSize - oldSize;
    };
    return {offset(column, oldWidth, newWidth), offset(row, oldHeight, newHeight)};
}

TBitmap32 ResizeCanvas(const TBitmap32& src, int newWidth, int newHeight, int anchor, TColor32 fill,
                       TDrawMode mode) {
    if (!ValidImageSize(newWidth, newHeight))
        throw std::length_error("Canvas size out of range");
    TBitmap32 canvas(newWidth, newHeight, fill);
    const TPoint at = CanvasOffset(anchor, src.Width(), src.Height(), newWidth, newHeight);
    Draw(canvas, at.X, at.Y, src, mode);
    return canvas;
}

TBitmap32 Crop(const TBitmap32& src, const TRect& area, TColor32 fill) {
    if (area.IsEmpty())
        return {};
    if (!TBitmap32::ValidSize(area.Width(), area.Height()))
        throw std::length_error("Crop size out of range");
    TBitmap32 result(area.Width(), area.Height(), fill);
    // Moving src by -area.TopLeft puts the area's corner at (0, 0); Draw clips the rest. The
    // corner is taken as 64-bit first so that a far-away area cannot overflow the offset.
    const auto dx = static_cast<std::int64_t>(-std::int64_t{area.Left});
    const auto dy = static_cast<std::int64_t>(-std::int64_t{area.Top});
    if (dx < -src.Width() || dy < -src.Height() || dx > result.Width() || dy > result.Height())
        return result;
    Draw(result, static_cast<int>(dx), static_cast<int>(dy), src, TDrawMode::dmOpaque);
    return result;
}

std::int64_t FloodFill(TBitmap32& bitmap, int x, int y, TColor32 color) {
    if (!bitmap.Contains(x, y))
        return 0;
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    const TColor32 target = bitmap.Pixel(x, y) & 0x00FFFFFFu;
    // A filled pixel may still match the target (the same colour, or another alpha), so the
    // visited marks, not the colours, keep the fill from running over a pixel twice.
    std::vector<std::uint8_t> done(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    auto index = [w](int px, int py) {
        return static_cast<std::size_t>(py) * static_cast<std::size_t>(w) + static_cast<std::size_t>(px);
    };
    auto open = [&](int px, int py) {
        return done[index(px, py)] == 0 && (bitmap.Pixel(px, py) & 0x00FFFFFFu) == target;
    };
    std::int64_t filled = 0;
    std::vector<TPoint> pending{{x, y}};
    while (!pending.empty()) {
        const TPoint seed = pending.back();
        pending.pop_back();
        if (!open(seed.X, seed.Y))
            continue;
        // Widen the seed to its whole run on the row, fill it, then queue one seed per run of
        // open pixels on the rows above and below.
        int left = seed.X;
        int right = seed.X;
        while (left > 0 && open(left - 1, seed.Y))
            --left;
        while (right + 1 < w && open(right + 1, seed.Y))
            ++right;
        TColor32* row = bitmap.ScanLine(seed.Y);
        for (int px = left; px <= right; ++px) {
            row[px] = color;
            done[index(px, seed.Y)] = 1;
        }
        filled += right - left + 1;
        for (const int ny : {seed.Y - 1, seed.Y + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                const bool o = open(px, ny);
                if (o && !inRun)
                    pending.push_back({px, ny});
                inRun = o;
            }
        }
    }
    return filled;
}
