#pragma once
// The alpha block: the private clipboard data that travels beside the standard bitmap so
// that a copied picture keeps its transparency. Little-endian: the pixel count N as an
// unsigned 32-bit number, then N alpha bytes in pixel order (rows from the top, each row
// from left to right). It carries no size of its own; it belongs to the bitmap put with it.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/Bitmap32.h"

constexpr std::size_t kAlphaBlockHeaderSize = 4;

// Bytes of the block for a picture: 4 + width * height.
std::size_t AlphaBlockSize(const TBitmap32& image);

// Writes the block into `out`, which must hold at least AlphaBlockSize(image) bytes.
// Returns false, writing nothing, when it is too small.
bool WriteAlphaBlock(const TBitmap32& image, std::span<std::uint8_t> out);

std::vector<std::uint8_t> EncodeAlphaBlock(const TBitmap32& image);

// Puts the block's alpha bytes into the picture's pixels, colours unchanged. The block may
// be longer than its count needs (memory blocks are rounded up), never shorter. Returns
// false and leaves the picture untouched when the block is shorter than its header, when
// its count differs from the picture's pixel count, or when it is too short for its count.
bool ApplyAlphaBlock(std::span<const std::uint8_t> block, TBitmap32& image);
