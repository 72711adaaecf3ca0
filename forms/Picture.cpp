#include "forms/Picture.h"

#include <windows.h>

#include "forms/Exceptions.h"

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
