#include "forms/PaintedControl.h"

#include <windows.h>

template <class TBase> LRESULT TPaintedControl<TBase>::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND wnd = this->Handle();
    if (HandleMouseMessage(wnd, msg, lParam))
        return 0;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        if (HDC dc = BeginPaint(wnd, &ps)) {
            Paint(dc);
            EndPaint(wnd, &ps);
        }
        return 0;
    }
    case WM_SETCURSOR:
        // Over the borders and elsewhere the system chooses the pointer.
        if (cursor_ && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(cursor_);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return TBase::WndProc(msg, wParam, lParam);
}

template <class TBase> void TPaintedControl<TBase>::Click() {
    if (this->OnClick)
        this->OnClick(this);
}

template class TPaintedControl<TControl>;
template class TPaintedControl<TPanel>;
