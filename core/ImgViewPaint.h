#pragma once
// The pixel work of the image view: the transparency checkerboard, blending a pixel over
// another with a master alpha, and drawing a bitmap scaled by nearest neighbour.
#include <cstdint>

#include "core/Bitmap32.h"
#include "core/Geometry.h"

// How a bitmap is drawn over what lies below it: its pixels replace the ones below
// (alpha included), or are blended over them by their alpha times the master alpha.
enum class TDrawMode : std::uint8_t { dmOpaque = 0, dmBlend = 1 };

constexpr TColor32 kCheckerWhite = 0xFFFFFFFF;
constexpr TColor32 kCheckerGrey = 0xFFB0B0B0;
// The checkerboard under the image: 8 x 8 squares anchored at the view's top-left corner,
// the first one grey.
constexpr TColor32 CheckerboardColor(int x, int y) {
    return ((x >> 3) & 1) == ((y >> 3) & 1) ? kCheckerGrey : kCheckerWhite;
}
void PaintCheckerboard(TBitmap32& buffer);
// The same, except inside covered: the part that an opaque picture paints over anyway.
void PaintCheckerboard(TBitmap32& buffer, const TRect& covered);

// fg over bg with fg's alpha weighted by masterAlpha; the result's alpha is the combined
// coverage, so blending onto a transparent pixel keeps the foreground's colour.
TColor32 BlendPixel(TColor32 fg, TColor32 bg, std::uint8_t masterAlpha);

// Draws src into dst with its top-left corner at (originX, originY) and each source pixel
// scaleX by scaleY destination pixels wide: destination column x takes source column
// floor((x - originX) / scaleX), and the same for rows. Parts outside dst are cut off; a
// scale of zero or less draws nothing.
// The rectangle of a dstWidth x dstHeight bitmap that DrawNearest writes with these
// arguments; empty when it writes nothing.
TRect NearestCoverage(int dstWidth, int dstHeight, int srcWidth, int srcHeight, double originX,
                      double originY, double scaleX, double scaleY);
void DrawNearest(TBitmap32& dst, const TBitmap32& src, double originX, double originY, double scaleX,
                 double scaleY, TDrawMode mode, std::uint8_t masterAlpha = 255);
