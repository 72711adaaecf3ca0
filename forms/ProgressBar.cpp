#include "forms/ProgressBar.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "forms/Exceptions.h"

TProgressBar::TProgressBar(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width,
                           int height)
    : TControl(owner, std::move(name), parent) {
    // The class is registered by the common controls; registering again is harmless.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    CreateStandardWindow(PROGRESS_CLASSW, WS_CHILD | WS_VISIBLE, 0, parent->Handle(), left, top, width,
                         height);
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

void TProgressBar::SetRange(int minValue, int maxValue) {
    if (maxValue < minValue)
        throw Exception(L"Progress bar range: the maximum lies below the minimum");
    min_ = minValue;
    max_ = maxValue;
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

int TProgressBar::Position() const {
    return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
}

void TProgressBar::SetPosition(int position) {
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(std::clamp(position, min_, max_)), 0);
}
