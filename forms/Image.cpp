#include "forms/Image.h"

#include <windows.h>

TImage::TImage(TForm* owner, std::wstring name, TWindow* parent)
    : TPaintedControl(owner, std::move(name), parent) {
    CreateOwnWindow(L"TolvexImage", WS_CHILD | WS_VISIBLE, 0, parent->Handle(), 0, 0, 105, 105, nullptr,
                    CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

void TImage::SetPicture(const TPicture& picture) {
    picture_ = picture;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TImage::Paint(HDC dc) {
    picture_.Draw(dc, RECT{0, 0, picture_.Width(), picture_.Height()});
}
