#pragma once
// The class library's bitmap: a GDI bitmap with a memory device context to draw on. The
// capture code grabs the screen into one; documents hold TBitmap32 pictures instead.
#include <windows.h>

#include <cstdint>

#include "core/Bitmap32.h"
#include "forms/Handles.h"

enum class TPixelFormat : std::uint8_t {
    pfDevice = 0, // compatible with the screen; no direct pixel access
    pf24bit = 1,
    pf32bit = 2,
};

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format);
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;
    ~TBitmap();

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    TPixelFormat PixelFormat() const { return format_; }
    // Changes the format, keeping the picture (a 32-bit result has alpha 0, as GDI leaves it).
    void SetPixelFormat(TPixelFormat format);
    // Makes a new picture of that size, black; sizes TBitmap32::ValidSize refuses throw.
    void SetSize(int width, int height);

    // The memory device context the bitmap is selected into, made on first use.
    HDC Canvas() const;
    // The bitmap itself; null while the bitmap is empty.
    HBITMAP Handle() const { return static_cast<HBITMAP>(bitmap_.Get()); }
    // The first byte of row y, counted from the top, of a 24- or 32-bit bitmap: pixels B, G,
    // R (and A). Pending GDI drawing is finished first.
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    // Bytes from one row to the next (rows of 24-bit pixels are padded to 4 bytes).
    std::size_t ScanLineSize() const;

    // Copies the picture of a bitmap owned elsewhere (the clipboard's), taking its size and
    // keeping this bitmap's pixel format.
    void Assign(HBITMAP source);
    // A new screen-compatible copy of the picture, for handing over to an owner that frees
    // it (the clipboard).
    HBITMAP CopyHandle() const;

private:
    void Recreate(int width, int height, TPixelFormat format, bool keepPicture);
    void Deselect() const;
    void Select() const;

    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = TPixelFormat::pfDevice;
    TGdiObject bitmap_;
    std::uint8_t* bits_ = nullptr;
    // The canvas is a cache that even a const bitmap may create.
    mutable TMemDC dc_;
    mutable HGDIOBJ previous_ = nullptr;
};

// Copies a bitmap into a 32-bit picture; 24-bit and device pixels become opaque, 32-bit
// pixels keep their alpha.
void AssignToBitmap32(const TBitmap& source, TBitmap32& dest);
// Makes the bitmap a 32-bit copy of the picture, alpha included.
void AssignFromBitmap32(TBitmap& dest, const TBitmap32& source);

// The description of an uncompressed DIB of that size whose rows are stored top-down, as
// TBitmap32 keeps them.
BITMAPINFO TopDownBitmapInfo(int width, int height, WORD bitCount = 32);

// The RGB of a colour value: a value with the high bit set names a system colour by the
// index in its low byte and stands for that colour as the system shows it now.
COLORREF ColorToRgb(TColor color);
