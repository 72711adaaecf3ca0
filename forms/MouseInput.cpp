#include "forms/MouseInput.h"

#include <windows.h>

namespace {
int XOf(LPARAM lParam) {
    return static_cast<short>(LOWORD(lParam));
}
int YOf(LPARAM lParam) {
    return static_cast<short>(HIWORD(lParam));
}

bool InClient(HWND wnd, int x, int y) {
    RECT client{};
    GetClientRect(wnd, &client);
    return x >= client.left && y >= client.top && x < client.right && y < client.bottom;
}

void ArmLeaveNotification(HWND wnd) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = wnd;
    TrackMouseEvent(&track);
}
} // namespace

void TMouseInput::TrackPointer(HWND wnd, int x, int y) {
    const bool inside = InClient(wnd, x, y);
    if (inside && !over_) {
        over_ = true;
        ArmLeaveNotification(wnd);
        NotifyMouseEnter();
    } else if (!inside && over_) {
        over_ = false;
        NotifyMouseLeave();
    }
}

bool TMouseInput::HandleMouseMessage(HWND wnd, UINT msg, LPARAM lParam) {
    const int x = XOf(lParam);
    const int y = YOf(lParam);
    switch (msg) {
    case WM_MOUSEMOVE:
        // While the left button holds the mouse, moves outside arrive here too and are
        // the only way to tell that the pointer left.
        TrackPointer(wnd, x, y);
        MouseMove(x, y);
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(wnd);
        // The second press of a double click is a press but makes no second click.
        clicked_ = msg == WM_LBUTTONDOWN;
        MouseDown(TMouseButton::Left, x, y);
        return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        MouseDown(TMouseButton::Right, x, y);
        return true;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        MouseDown(TMouseButton::Middle, x, y);
        return true;
    case WM_LBUTTONUP: {
        const bool click = clicked_ && InClient(wnd, x, y);
        clicked_ = false;
        if (GetCapture() == wnd)
            ReleaseCapture();
        if (click)
            Click();
        MouseUp(TMouseButton::Left, x, y);
        // The capture may have cancelled the leave notification; ask for it again.
        if (over_)
            ArmLeaveNotification(wnd);
        return true;
    }
    case WM_RBUTTONUP:
        MouseUp(TMouseButton::Right, x, y);
        return true;
    case WM_MBUTTONUP:
        MouseUp(TMouseButton::Middle, x, y);
        return true;
    case WM_MOUSELEAVE:
        if (over_ && GetCapture() != wnd) {
            over_ = false;
            NotifyMouseLeave();
        }
        return true;
    default:
        return false;
    }
}
