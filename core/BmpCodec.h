#pragma once
// The BMP file format of the undo states, the auto-saved captures and the documents saved
// as .bmp. Encoding and decoding are our own so that alpha survives a round trip whatever
// the platform's image libraries do with it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Bitmap32.h"

// A BMP file of 24 bits per pixel: alpha is dropped, rows bottom-up and padded to 4 bytes.
std::vector<std::uint8_t> EncodeBmp24(const TBitmap32& image);

// A BMP file of 32 bits per pixel with an explicit alpha mask, so that alpha survives our
// own decoder and other readers see it too.
std::vector<std::uint8_t> EncodeBmp32(const TBitmap32& image);

// Reads a whole BMP file (file header first). Bit depths 1, 4 and 8 (palette), 16, 24 and
// 32, uncompressed or with colour masks, bottom-up or top-down. A 32-bit file without an
// alpha mask whose alpha bytes are all 0 is opaque. On failure `out` is left unchanged and
// `error` says why; a damaged file never reads past the end of `data`.
bool DecodeBmp(std::span<const std::uint8_t> data, TBitmap32& out, std::string& error);

// The same for a packed device-independent bitmap: the info header, colour masks, palette
// and pixels in a row without a file header (the clipboard's device-independent format).
bool DecodeDib(std::span<const std::uint8_t> data, TBitmap32& out, std::string& error);
