#pragma once
// The window picker: a small black arrow that follows the mouse, finds the window under
// the point just beyond its tip and outlines it with the frame window. A left click on
// the arrow picks the framed window; Esc or another mouse button cancels. The picker only
// reports a window handle; the capture commands copy it.
#include <windows.h>

#include "capture/SolidForm.h"
#include "forms/MouseInput.h"

class ICaptureHost;
class TTimer;

class TCaptureForm : public TSolidForm {
public:
    explicit TCaptureForm(ICaptureHost& host);
    ~TCaptureForm() override;

    TTimer* Timer1;
    // The window the frame outlines now.
    HWND LastWindow = nullptr;
    // The window a click picks: the one under the probe point at the latest tick (after
    // the climb of the window and icon modes). Null after a cancel.
    HWND SelectedWindow = nullptr;

    void FormCreate(TObject* sender);
    void FormActivate(TObject* sender);
    void Timer1Timer(TObject* sender);
    void FormClick(TObject* sender);
    void FormMouseDown(TObject* sender, TMouseButton button, int x, int y);
    void FormKeyDown(TObject* sender, WORD& key);
    void FormClose(TObject* sender, TCloseAction& action);
    void CancelPick();

    // The cursor shown over the arrow.
    HCURSOR Cursor() const { return cursor_; }

    // Keys go to the picker as they are: Esc must cancel the pick, not the modal run.
    bool PreTranslateMessage(MSG&) override { return false; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Tick();
    void SetPickerCursor(bool scroll);
    ICaptureHost& host_;
    HCURSOR cursor_ = nullptr;
    bool leftDown_ = false;
};

// The live picker while a control, window or icon capture runs.
extern TCaptureForm* CaptureForm;

// Whether a window is a document view of the system's browser control (class name
// "internet explorer_server" in any case), which a control capture scrolls through.
bool IsWebDocumentView(HWND wnd);
