#pragma once
// A panel that paints its whole face itself (the system never erases its background, so
// it does not flicker), reports the mouse moving onto and off it, and can drag its form
// when the form is its direct parent.
#include <windows.h>

#include <cstdint>

#include "forms/PaintedControl.h"
#include "shell/components/MouseHover.h"

class TSPanel : public TMouseHover<TPaintedControl<TPanel>> {
public:
    enum class TAlignment : std::uint8_t { LeftJustify = 0, RightJustify = 1, Center = 2 };
    enum class TBevel : std::uint8_t { None = 0, Lowered = 1, Raised = 2 };

    TSPanel(TForm* owner, std::wstring name, TWindow* parent);

    bool EraseBkgnd = true;
    // A left press and drag on the panel moves the form.
    bool DragForm = false;
    TAlignment Alignment = TAlignment::Center;
    TBevel BevelOuter = TBevel::Raised;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The standard panel face: bevel, colour and the caption centred vertically.
    void Paint(HDC dc) override;
    // Draws the caption across rect, vertically centred on one line of text.
    void DrawCaption(HDC dc, RECT rect) const;

    void MouseDown(TMouseButton button, int x, int y) override;
    void MouseMove(int x, int y) override;
    void MouseUp(TMouseButton button, int x, int y) override;
    void MouseCaptureLost() override;

private:
    HFONT font_ = nullptr;
    int dragStartX_ = 0;
    int dragStartY_ = 0;
    bool dragging_ = false;
};
