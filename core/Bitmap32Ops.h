#pragma once
// Pixel operations of the editor on 32-bit ARGB bitmaps: blending one bitmap onto another,
// colour tables, grey, invert, flips, quarter turns, nearest-neighbour resizing, canvas
// resizing at an anchor, crop and flood fill. Every operation stays inside its bitmaps:
// positions and sizes from the user or from files are clipped or refused, never trusted.
#include <array>
#include <cstdint>

#include "core/Bitmap32.h"
#include "core/Geometry.h"
#include "core/ImgViewPaint.h"

// A table of 256 channel values, indexed by the old value.
using TLUT8 = std::array<std::uint8_t, 256>;

// Puts src onto dst with its top-left corner at (x, y), in the image view's draw mode and
// blend; what falls outside dst is cut off.
void Draw(TBitmap32& dst, int x, int y, const TBitmap32& src, TDrawMode mode, std::uint8_t masterAlpha = 255);

// The brightness of a pixel: (R*61 + G*174 + B*21) shr 8.
constexpr std::uint8_t Intensity(TColor32 c) {
    return static_cast<std::uint8_t>(
        (RedComponent(c) * 61u + GreenComponent(c) * 174u + BlueComponent(c) * 21u) >> 8);
}

// Maps R, G and B of every src pixel through lut into dst. With preserveAlpha dst keeps its own
// alpha, otherwise it takes src's. A dst of another size first becomes a copy of src, so that
// no pixel is left without an alpha. dst and src may be the same bitmap.
void ApplyLUT(TBitmap32& dst, const TBitmap32& src, const TLUT8& lut, bool preserveAlpha);
// dst's alpha := the intensity of src's pixel; dst's colours stay. Sizes must be equal
// (std::invalid_argument otherwise).
void IntensityToAlpha(TBitmap32& dst, const TBitmap32& src);
// R = G = B := intensity, alpha kept.
void ColorToGrayscale(TBitmap32& bitmap);
// All four channels := 255 - value.
void Invert(TBitmap32& bitmap);
// R, G and B := 255 - value, alpha kept.
void InvertRGB(TBitmap32& bitmap);
// Every pixel whose R, G, B equal those of color gets alpha 0; its colour is kept.
void MakeColorTransparent(TBitmap32& bitmap, TColor32 color);

// Mirrors left to right and top to bottom, in place.
void FlipHorz(TBitmap32& bitmap);
void FlipVert(TBitmap32& bitmap);
// Quarter turns in place: clockwise and counter-clockwise; width and height swap.
void Rotate90(TBitmap32& bitmap);
void Rotate270(TBitmap32& bitmap);

// Whether width x height can be the size of an edited image: at least 1 x 1 and within the
// bitmap limits.
bool ValidImageSize(int width, int height);
// src resampled to width x height by taking, for every new pixel, the old pixel under its
// centre (nearest neighbour), alpha included. Sizes that ValidImageSize refuses throw
// std::length_error.
TBitmap32 ResampleNearest(const TBitmap32& src, int width, int height);

// The nine anchors of a canvas resize in reading order, 1 top-left ... 9 bottom-right.
// Where the old image's top-left corner lands on the new canvas: "half" of each size is
// taken separately (half 4 - half 3 = 1). Anchors outside 1..9 count as top-left.
TPoint CanvasOffset(int anchor, int oldWidth, int oldHeight, int newWidth, int newHeight);
// A newWidth x newHeight canvas of fill with src drawn at the anchor's offset in the given
// mode; what leaves the canvas is cut off. Refused sizes throw std::length_error.
TBitmap32 ResizeCanvas(const TBitmap32& src, int newWidth, int newHeight, int anchor, TColor32 fill,
                       TDrawMode mode = TDrawMode::dmOpaque);
// The part of src inside area; the part of area outside src is fill. An empty area gives an
// empty bitmap; a refused size throws std::length_error.
TBitmap32 Crop(const TBitmap32& src, const TRect& area, TColor32 fill);

// Fills the 4-connected region around (x, y) whose pixels have exactly the R, G, B of the
// pixel at (x, y) with color. Works without recursion, so any image size is safe; a start
// outside the bitmap does nothing. Returns the number of pixels filled.
std::int64_t FloodFill(TBitmap32& bitmap, int x, int y, TColor32 color);
