#include "capture/frmTarget.h"

#include <windows.h>

#include "core/WindowClimb.h"

TTargetForm* TargetForm = nullptr;

TTargetForm::TTargetForm() : TSolidForm(L"TargetForm", 100, 100, kFrameColorControl) {
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

void TTargetForm::FormCreate(TObject*) {
    // Until a window is framed only a small square at the origin can show.
    const TRect initial[] = {kFrameInitialRegion};
    SetRegion(initial);
    MakeTopmostToolWindow();
}

void TTargetForm::FormClose(TObject*, TCloseAction& action) {
    action = TCloseAction::Free;
    if (TargetForm == this)
        TargetForm = nullptr;
}

void TTargetForm::FrameWindow(const TRect& bounds, HWND picker) {
    Hide();
    SetWindowPos(Handle(), nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The ring follows the size the window really got, which the system may have limited.
    RECT placed;
    GetWindowRect(Handle(), &placed);
    SetRegion(FrameRingRegion(placed.right - placed.left, placed.bottom - placed.top));
    ShowNoActivate();
    if (picker)
        SetWindowPos(Handle(), picker, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT TTargetForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The ring is never the window under the point: the window search and the mouse look
    // through it to what lies below.
    if (msg == WM_NCHITTEST)
        return HTTRANSPARENT;
    return TSolidForm::WndProc(msg, wParam, lParam);
}
