#include "core/Bitmap32Ops.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/PixelRows.h"

namespace {

TColor32 WithAlpha(TColor32 c, std::uint8_t alpha) {
    return (c & 0x00FFFFFFu) | (TColor32{alpha} << 24);
}

std::size_t PixelCount(const TBitmap32& b) {
    return static_cast<std::size_t>(b.Width()) * static_cast<std::size_t>(b.Height());
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
    const auto count = static_cast<std::size_t>(target.Width());
    for (int ty = target.Top; ty < target.Bottom; ++ty) {
        const TColor32* from = src.ScanLine(ty - y) + (target.Left - x);
        TColor32* to = dst.ScanLine(ty) + target.Left;
        if (mode == TDrawMode::dmOpaque)
            std::memcpy(to, from, count * sizeof(TColor32));
        else
            pixel_rows::BlendRow(to, from, count, masterAlpha);
    }
}

void ApplyLUT(TBitmap32& dst, const TBitmap32& src, const TLUT8& lut, bool preserveAlpha) {
    if (dst.Width() != src.Width() || dst.Height() != src.Height())
        dst = src;
    const std::size_t count = PixelCount(src);
    const pixel_rows::TLutApplier tables(lut, lut, lut, count);
    tables.Apply(dst.Bits(), src.Bits(), count,
                 preserveAlpha ? pixel_rows::TAlphaFrom::Dst : pixel_rows::TAlphaFrom::Src);
}

void IntensityToAlpha(TBitmap32& dst, const TBitmap32& src) {
    RequireSameSize(dst, src);
    const std::size_t count = static_cast<std::size_t>(src.Width()) * static_cast<std::size_t>(src.Height());
    for (std::size_t i = 0; i < count; ++i)
        dst.Bits()[i] = WithAlpha(dst.Bits()[i], Intensity(src.Bits()[i]));
}

void ColorToGrayscale(TBitmap32& bitmap) {
    pixel_rows::GrayRow(bitmap.Bits(), PixelCount(bitmap));
}

void Invert(TBitmap32& bitmap) {
    pixel_rows::XorRow(bitmap.Bits(), PixelCount(bitmap), 0xFFFFFFFFu);
}

void InvertRGB(TBitmap32& bitmap) {
    pixel_rows::XorRow(bitmap.Bits(), PixelCount(bitmap), 0x00FFFFFFu);
}

void MakeColorTransparent(TBitmap32& bitmap, TColor32 color) {
    pixel_rows::ClearAlphaOfColorRow(bitmap.Bits(), PixelCount(bitmap), color);
}

void FlipHorz(TBitmap32& bitmap) {
    const auto w = static_cast<std::size_t>(bitmap.Width());
    for (int y = 0; y < bitmap.Height(); ++y)
        pixel_rows::ReverseRow(bitmap.ScanLine(y), w);
}

void FlipVert(TBitmap32& bitmap) {
    // Rows trade places through a short buffer that stays in the first-level cache.
    constexpr std::size_t kChunk = 1024;
    TColor32 buffer[kChunk];
    const auto w = static_cast<std::size_t>(bitmap.Width());
    for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom) {
        TColor32* upper = bitmap.ScanLine(top);
        TColor32* lower = bitmap.ScanLine(bottom);
        for (std::size_t x = 0; x < w; x += kChunk) {
            const std::size_t bytes = std::min(kChunk, w - x) * sizeof(TColor32);
            std::memcpy(buffer, upper + x, bytes);
            std::memcpy(upper + x, lower + x, bytes);
            std::memcpy(lower + x, buffer, bytes);
        }
    }
}

namespace {
// A quarter turn writes a new picture. The storage of the picture it replaced is kept for
// the next turn, so that repeated turns (the rotate dialog's clicks) write into memory the
// program already holds instead of fresh pages, whose first touch costs more than the turn
// itself. Storage past kSpareTurnBytes is given back at once.
constexpr std::size_t kSpareTurnBytes = std::size_t{64} << 20;

template <typename F> void Turn(TBitmap32& bitmap, F transpose) {
    thread_local TBitmap32 spare;
    spare.SetSizeForOverwrite(bitmap.Height(), bitmap.Width());
    if (!spare.Empty())
        transpose(bitmap, spare);
    std::swap(bitmap, spare);
    if (PixelCount(spare) * sizeof(TColor32) > kSpareTurnBytes)
        spare = TBitmap32();
}
} // namespace

void Rotate90(TBitmap32& bitmap) {
    // Clockwise: the source read from its bottom row up, turned on the diagonal.
    Turn(bitmap, [](const TBitmap32& from, TBitmap32& to) {
        const int w = from.Width();
        const int h = from.Height();
        pixel_rows::TransposeRect(from.ScanLine(h - 1), -static_cast<std::ptrdiff_t>(w), to.Bits(), h, w, h);
    });
}

void Rotate270(TBitmap32& bitmap) {
    // Counter-clockwise: turned on the diagonal into the new rows from the bottom up.
    Turn(bitmap, [](const TBitmap32& from, TBitmap32& to) {
        const int w = from.Width();
        const int h = from.Height();
        pixel_rows::TransposeRect(from.Bits(), w, to.ScanLine(w - 1), -static_cast<std::ptrdiff_t>(h), w, h);
    });
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

namespace {
// The fill when filled pixels still match the target (the same R, G, B): visited marks,
// not colours, keep the fill from running over a pixel twice.
std::int64_t MarkedFill(TBitmap32& bitmap, int x, int y, TColor32 color, TColor32 target) {
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    std::vector<std::uint8_t> done(PixelCount(bitmap), 0);
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

// The fill when filled pixels no longer match: every run is found by scanning, filled
// once, and hands the rows beside it only the columns it covers, so each pixel is read
// and written about once.
std::int64_t RunFill(TBitmap32& bitmap, int x, int y, TColor32 color, TColor32 target) {
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    // A run [Left, Right] filled on row Y - Dy; row Y is still to be looked at under it.
    struct TSpan {
        int Left, Right, Y, Dy;
    };
    auto matches = [target](TColor32 c) { return (c & 0x00FFFFFFu) == target; };
    auto runEnd = [&](const TColor32* row, int from) {
        return from +
               static_cast<int>(
                   pixel_rows::MatchingRun(row + from, static_cast<std::size_t>(w - from), target)) -
               1;
    };
    auto fill = [&](TColor32* row, int left, int right) {
        pixel_rows::FillRow(row + left, static_cast<std::size_t>(right - left + 1), color);
        return std::int64_t{right} - left + 1;
    };
    TColor32* seedRow = bitmap.ScanLine(y);
    const int seedLeft =
        x - static_cast<int>(pixel_rows::MatchingRunBack(seedRow + x, static_cast<std::size_t>(x), target));
    const int seedRight = runEnd(seedRow, x);
    std::int64_t filled = fill(seedRow, seedLeft, seedRight);
    std::vector<TSpan> pending{{seedLeft, seedRight, y + 1, 1}, {seedLeft, seedRight, y - 1, -1}};
    while (!pending.empty()) {
        const TSpan span = pending.back();
        pending.pop_back();
        if (span.Y < 0 || span.Y >= h)
            continue;
        TColor32* row = bitmap.ScanLine(span.Y);
        int px = span.Left;
        // A run under the span's first column may reach further left.
        int left = -1;
        if (matches(row[px]))
            left = px - static_cast<int>(
                            pixel_rows::MatchingRunBack(row + px, static_cast<std::size_t>(px), target));
        while (px <= span.Right) {
            if (left < 0) {
                while (px <= span.Right && !matches(row[px]))
                    ++px;
                if (px > span.Right)
                    break;
                left = px;
            }
            const int right = runEnd(row, px);
            filled += fill(row, left, right);
            pending.push_back({left, right, span.Y + span.Dy, span.Dy});
            // Where the run sticks out past the span, the row it came from is unexplored.
            if (left < span.Left - 1)
                pending.push_back({left, span.Left - 2, span.Y - span.Dy, -span.Dy});
            if (right > span.Right + 1)
                pending.push_back({span.Right + 2, right, span.Y - span.Dy, -span.Dy});
            px = right + 2;
            left = -1;
        }
    }
    return filled;
}
} // namespace

std::int64_t FloodFill(TBitmap32& bitmap, int x, int y, TColor32 color) {
    if (!bitmap.Contains(x, y))
        return 0;
    const TColor32 target = bitmap.Pixel(x, y) & 0x00FFFFFFu;
    if ((color & 0x00FFFFFFu) == target)
        return MarkedFill(bitmap, x, y, color, target);
    return RunFill(bitmap, x, y, color, target);
}
