#pragma once
// What the selection windows of a capture need to know of the main window: the capture
// command that runs, the web-page auto-scroll switch and the capture cursors. The main
// window implements it; the capture windows never see the main window itself.
#include <windows.h>

#include "core/CaptureMode.h"

class ICaptureHost {
public:
    virtual ~ICaptureHost() = default;
    // The capture command that runs now (idle when none).
    virtual TCaptureMode CurrentCaptureMode() const = 0;
    // Whether a control capture of a browser view captures the whole page by scrolling.
    virtual bool AutoScrollChecked() const = 0;
    // The picker's cursor: the scroll cursor over a browser view that will be scrolled,
    // else the capture cursor. Null when the cursors are not loaded.
    virtual HCURSOR PickerCursor(bool scroll) const = 0;
};
