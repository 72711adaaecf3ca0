#include "core/ImgViewPaint.h"

#include <algorithm>
#include <cmath>
#include <vector>

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
    // Weight of the foreground, 0 .. 255, rounded.
    const unsigned a = (AlphaComponent(fg) * unsigned{masterAlpha} + 127u) / 255u;
    if (a == 0)
        return bg;
    const unsigned bgA = AlphaComponent(bg);
    const unsigned outA = a + (bgA * (255u - a) + 127u) / 255u;
    // Colours are mixed by coverage: the background counts only as far as it is opaque.
    const unsigned bgWeight = (bgA * (255u - a) + 127u) / 255u;
    auto mix = [&](unsigned f, unsigned b) {
        return static_cast<std::uint8_t>((f * a + b * bgWeight + outA / 2) / outA);
    };
    return Color32(mix(RedComponent(fg), RedComponent(bg)), mix(GreenComponent(fg), GreenComponent(bg)),
                   mix(BlueComponent(fg), BlueComponent(bg)), static_cast<std::uint8_t>(outA));
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
    for (int y = 0; y < dst.Height(); ++y) {
        const int sy = rows[static_cast<std::size_t>(y)];
        if (sy < 0)
            continue;
        const TColor32* in = src.ScanLine(sy);
        TColor32* out = dst.ScanLine(y);
        for (int x = 0; x < dst.Width(); ++x) {
            const int sx = columns[static_cast<std::size_t>(x)];
            if (sx < 0)
                continue;
            out[x] = mode == TDrawMode::dmOpaque ? in[sx] : BlendPixel(in[sx], out[x], masterAlpha);
        }
    }
}
