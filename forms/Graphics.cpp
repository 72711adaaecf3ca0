#include "forms/Graphics.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "forms/Exceptions.h"

namespace {

std::wstring SizeText(int width, int height) {
    return std::to_wstring(width) + L" x " + std::to_wstring(height);
}

// A new GDI bitmap of the format; bits receives the pixels of a DIB section.
HBITMAP CreateBitmapOf(int width, int height, TPixelFormat format, std::uint8_t*& bits) {
    bits = nullptr;
    if (format == TPixelFormat::pfDevice) {
        TWindowDC screen(nullptr);
        return screen ? CreateCompatibleBitmap(screen.Get(), width, height) : nullptr;
    }
    const BITMAPINFO info = TopDownBitmapInfo(width, height, format == TPixelFormat::pf24bit ? 24 : 32);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<std::uint8_t*>(pixels);
    return bitmap;
}

} // namespace

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) {
    SetSize(width, height);
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)),
      format_(std::exchange(other.format_, TPixelFormat::pfDevice)), bitmap_(std::move(other.bitmap_)),
      bits_(std::exchange(other.bits_, nullptr)), dc_(std::move(other.dc_)),
      previous_(std::exchange(other.previous_, nullptr)) {}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
    if (this != &other) {
        Deselect();
        dc_.Reset();
        bitmap_ = std::move(other.bitmap_);
        dc_ = std::move(other.dc_);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        format_ = std::exchange(other.format_, TPixelFormat::pfDevice);
        bits_ = std::exchange(other.bits_, nullptr);
        previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
}

TBitmap::~TBitmap() {
    // A bitmap still selected into a device context cannot be deleted.
    Deselect();
    dc_.Reset();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format != format_)
        Recreate(width_, height_, format, true);
}

void TBitmap::SetSize(int width, int height) {
    if (width != width_ || height != height_ || (!bitmap_ && !Empty()))
        Recreate(width, height, format_, false);
}

HDC TBitmap::Canvas() const {
    if (!dc_) {
        dc_.Reset(CreateCompatibleDC(nullptr));
        if (!dc_)
            RaiseLastOSError(L"Cannot create a drawing surface");
        Select();
    }
    return dc_.Get();
}

std::uint8_t* TBitmap::ScanLine(int y) {
    return const_cast<std::uint8_t*>(std::as_const(*this).ScanLine(y));
}

const std::uint8_t* TBitmap::ScanLine(int y) const {
    if (format_ == TPixelFormat::pfDevice)
        throw Exception(L"Scan lines need a bitmap of 24 or 32 bits per pixel");
    if (y < 0 || y >= height_ || bits_ == nullptr)
        throw Exception(L"Scan line index out of range");
    // GDI may still be drawing into the pixels in the background.
    GdiFlush();
    return bits_ + static_cast<std::size_t>(y) * ScanLineSize();
}

std::size_t TBitmap::ScanLineSize() const {
    const std::size_t bits = format_ == TPixelFormat::pf24bit ? 24 : 32;
    return (static_cast<std::size_t>(width_) * bits + 31) / 32 * 4;
}

void TBitmap::Assign(HBITMAP source) {
    BITMAP info{};
    if (!source || !GetObjectW(source, sizeof(info), &info))
        throw Exception(L"The bitmap to copy is not valid");
    if (source == Handle())
        return;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    TBitmap copy(info.bmWidth, height, format_);
    if (!copy.Empty()) {
        TMemDC from(CreateCompatibleDC(nullptr));
        if (!from)
            RaiseLastOSError(L"Cannot create a drawing surface");
        // A bitmap selected into another device context cannot be selected here.
        const HGDIOBJ previous = SelectObject(from.Get(), source);
        if (!previous || previous == HGDI_ERROR)
            throw Exception(L"The bitmap to copy is in use");
        const BOOL copied = BitBlt(copy.Canvas(), 0, 0, copy.width_, copy.height_, from.Get(), 0, 0, SRCCOPY);
        const DWORD error = GetLastError();
        SelectObject(from.Get(), previous);
        if (!copied)
            RaiseOSError(error ? error : ERROR_GEN_FAILURE, L"Cannot copy the bitmap");
        GdiFlush();
    }
    *this = std::move(copy);
}

HBITMAP TBitmap::CopyHandle() const {
    if (Empty())
        throw Exception(L"An empty bitmap cannot be copied");
    TWindowDC screen(nullptr);
    TGdiObject copy(screen ? CreateCompatibleBitmap(screen.Get(), width_, height_) : nullptr);
    if (!copy)
        throw Exception(L"Not enough memory for a bitmap of " + SizeText(width_, height_) + L" pixels");
    TMemDC to(CreateCompatibleDC(nullptr));
    if (!to)
        RaiseLastOSError(L"Cannot create a drawing surface");
    {
        TSelectObject selected(to.Get(), copy.Get());
        if (!BitBlt(to.Get(), 0, 0, width_, height_, Canvas(), 0, 0, SRCCOPY))
            RaiseLastOSError(L"Cannot copy the bitmap");
        GdiFlush();
    }
    return static_cast<HBITMAP>(copy.Release());
}

void TBitmap::Recreate(int width, int height, TPixelFormat format, bool keepPicture) {
    if (!TBitmap32::ValidSize(width, height))
        throw Exception(L"Bitmap size out of range (" + SizeText(width, height) + L")");
    TGdiObject fresh;
    std::uint8_t* bits = nullptr;
    if (width > 0 && height > 0) {
        fresh.Reset(CreateBitmapOf(width, height, format, bits));
        if (!fresh)
            throw Exception(L"Not enough memory for a bitmap of " + SizeText(width, height) + L" pixels");
        // A device bitmap starts with undefined contents; DIB sections start black.
        const bool copy = keepPicture && bitmap_;
        if (copy || format == TPixelFormat::pfDevice) {
            TMemDC target(CreateCompatibleDC(nullptr));
            if (!target)
                RaiseLastOSError(L"Cannot create a drawing surface");
            TSelectObject selected(target.Get(), fresh.Get());
            PatBlt(target.Get(), 0, 0, width, height, BLACKNESS);
            if (copy)
                BitBlt(target.Get(), 0, 0, std::min(width, width_), std::min(height, height_), Canvas(), 0, 0,
                       SRCCOPY);
            GdiFlush();
        }
    }
    Deselect();
    bitmap_ = std::move(fresh);
    bits_ = bits;
    width_ = width;
    height_ = height;
    format_ = format;
    if (dc_)
        Select();
}

void TBitmap::Select() const {
    if (dc_ && bitmap_ && !previous_)
        previous_ = SelectObject(dc_.Get(), bitmap_.Get());
}

void TBitmap::Deselect() const {
    if (dc_ && previous_)
        SelectObject(dc_.Get(), std::exchange(previous_, nullptr));
}

void AssignToBitmap32(const TBitmap& source, TBitmap32& dest) {
    TBitmap32 result(source.Width(), source.Height());
    if (result.Empty()) {
        dest = std::move(result);
        return;
    }
    const int width = result.Width();
    const auto rowBytes = static_cast<std::size_t>(width) * 4;
    switch (source.PixelFormat()) {
    case TPixelFormat::pf32bit:
        for (int y = 0; y < result.Height(); ++y)
            std::memcpy(result.ScanLine(y), source.ScanLine(y), rowBytes);
        break;
    case TPixelFormat::pf24bit:
        for (int y = 0; y < result.Height(); ++y) {
            const std::uint8_t* src = source.ScanLine(y);
            TColor32* dst = result.ScanLine(y);
            for (int x = 0; x < width; ++x, src += 3)
                dst[x] = Color32(src[2], src[1], src[0]);
        }
        break;
    case TPixelFormat::pfDevice: {
        // Device pixels are only reachable through GDI: draw them into a DIB section.
        TBitmap copy(width, result.Height(), TPixelFormat::pf32bit);
        if (!BitBlt(copy.Canvas(), 0, 0, width, result.Height(), source.Canvas(), 0, 0, SRCCOPY))
            RaiseLastOSError(L"Cannot copy the bitmap");
        for (int y = 0; y < result.Height(); ++y)
            std::memcpy(result.ScanLine(y), copy.ScanLine(y), rowBytes);
        result.ResetAlpha();
        break;
    }
    }
    dest = std::move(result);
}

void AssignFromBitmap32(TBitmap& dest, const TBitmap32& source) {
    if (dest.PixelFormat() != TPixelFormat::pf32bit || dest.Width() != source.Width() ||
        dest.Height() != source.Height())
        dest = TBitmap(source.Width(), source.Height(), TPixelFormat::pf32bit);
    const auto rowBytes = static_cast<std::size_t>(source.Width()) * 4;
    for (int y = 0; y < source.Height(); ++y)
        std::memcpy(dest.ScanLine(y), source.ScanLine(y), rowBytes);
}

BITMAPINFO TopDownBitmapInfo(int width, int height, WORD bitCount) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

COLORREF ColorToRgb(TColor color) {
    if (color < 0)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}
