#pragma once
// The region overlay: a borderless topmost window over the whole virtual desktop showing
// the desktop frozen as it was when the overlay appeared. In the region capture the user
// drags a rectangle on it, helped by a magnifier panel; in the fixed-rectangle capture a
// rectangle of a preset size follows the pointer. A release accepts (result OK), the right
// button or Esc cancels. Coordinates are those of the frozen picture: (0, 0) is the
// virtual desktop's top-left pixel.
#include <windows.h>

#include <string>

#include "core/Geometry.h"
#include "core/RegionSelect.h"
#include "forms/Form.h"
#include "forms/Graphics.h"
#include "forms/MouseInput.h"
#include "forms/PaintedControl.h"

class ICaptureHost;
class TFullVrimForm;

// The magnifier panel: a light frame with the enlarged view and the position and size
// texts. Pointer moves over it make it keep away from the pointer, as over the picture.
class TZoomPanel : public TPaintedControl<TPanel> {
public:
    TZoomPanel(TForm* owner, std::wstring name, TWindow* parent, TFullVrimForm& form);
    // The magnified view, 200 x 200 pixels while the region mode runs.
    TBitmap imgZoom;
    std::wstring lblPos = L"Position : X=0 , Y=0";
    std::wstring lblSize = L"Size : Width=0 , Height=0";

protected:
    void Paint(HDC dc) override;
    void MouseMove(int x, int y) override;

private:
    TFullVrimForm& form_;
};

class TFullVrimForm : public TForm {
public:
    explicit TFullVrimForm(ICaptureHost& host);

    // The frozen desktop picture; the band is drawn into it while it is shown.
    TBitmap Image1;
    TZoomPanel* ZoomPanel;

    bool Dragging = false;
    int SelectionWidth = 0;
    int SelectionHeight = 0;
    // The selection; in the fixed-rectangle mode the caller presets (0, 0, width, height).
    TRect SelectionRect;
    TZoomCorner ZoomCorner = TZoomCorner::None;
    int ZoomMonitor = 0;

    // The pointer shown over the picture; null shows the arrow.
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormActivate(TObject* sender);
    void Image1MouseDown(TMouseButton button, int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp(TMouseButton button, int x, int y);
    void ZoomPanelMouseMove();
    void FormKeyDown(WORD& key);
    void FormClose(TObject* sender, TCloseAction& action);
    // The magnifier and labels around the selection's moving corner (dragging) or a point.
    void UpdateMagnifier(TPoint center);
    void PlaceZoomPanel();

    // Keys reach the overlay as they are: Esc must cancel the selection, not the modal run.
    bool PreTranslateMessage(MSG&) override { return false; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool RegionMode() const;
    bool RectMode() const;
    // Draws the band or the fixed rectangle in XOR; a second draw removes it.
    void DrawBand();
    // The fixed rectangle of the current size centred on a point, kept on the desktop.
    void PlaceFixedRect(TPoint center);
    void EndSelection(bool accepted);

    ICaptureHost& host_;
    HCURSOR cursor_ = nullptr;
    bool bandShown_ = false;
    bool ended_ = false;
    std::wstring thousands_;
};

// The live overlay while a region, rectangle or series capture runs.
extern TFullVrimForm* FullVrimForm;
