#include "capture/SolidForm.h"

#include <windows.h>

#include <vector>

#include "forms/Exceptions.h"

namespace {
TFormDesign SolidDesign(int width, int height) {
    TFormDesign d;
    d.Border = TBorderStyle::None;
    d.Position = TPosition::ScreenCenter;
    d.Width = width;
    d.Height = height;
    return d;
}
} // namespace

// No owner form: the window has no owner window, so it never follows the main window's
// hiding or minimising.
TSolidForm::TSolidForm(std::wstring name, int width, int height, TColor color)
    : TForm(nullptr, std::move(name), SolidDesign(width, height)), color_(color) {
    brush_.Reset(CreateSolidBrush(static_cast<COLORREF>(color_)));
}

void TSolidForm::SetColor(TColor color) {
    if (color == color_)
        return;
    color_ = color;
    brush_.Reset(CreateSolidBrush(static_cast<COLORREF>(color_)));
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TSolidForm::ApplyRegion(HRGN region) {
    TGdiObject owned(region);
    if (!region)
        RaiseLastOSError(L"CreateRgn");
    // On success the system owns the region.
    if (SetWindowRgn(Handle(), region, TRUE))
        owned.Release();
}

void TSolidForm::SetRegion(std::span<const TRect> rects) {
    TGdiObject all(CreateRectRgn(0, 0, 0, 0));
    if (!all)
        RaiseLastOSError(L"CreateRectRgn");
    for (const TRect& r : rects) {
        TGdiObject part(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
        if (!part)
            RaiseLastOSError(L"CreateRectRgn");
        CombineRgn(static_cast<HRGN>(all.Get()), static_cast<HRGN>(all.Get()), static_cast<HRGN>(part.Get()),
                   RGN_OR);
    }
    ApplyRegion(static_cast<HRGN>(all.Release()));
}

void TSolidForm::SetPolygonRegion(std::span<const TPoint> points) {
    std::vector<POINT> corners;
    for (const TPoint& p : points)
        corners.push_back({p.X, p.Y});
    ApplyRegion(CreatePolygonRgn(corners.data(), static_cast<int>(corners.size()), ALTERNATE));
}

void TSolidForm::MakeTopmostToolWindow() {
    SetWindowLongW(Handle(), GWL_EXSTYLE, GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TSolidForm::ShowNoActivate() {
    if (!Visible())
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

LRESULT TSolidForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(Handle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(brush_.Get()));
        return 1;
    }
    return TForm::WndProc(msg, wParam, lParam);
}
