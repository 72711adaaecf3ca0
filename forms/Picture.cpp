#include "forms/Picture.h"

#include <windows.h>

#include "forms/Exceptions.h"
#include "forms/Graphics.h"

TPicture::TPicture(const TPicture& other) {
    SetBitmap(other.Bitmap());
}

TPicture& TPicture::operator=(const TPicture& other) {
    if (this != &other)
        SetBitmap(other.Bitmap());
    return *this;
}

void TPicture::SetBitmap(HBITMAP source) {
    if (!source) {
        Clear();
        return;
    }
    BITMAP info{};
    if (!GetObjectW(source, sizeof(info), &info))
        RaiseLastOSError(L"Picture");
    const auto copy = static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!copy)
        RaiseLastOSError(L"Picture");
    bitmap_.Reset(copy);
    width_ = info.bmWidth;
    height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
}

void TPicture::Clear() {
    bitmap_.Reset();
    width_ = 0;
    height_ = 0;
}

void TPicture::Draw(HDC dc, const RECT& dest) const {
    if (!bitmap_)
        return;
    TMemDC source(CreateCompatibleDC(dc));
    if (!source)
        return;
    TSelectObject select(source.Get(), bitmap_.Get());
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.Get(), 0, 0,
               width_, height_, SRCCOPY);
}

void TPicture::Assign(const TBitmap& source) {
    if (source.Empty()) {
        Clear();
        return;
    }
    // The source stays selected into its own canvas, so its pixels are copied from there
    // into a new bitmap rather than copying the handle.
    const BITMAPINFO bi = TopDownBitmapInfo(source.Width(), source.Height());
    void* bits = nullptr;
    TGdiObject copy(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    TMemDC dc(CreateCompatibleDC(source.Canvas()));
    if (!copy || !dc)
        RaiseLastOSError(L"Picture");
    {
        TSelectObject select(dc.Get(), copy.Get());
        BitBlt(dc.Get(), 0, 0, source.Width(), source.Height(), source.Canvas(), 0, 0, SRCCOPY);
    }
    bitmap_ = std::move(copy);
    width_ = source.Width();
    height_ = source.Height();
}
