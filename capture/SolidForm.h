#pragma once
// The picker's windows: borderless forms with no owner window, painted in one colour and
// cut to a shape by a window region, kept above all other windows as tool windows
// (no task-bar button).
#include <windows.h>

#include <span>

#include "core/Bitmap32.h"
#include "core/Geometry.h"
#include "forms/Form.h"
#include "forms/Handles.h"

class TSolidForm : public TForm {
public:
    TSolidForm(std::wstring name, int width, int height, TColor color);

    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // The window's new shape: the union of the rectangles (window coordinates); the
    // window takes the region over.
    void SetRegion(std::span<const TRect> rects);
    void SetPolygonRegion(std::span<const TPoint> points);
    // The tool-window style and the topmost place, as both picker windows take them at
    // creation.
    void MakeTopmostToolWindow();
    // Shows the window without taking the activation from the window that has it.
    void ShowNoActivate();

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyRegion(HRGN region);
    TColor color_;
    TGdiObject brush_;
};
