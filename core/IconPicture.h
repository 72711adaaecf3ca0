#pragma once
// An icon turned into a plain picture: the icon's colour image and its mask laid onto a
// white square of the capture size, as the icon capture delivers it.
#include <cstdint>
#include <vector>

#include "core/Bitmap32.h"

// The side of the picture an icon capture delivers.
constexpr int kIconPictureSize = 32;

// An icon's two images, both width x height, rows from the top. Color holds 0xAARRGGBB
// pixels; Mask holds one entry per pixel, true where the icon is transparent (the AND
// mask). An icon whose colour image carries any alpha is drawn by its alpha alone.
struct TIconImages {
    int Width = 0;
    int Height = 0;
    std::vector<TColor32> Color;
    std::vector<bool> Mask;
};

// The icon on a white kIconPictureSize square, opaque: transparent pixels stay white,
// masked pixels with colour invert the white as the screen does, alpha blends over white.
// An icon of another size is scaled to the square by its nearest pixels; images whose
// buffers do not match their size give the plain white square.
TBitmap32 IconOnWhite(const TIconImages& icon);
