#include "core/ImgViewPaint.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/PixelRows.h"

void PaintCheckerboard(TBitmap32& buffer) {
    const int w = buffer.Width();
    if (w == 0)
        return;
    // Two prepared rows, copied alternately in bands of eight.
    std::vector<TColor32> greyFirst(static_cast<std::size_t>(w));
    std::vector<TColor32> whiteFirst(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        greyFirst[static_cast<std::size_t>(x)] = CheckerboardColor(x, 0);
        whiteFirst[static_cast<std::size_t>(x)] = CheckerboardColor(x, 8);
    }
    for (int y = 0; y < buffer.Height(); ++y) {
        const auto& row = ((y >> 3) & 1) ? whiteFirst : greyFirst;
        std::copy(row.begin(), row.end(), buffer.ScanLine(y));
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
} // namespace

void DrawNearest(TBitmap32& dst, const TBitmap32& src, double originX, double originY, double scaleX,
                 double scaleY, TDrawMode mode, std::uint8_t masterAlpha) {
    if (!(scaleX > 0) || !(scaleY > 0) || src.Empty() || dst.Empty())
        return;
    const std::vector<int> columns = SourceIndices(dst.Width(), src.Width(), originX, scaleX);
    const std::vector<int> rows = SourceIndices(dst.Height(), src.Height(), originY, scaleY);
    // The source columns only grow from left to right, so the covered columns are one range.
    const auto first = std::find_if(columns.begin(), columns.end(), [](int c) { return c >= 0; });
    if (first == columns.end())
        return;
    const auto x0 = static_cast<std::size_t>(first - columns.begin());
    std::size_t x1 = x0;
    while (x1 < columns.size() && columns[x1] >= 0)
        ++x1;
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
