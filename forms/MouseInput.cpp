#include "forms/MouseInput.h"

#include <windows.h>

namespace {
int XOf(LPARAM lParam) {
    return static_cast<short>(LOWORD(lParam));
}
int YOf(LPARAM lParam) {
    return static_cast<short>(HIWORD(lParam));
}

// The bits of the held buttons.
constexpr std::uint8_t kLeft = 1;
constexpr std::uint8_t kRight = 2;
constexpr std::uint8_t kMiddle = 4;

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

void TMouseInput::Press(HWND wnd, std::uint8_t button) {
    held_ = static_cast<std::uint8_t>(held_ | button);
    if (GetCapture() != wnd)
        SetCapture(wnd);
}

void TMouseInput::Release(HWND wnd, std::uint8_t button) {
    held_ = static_cast<std::uint8_t>(held_ & ~button);
    // The mouse stays here until the last held button comes up; this release of it is
    // no lost capture.
    if (held_ == 0 && GetCapture() == wnd)
        ReleaseCapture();
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
        Press(wnd, kLeft);
        // The second press of a double click is a press but makes no second click.
        clicked_ = msg == WM_LBUTTONDOWN;
        MouseDown(TMouseButton::Left, x, y);
        return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        Press(wnd, kRight);
        MouseDown(TMouseButton::Right, x, y);
        return true;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        Press(wnd, kMiddle);
        MouseDown(TMouseButton::Middle, x, y);
        return true;
    case WM_LBUTTONUP: {
        const bool click = clicked_ && InClient(wnd, x, y);
        clicked_ = false;
        Release(wnd, kLeft);
        if (click)
            Click();
        MouseUp(TMouseButton::Left, x, y);
        // The capture may have cancelled the leave notification; ask for it again.
        if (over_)
            ArmLeaveNotification(wnd);
        return true;
    }
    case WM_RBUTTONUP:
        Release(wnd, kRight);
        MouseUp(TMouseButton::Right, x, y);
        return true;
    case WM_MBUTTONUP:
        Release(wnd, kMiddle);
        MouseUp(TMouseButton::Middle, x, y);
        return true;
    case WM_CAPTURECHANGED:
        // Only a notification: the control's own handling still sees it.
        if (held_ != 0 && reinterpret_cast<HWND>(lParam) != wnd) {
            held_ = 0;
            clicked_ = false;
            MouseCaptureLost();
        }
        return false;
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
