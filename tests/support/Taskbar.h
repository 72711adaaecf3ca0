#pragma once
// The taskbar of Wine's virtual desktop, as tests read it: its buttons carry the window
// they stand for as their control id and show only while they list that window.
#include <windows.h>

// The visible taskbar button that stands for a window, or null.
inline HWND TaskbarButtonOf(HWND window) {
    const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    for (HWND b = taskbar ? GetWindow(taskbar, GW_CHILD) : nullptr; b; b = GetWindow(b, GW_HWNDNEXT))
        if (GetWindowLongPtrW(b, GWLP_ID) == reinterpret_cast<LONG_PTR>(window) && IsWindowVisible(b))
            return b;
    return nullptr;
}
