#include "forms/Slider.h"

#include <windows.h>

#include <algorithm>

#include "forms/Handles.h"

namespace {
constexpr int kTrackMargin = 6; // room for the thumb at either end of the track
}

TSlider::TSlider(TForm* owner, std::wstring name, TWindow* parent)
    : TPaintedControl(owner, std::move(name), parent) {
    CreateOwnWindow(L"TolvexSlider", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, parent->Handle(), 0, 0, 150, 32,
                    nullptr, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

void TSlider::SetRange(int minValue, int maxValue, int increment) {
    min_ = minValue;
    max_ = std::max(minValue, maxValue);
    increment_ = std::max(1, increment);
    value_ = Clamp(value_);
    InvalidateRect(Handle(), nullptr, TRUE);
}

int TSlider::Clamp(int value) const {
    return std::clamp(value, min_, max_);
}

void TSlider::SetValue(int value) {
    if (!ChangeProperty(value_, Clamp(value)))
        return;
    InvalidateRect(Handle(), nullptr, TRUE);
    if (OnChange)
        OnChange(this);
}

int TSlider::ValueAt(int x) const {
    RECT r;
    GetClientRect(Handle(), &r);
    const int track = std::max(1, static_cast<int>(r.right) - 2 * kTrackMargin);
    const int pos = std::clamp(x - kTrackMargin, 0, track);
    const long long range = static_cast<long long>(max_) - min_;
    // Position to value, then to the nearest whole step from the minimum.
    const long long raw = range * pos / track;
    const long long steps = (raw + increment_ / 2) / increment_;
    return Clamp(static_cast<int>(min_ + steps * increment_));
}

void TSlider::MouseDown(TMouseButton button, int x, int) {
    if (button != TMouseButton::Left)
        return;
    SetFocus(Handle());
    dragging_ = true;
    SetValue(ValueAt(x));
}

void TSlider::MouseMove(int x, int) {
    if (dragging_)
        SetValue(ValueAt(x));
}

void TSlider::MouseUp(TMouseButton button, int, int) {
    if (button == TMouseButton::Left)
        dragging_ = false;
}

void TSlider::MouseCaptureLost() {
    // Another window took the mouse: the value stays where the drag had put it.
    dragging_ = false;
}

LRESULT TSlider::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETDLGCODE)
        return DLGC_WANTARROWS;
    if (msg == WM_KEYDOWN) {
        if (wParam == VK_LEFT || wParam == VK_DOWN) {
            SetValue(value_ - increment_);
            return 0;
        }
        if (wParam == VK_RIGHT || wParam == VK_UP) {
            SetValue(value_ + increment_);
            return 0;
        }
    }
    return TPaintedControl::WndProc(msg, wParam, lParam);
}

void TSlider::Paint(HDC dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    const int track = std::max(1, static_cast<int>(r.right) - 2 * kTrackMargin);
    const int mid = 10;
    RECT groove{kTrackMargin, mid - 2, kTrackMargin + track, mid + 2};
    DrawEdge(dc, &groove, EDGE_SUNKEN, BF_RECT);
    // Tick points at every step, thinned so that no two are closer than four pixels.
    const long long range = static_cast<long long>(max_) - min_;
    const long long steps = range / increment_;
    const long long every = steps > 0 ? std::max<long long>(1, (steps * 4 + track - 1) / track) : 1;
    for (long long s = 0; s <= steps; s += every) {
        const int x = kTrackMargin + static_cast<int>(s * increment_ * track / std::max<long long>(1, range));
        SetPixel(dc, x, mid + 8, GetSysColor(COLOR_BTNSHADOW));
        SetPixel(dc, x, mid + 9, GetSysColor(COLOR_BTNSHADOW));
    }
    const int thumbX =
        kTrackMargin +
        (range > 0 ? static_cast<int>((static_cast<long long>(value_) - min_) * track / range) : 0);
    RECT thumb{thumbX - 4, mid - 7, thumbX + 5, mid + 7};
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}
