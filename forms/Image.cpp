#include "forms/Image.h"

#include <windows.h>

TImage::TImage(TForm* owner, std::wstring name, TWindow* parent) : TControl(owner, std::move(name), parent) {
    CreateOwnWindow(L"TolvexImage", WS_CHILD | WS_VISIBLE, 0, parent->Handle(), 0, 0, 105, 105, nullptr,
                    CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

void TImage::SetPicture(const TPicture& picture) {
    picture_ = picture;
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TImage::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (HandleMouseMessage(Handle(), msg, lParam))
        return 0;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        if (HDC dc = BeginPaint(Handle(), &ps)) {
            picture_.Draw(dc, RECT{0, 0, picture_.Width(), picture_.Height()});
            EndPaint(Handle(), &ps);
        }
        return 0;
    }
    case WM_SETCURSOR:
        if (cursor_ && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(cursor_);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return TControl::WndProc(msg, wParam, lParam);
}

void TImage::Click() {
    if (OnClick)
        OnClick(this);
}
