#pragma once
// What the controls that paint their own face (labels, images, the program's panels) do
// alike in their window procedure: mouse messages become the mouse calls, WM_PAINT is
// handed to Paint, the control's own pointer shows over its client area, and a click
// raises OnClick. TBase is the control class the face is painted on.
#include <windows.h>

#include "forms/Controls.h"
#include "forms/MouseInput.h"

template <class TBase> class TPaintedControl : public TBase, protected TMouseInput {
public:
    using TBase::TBase;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual void Paint(HDC) {}
    void Click() override;

    // The mouse pointer over the control; null shows the arrow. Controls that offer a
    // pointer make these public.
    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

private:
    HCURSOR cursor_ = nullptr;
};

extern template class TPaintedControl<TControl>;
extern template class TPaintedControl<TPanel>;
