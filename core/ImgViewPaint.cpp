#include "core/ImgViewPaint.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/PixelRows.h"

void PaintCheckerboard(TBitmap32& buffer) {
    PaintCheckerboard(buffer, TRect{});
}

void PaintCheckerboard(TBitmap32& buffer, const TRect& covered) {
    const int w = buffer.Width();
    if (w == 0)
        return;
    // Two prepared rows, copied alternately in bands of eight; rows that pass the covered
    // part keep it as it is.
    std::vector<TColor32> greyFirst(static_cast<std::size_t>(w));
    std::vector<TColor32> whiteFirst(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        greyFirst[static_cast<std::size_t>(x)] = CheckerboardColor(x, 0);
        whiteFirst[static_cast<std::size_t>(x)] = CheckerboardColor(x, 8);
    }
    const TRect skip = covered.Intersect(TRect{0, 0, w, buffer.Height()});
    for (int y = 0; y < buffer.Height(); ++y) {
        const TColor32* row = (((y >> 3) & 1) ? whiteFirst : greyFirst).data();
        TColor32* out = buffer.ScanLine(y);
        if (skip.IsEmpty() || y < skip.Top || y >= skip.Bottom) {
            std::memcpy(out, row, static_cast<std::size_t>(w) * sizeof(TColor32));
            continue;
        }
        std::memcpy(out, row, static_cast<std::size_t>(skip.Left) * sizeof(TColor32));
        std::memcpy(out + skip.Right, row + skip.Right,
                    static_cast<std::size_t>(w - skip.Right) * sizeof(TColor32));
    }
}

TColor32 BlendPixel(TColor32 fg, TColor32 bg, std::uint8_t masterAlpha) {
    return pixel_rows::Blend(fg, bg, masterAlpha);
}

namespace {
// The source index of every destination index along one axis, -1 outside the source.
std::vector<int> SourceIndices(int dstSize, int srcSize, double origin, double scale) {
    std::vector<int> map(static_cast<std::size_t>(dstSize), -1);
    for (int d = 0; d < dstSize; ++d) {
        const double s = std::floor((d - origin) / scale);
        if (s >= 0 && s < srcSize)
            map[static_cast<std::size_t>(d)] = static_cast<int>(s);
    }
    return map;
}

// The first and one past the last destination index that has a source index.
std::pair<int, int> CoveredRange(const std::vector<int>& map) {
    const auto first = std::find_if(map.begin(), map.end(), [](int i) { return i >= 0; });
    auto last = first;
    while (last != map.end() && *last >= 0)
        ++last;
    return {static_cast<int>(first - map.begin()), static_cast<int>(last - map.begin())};
}
} // namespace

TRect NearestCoverage(int dstWidth, int dstHeight, int srcWidth, int srcHeight, double originX,
                      double originY, double scaleX, double scaleY) {
    if (!(scaleX > 0) || !(scaleY > 0) || srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0)
        return {};
    const auto [left, right] = CoveredRange(SourceIndices(dstWidth, srcWidth, originX, scaleX));
    const auto [top, bottom] = CoveredRange(SourceIndices(dstHeight, srcHeight, originY, scaleY));
    if (left >= right || top >= bottom)
        return {};
    return {left, top, right, bottom};
}

void DrawNearest(TBitmap32& dst, const TBitmap32& src, double originX, double originY, double scaleX,
                 double scaleY, TDrawMode mode, std::uint8_t masterAlpha) {
    if (!(scaleX > 0) || !(scaleY > 0) || src.Empty() || dst.Empty())
        return;
    const std::vector<int> columns = SourceIndices(dst.Width(), src.Width(), originX, scaleX);
    const std::vector<int> rows = SourceIndices(dst.Height(), src.Height(), originY, scaleY);
    // The source columns only grow from left to right, so the covered columns are one range.
    const auto [left, right] = CoveredRange(columns);
    if (left >= right)
        return;
    const auto x0 = static_cast<std::size_t>(left);
    const auto x1 = static_cast<std::size_t>(right);
    const std::size_t count = x1 - x0;
    // At scale 1 the covered source pixels lie side by side and are read in place.
    bool sideBySide = true;
    for (std::size_t x = x0 + 1; x < x1 && sideBySide; ++x)
        sideBySide = columns[x] == columns[x - 1] + 1;
    std::vector<TColor32> gathered(sideBySide ? 0 : count);
    int lastSource = -1;
    int lastRow = -1;
    for (int y = 0; y < dst.Height(); ++y) {
        const int sy = rows[static_cast<std::size_t>(y)];
        if (sy < 0)
            continue;
        const TColor32* in = src.ScanLine(sy);
        TColor32* out = dst.ScanLine(y) + x0;
        if (mode == TDrawMode::dmOpaque) {
            // Rows of a zoomed-in picture repeat: the last row drawn from the same source row
            // is copied instead of picked again.
            if (sy == lastSource)
                std::memcpy(out, dst.ScanLine(lastRow) + x0, count * sizeof(TColor32));
            else if (sideBySide)
                std::memcpy(out, in + columns[x0], count * sizeof(TColor32));
            else
                for (std::size_t i = 0; i < count; ++i)
                    out[i] = in[columns[x0 + i]];
            lastSource = sy;
            lastRow = y;
            continue;
        }
        const TColor32* from = in + columns[x0];
        if (!sideBySide) {
            if (sy != lastSource)
                for (std::size_t i = 0; i < count; ++i)
                    gathered[i] = in[columns[x0 + i]];
            from = gathered.data();
        }
        lastSource = sy;
        pixel_rows::BlendRow(out, from, count, masterAlpha);
    }
}
