#include "forms/TrackBar.h"

#include <commctrl.h>

#include <algorithm>

TTrackBar::TTrackBar(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width,
                     int height)
    : TControl(owner, std::move(name), parent) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    CreateStandardWindow(TRACKBAR_CLASSW, WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS, 0,
                         parent->Handle(), left, top, width, height);
    ApplyRange();
}

void TTrackBar::ApplyRange() {
    SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min_);
    SendMessageW(Handle(), TBM_SETRANGEMAX, TRUE, max_);
    SendMessageW(Handle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetMin(int value) {
    min_ = value;
    max_ = std::max(max_, value);
    ApplyRange();
    SetPosition(position_);
}

void TTrackBar::SetMax(int value) {
    max_ = value;
    min_ = std::min(min_, value);
    ApplyRange();
    SetPosition(position_);
}

void TTrackBar::SetPosition(int value) {
    value = std::clamp(value, min_, max_);
    SendMessageW(Handle(), TBM_SETPOS, TRUE, value);
    if (value == position_)
        return;
    position_ = value;
    if (OnChange)
        OnChange(this);
}

void TTrackBar::SetFrequency(int frequency) {
    SendMessageW(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(std::max(frequency, 1)), 0);
}

void TTrackBar::SyncPosition() {
    const int now = static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
    if (now == position_)
        return;
    position_ = now;
    if (OnChange)
        OnChange(this);
}

LRESULT TTrackBar::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = TControl::WndProc(msg, wParam, lParam);
    // The control moves its thumb itself on mouse and key input; the change is seen here.
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_KEYDOWN:
    case WM_TIMER:
        SyncPosition();
        break;
    default:
        break;
    }
    return result;
}
