#include "forms/Shape.h"

#include <windows.h>

#include "forms/Handles.h"

TShape::TShape(TForm* owner, std::wstring name, TWindow* parent)
    : TPaintedControl(owner, std::move(name), parent) {
    CreateOwnWindow(L"TolvexShape", WS_CHILD | WS_VISIBLE, 0, parent->Handle(), 0, 0, 32, 32, nullptr,
                    CS_DBLCLKS, nullptr);
}

void TShape::SetBrushColor(TColor color) {
    if (ChangeProperty(brushColor_, color))
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TShape::Paint(HDC dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
    const TGdiObject brush(CreateSolidBrush(static_cast<COLORREF>(brushColor_)));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
}

void TShape::MouseDown(TMouseButton button, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, x, y);
}
