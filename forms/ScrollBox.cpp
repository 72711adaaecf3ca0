#include "forms/ScrollBox.h"

#include <windows.h>

#include "core/DockLayout.h"

TScrollBox::TScrollBox(TForm* owner, std::wstring name, TWindow* parent)
    : TPanel(owner, std::move(name), parent) {}

void TScrollBox::SetContent(TControl* content) {
    content_ = content;
    position_ = 0;
    Realign();
}

void TScrollBox::ScrollTo(int position) {
    RECT client;
    GetClientRect(Handle(), &client);
    const int clamped = content_ ? ClampScrollPosition(position, content_->Height(), client.bottom) : 0;
    if (clamped == position_)
        return;
    position_ = clamped;
    Realign();
}

void TScrollBox::Realign() {
    // Showing or hiding the scroll bar resizes the client area, which comes back here.
    if (realigning_ || !content_ || !Handle())
        return;
    realigning_ = true;
    UpdateScrollBar();
    RECT client;
    GetClientRect(Handle(), &client);
    SetWindowPos(content_->Handle(), nullptr, 0, -position_, client.right, content_->Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    realigning_ = false;
}

void TScrollBox::UpdateScrollBar() {
    RECT client;
    GetClientRect(Handle(), &client);
    const int content = content_->Height();
    // The bar's own width changes the client's width, never its height, so one pass is enough.
    position_ = ClampScrollPosition(position_, content, client.bottom);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = content > client.bottom ? content - 1 : 0;
    info.nPage = content > client.bottom ? static_cast<UINT>(client.bottom) : 0;
    info.nPos = position_;
    SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    ShowScrollBar(Handle(), SB_VERT, content > client.bottom);
}

LRESULT TScrollBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        Realign();
        return 0;
    case WM_VSCROLL: {
        RECT client;
        GetClientRect(Handle(), &client);
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), SB_VERT, &info);
        int position = position_;
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
            position -= kLineStep;
            break;
        case SB_LINEDOWN:
            position += kLineStep;
            break;
        case SB_PAGEUP:
            position -= client.bottom;
            break;
        case SB_PAGEDOWN:
            position += client.bottom;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            position = info.nTrackPos;
            break;
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = content_ ? content_->Height() : 0;
            break;
        default:
            break;
        }
        ScrollTo(position);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        // Three lines per notch of the wheel; finer wheels add up to whole lines.
        wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
        const int lines = wheelRest_ * 3 / WHEEL_DELTA;
        wheelRest_ -= lines * WHEEL_DELTA / 3;
        ScrollTo(position_ - lines * kLineStep);
        return 0;
    }
    default:
        break;
    }
    return TPanel::WndProc(msg, wParam, lParam);
}
