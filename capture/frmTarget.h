#pragma once
// The picker's frame: a coloured ring on the inside of the edge of the window the picker
// points at (lime for a control, red for a window, yellow for an icon).
#include <windows.h>

#include "capture/SolidForm.h"
#include "core/Geometry.h"

class TTargetForm : public TSolidForm {
public:
    TTargetForm();

    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);

    // Hides the frame, lays it as a ring over a window's rectangle (screen coordinates) and
    // shows it again, just below the picker so that clicks keep landing on the arrow.
    void FrameWindow(const TRect& bounds, HWND picker);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// The live frame window while a picker runs; cleared when the frame closes.
extern TTargetForm* TargetForm;
