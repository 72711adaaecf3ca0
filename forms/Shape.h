#pragma once
// A colour swatch: a rectangle filled with its brush colour inside a thin dark frame, with
// the presses of any mouse button reported to its owner.
#include <windows.h>

#include <functional>

#include "core/Bitmap32.h"
#include "forms/PaintedControl.h"

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, int x, int y)>;

class TShape : public TPaintedControl<TControl> {
public:
    TShape(TForm* owner, std::wstring name, TWindow* parent);

    // The fill colour as a colour value (0x00BBGGRR).
    TColor BrushColor() const { return brushColor_; }
    void SetBrushColor(TColor color);

    TMouseEvent OnMouseDown;

protected:
    void Paint(HDC dc) override;
    void MouseDown(TMouseButton button, int x, int y) override;

private:
    TColor brushColor_ = 0xFFFFFF;
};
