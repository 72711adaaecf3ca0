#include "core/Bitmap32.h"

#include <algorithm>
#include <stdexcept>

#include "core/PixelRows.h"

TBitmap32::TBitmap32(int width, int height, TColor32 fill) {
    SetSizeForOverwrite(width, height);
    Clear(fill);
}

bool TBitmap32::ValidSize(int width, int height) {
    return width >= 0 && height >= 0 && width <= kMaxSide && height <= kMaxSide &&
           std::int64_t{width} * height <= kMaxPixels;
}

void TBitmap32::SetSize(int width, int height) {
    if (!ValidSize(width, height))
        throw std::length_error("Bitmap size out of range");
    if (width == 0 || height == 0)
        width = height = 0;
    bits_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    width_ = width;
    height_ = height;
}

void TBitmap32::SetSizeForOverwrite(int width, int height) {
    if (!ValidSize(width, height))
        throw std::length_error("Bitmap size out of range");
    if (width == 0 || height == 0)
        width = height = 0;
    bits_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    width_ = width;
    height_ = height;
}

TColor32* TBitmap32::AppendRows(int width, int count) {
    if (count < 0 || (!Empty() && width != width_))
        throw std::invalid_argument("Rows of another width");
    if (Empty()) {
        SetSizeForOverwrite(width, count);
        return bits_.data();
    }
    const int oldHeight = height_;
    const std::int64_t newHeight = std::int64_t{oldHeight} + count;
    if (newHeight > kMaxSide || !ValidSize(width_, static_cast<int>(newHeight)))
        throw std::length_error("Bitmap size out of range");
    bits_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(oldHeight + count));
    height_ = static_cast<int>(newHeight);
    return ScanLine(oldHeight);
}

void TBitmap32::Clear(TColor32 color) {
    pixel_rows::FillRow(bits_.data(), bits_.size(), color);
}

void TBitmap32::ResetAlpha(std::uint8_t alpha) {
    pixel_rows::SetAlphaRow(bits_.data(), bits_.data(), bits_.size(), alpha);
}
