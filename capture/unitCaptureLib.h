#pragma once
// The capture library: screen and window grabs, and the browser tool-bar button.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Geometry.h"
#include "core/ScreenGeometry.h"

class TBitmap;

// The monitors of the system, in screen coordinates, the primary one flagged.
std::vector<TMonitor> SystemMonitors();
// Grabs the primary screen (allMonitors false) or the whole virtual desktop into the
// bitmap, which is resized; its pixel format stays the one the caller set. The mouse
// pointer is not in the picture. Throws when the screen cannot be read.
void CaptureScreenToBitmap(TBitmap& bitmap, bool allMonitors);
// Cuts an area (virtual-desktop coordinates) out of a desktop picture into a 24-bit
// bitmap of the area's size; what lies outside the desktop is black. False when the area
// is empty or too large to hold.
bool CopyDesktopAreaToBitmap(const TBitmap& desktop, const TRect& area, TBitmap& result);

inline TRect ToTRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
inline RECT ToRECT(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

// The browser extension key of the tool-bar button (under HKEY_CURRENT_USER).
extern const wchar_t* const kBrowserButtonKey;

// Creates or updates the browser button's key and writes its eight values. Throws when
// the key cannot be opened or a value cannot be written.
void RegisterBrowserButton();
// Deletes the browser button's key with everything below it; a missing key is no error.
// Throws when a key that is there cannot be deleted.
void UnregisterBrowserButton();
// Deletes a registry key with everything below it in place of the system; tests replace it.
extern std::function<LSTATUS(HKEY root, const wchar_t* subKey)> BrowserButtonDeleteHook;
