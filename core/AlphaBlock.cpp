#include "core/AlphaBlock.h"

std::size_t AlphaBlockSize(const TBitmap32& image) {
    return kAlphaBlockHeaderSize +
           static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(image.Height());
}

bool WriteAlphaBlock(const TBitmap32& image, std::span<std::uint8_t> out) {
    if (out.size() < AlphaBlockSize(image))
        return false;
    // The size limits of TBitmap32 keep the pixel count well inside 32 bits.
    const auto count = static_cast<std::uint32_t>(AlphaBlockSize(image) - kAlphaBlockHeaderSize);
    for (std::size_t i = 0; i < kAlphaBlockHeaderSize; ++i)
        out[i] = static_cast<std::uint8_t>(count >> (8 * i));
    const TColor32* pixels = image.Bits();
    for (std::size_t i = 0; i < count; ++i)
        out[kAlphaBlockHeaderSize + i] = AlphaComponent(pixels[i]);
    return true;
}

std::vector<std::uint8_t> EncodeAlphaBlock(const TBitmap32& image) {
    std::vector<std::uint8_t> block(AlphaBlockSize(image));
    WriteAlphaBlock(image, block);
    return block;
}

bool ApplyAlphaBlock(std::span<const std::uint8_t> block, TBitmap32& image) {
    if (block.size() < kAlphaBlockHeaderSize)
        return false;
    std::uint64_t count = 0;
    for (std::size_t i = 0; i < kAlphaBlockHeaderSize; ++i)
        count |= std::uint64_t{block[i]} << (8 * i);
    // Compared in 64 bits, so that no count from outside can wrap around the check.
    const auto pixelCount =
        static_cast<std::uint64_t>(image.Width()) * static_cast<std::uint64_t>(image.Height());
    if (count != pixelCount || block.size() - kAlphaBlockHeaderSize < count)
        return false;
    TColor32* pixels = image.Bits();
    for (std::size_t i = 0; i < count; ++i)
        pixels[i] = (pixels[i] & 0x00FFFFFFu) | (TColor32{block[kAlphaBlockHeaderSize + i]} << 24);
    return true;
}
