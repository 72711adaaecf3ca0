#include "shell/components/SPanel.h"

#include <windows.h>

#include "forms/Form.h"
#include "forms/Handles.h"

TSPanel::TSPanel(TForm* owner, std::wstring name, TWindow* parent)
    : TMouseHover(owner, std::move(name), parent) {
    // The panel's own window class keeps no font; the form's is taken here and on change.
    if (owner)
        font_ = owner->FontHandle();
}

void TSPanel::Paint(HDC dc) {
    RECT r{};
    GetClientRect(Handle(), &r);
    if (BevelOuter != TBevel::None) {
        DrawEdge(dc, &r, BevelOuter == TBevel::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
                 BF_RECT | BF_ADJUST);
    }
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawCaption(dc, r);
}

void TSPanel::DrawCaption(HDC dc, RECT rect) const {
    const std::wstring caption = Caption();
    TSelectObject select(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SIZE w{};
    GetTextExtentPoint32W(dc, L"W", 1, &w);
    rect.top = (rect.top + rect.bottom - w.cy) / 2;
    rect.bottom = rect.top + w.cy;
    UINT flags = DT_EXPANDTABS | DT_VCENTER;
    flags |= Alignment == TAlignment::LeftJustify    ? DT_LEFT
             : Alignment == TAlignment::RightJustify ? DT_RIGHT
                                                     : DT_CENTER;
    if (GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING)
        flags |= DT_RTLREADING;
    DrawTextW(dc, caption.c_str(), -1, &rect, flags);
}

LRESULT TSPanel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        // Never passed on: the painting covers the whole face.
        return 0;
    case WM_PRINTCLIENT:
        // Drawing into another device context (window printing, animation) shows the same face.
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT: {
        const LRESULT result = TMouseHover::WndProc(msg, wParam, lParam);
        InvalidateRect(Handle(), nullptr, FALSE);
        return result;
    }
    default:
        return TMouseHover::WndProc(msg, wParam, lParam);
    }
}

void TSPanel::MouseDown(TMouseButton button, int x, int y) {
    TMouseInput::MouseDown(button, x, y);
    if (button == TMouseButton::Left && DragForm) {
        dragging_ = true;
        dragStartX_ = x;
        dragStartY_ = y;
    }
}

void TSPanel::MouseMove(int x, int y) {
    TMouseInput::MouseMove(x, y);
    auto* form = dynamic_cast<TForm*>(Parent());
    if (!dragging_ || !form)
        return;
    // The start stays where the press was: the panel moves with its form, so the pointer
    // comes back to the start in panel coordinates once the form has followed.
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    if (GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(form->Handle()), reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(form->Handle(), nullptr, r.left + x - dragStartX_, r.top + y - dragStartY_, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSPanel::MouseUp(TMouseButton button, int x, int y) {
    TMouseInput::MouseUp(button, x, y);
    dragging_ = false;
}

void TSPanel::MouseCaptureLost() {
    // Another window took the mouse: the form stays where the drag had moved it.
    dragging_ = false;
}
