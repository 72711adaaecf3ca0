#pragma once
// 32-bit ARGB bitmap of the editor and the capture code. Pixels are 0xAARRGGBB, stored
// row by row from the top, so the bytes of one pixel are B, G, R, A: the layout of a
// top-down 32-bit Windows DIB, which lets GDI draw straight into the pixels.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

using TColor32 = std::uint32_t;
// The colour value of settings and tool colours: 0x00BBGGRR (red in the low byte).
using TColor = std::int32_t;

constexpr std::uint8_t AlphaComponent(TColor32 c) {
    return static_cast<std::uint8_t>(c >> 24);
}
constexpr std::uint8_t RedComponent(TColor32 c) {
    return static_cast<std::uint8_t>(c >> 16);
}
constexpr std::uint8_t GreenComponent(TColor32 c) {
    return static_cast<std::uint8_t>(c >> 8);
}
constexpr std::uint8_t BlueComponent(TColor32 c) {
    return static_cast<std::uint8_t>(c);
}
constexpr TColor32 Color32(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
    return (TColor32{a} << 24) | (TColor32{r} << 16) | (TColor32{g} << 8) | TColor32{b};
}
// An opaque ARGB colour from a 0x00BBGGRR colour value.
constexpr TColor32 Color32(TColor c) {
    const auto v = static_cast<std::uint32_t>(c);
    return Color32(static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                   static_cast<std::uint8_t>(v >> 16));
}
// The 0x00BBGGRR colour value of an ARGB colour (alpha dropped).
constexpr TColor WinColor(TColor32 c) {
    return static_cast<TColor>(TColor32{RedComponent(c)} | (TColor32{GreenComponent(c)} << 8) |
                               (TColor32{BlueComponent(c)} << 16));
}

namespace bitmap_detail {
// Leaves new pixels unset when a store grows, so that pictures about to be overwritten
// entirely are not cleared first; every other path still fills them explicitly.
template <class T> struct TNoInitAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = TNoInitAllocator<U>; };
    TNoInitAllocator() = default;
    template <class U> TNoInitAllocator(const TNoInitAllocator<U>&) noexcept {}
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... A> void construct(U* p, A&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<A>(args)...);
    }
};
} // namespace bitmap_detail

class TBitmap32 {
public:
    // The largest side and pixel count accepted, so that sizes from files or other
    // programs can never overflow the arithmetic or exhaust memory silently.
    static constexpr int kMaxSide = 65535;
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

    TBitmap32() = default;
    TBitmap32(int width, int height, TColor32 fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // Whether a size can be held; a negative side, or one past the limits, cannot.
    static bool ValidSize(int width, int height);
    // Resizes; the contents are cleared to 0 (transparent black). Throws std::length_error
    // for a size that ValidSize refuses.
    void SetSize(int width, int height);
    // Resizes without clearing: for a caller that writes every pixel right afterwards.
    void SetSizeForOverwrite(int width, int height);
    // Grows an empty bitmap, or one of this width, by count rows below the present ones,
    // which keep their pixels, and returns the first new row (its pixels unset, for the
    // caller to write). Throws std::invalid_argument for another width or a negative count,
    // std::length_error past the limits.
    TColor32* AppendRows(int width, int count);
    // Room for this many pixels, so that appending rows up to there moves nothing.
    void Reserve(std::size_t pixels) { bits_.reserve(pixels); }
    void Clear(TColor32 color);

    TColor32* Bits() { return bits_.data(); }
    const TColor32* Bits() const { return bits_.data(); }
    TColor32* ScanLine(int y) { return bits_.data() + static_cast<std::size_t>(y) * Stride(); }
    const TColor32* ScanLine(int y) const { return bits_.data() + static_cast<std::size_t>(y) * Stride(); }
    TColor32 Pixel(int x, int y) const { return ScanLine(y)[x]; }
    void SetPixel(int x, int y, TColor32 c) { ScanLine(y)[x] = c; }
    // Pixel access that ignores places outside the bitmap.
    TColor32 PixelS(int x, int y) const { return Contains(x, y) ? Pixel(x, y) : 0; }
    void SetPixelS(int x, int y, TColor32 c) {
        if (Contains(x, y))
            SetPixel(x, y, c);
    }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Sets every pixel's alpha to the given value (opaque by default).
    void ResetAlpha(std::uint8_t alpha = 255);

    bool operator==(const TBitmap32&) const = default;

private:
    std::size_t Stride() const { return static_cast<std::size_t>(width_); }
    int width_ = 0;
    int height_ = 0;
    std::vector<TColor32, bitmap_detail::TNoInitAllocator<TColor32>> bits_;
};
