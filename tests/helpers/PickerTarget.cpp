// A dialog with one button at fixed places, in a process of its own, for the window
// picker's tests: PickerTarget [seconds]. The dialog stays on top of other windows and
// ends when it is closed or after the given time (60 s when none is given), so a test
// that fails never leaves it behind for long. Both windows are painted in one colour
// each, so that any trace of the picker's arrow or frame in a capture shows.
#include <windows.h>

#include <cwchar>

#include "tests/support/PickerTargetLayout.h"

namespace {
using namespace picker_target;

constexpr UINT_PTR kLifeTimer = 1;

LRESULT CALLBACK DialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(wnd, &client);
        HBRUSH brush = CreateSolidBrush(kDialogColor);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        DeleteObject(brush);
        return 1;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        HBRUSH brush = CreateSolidBrush(kButtonColor);
        FillRect(item->hDC, &item->rcItem, brush);
        DeleteObject(brush);
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == kLifeTimer)
            DestroyWindow(wnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    const int seconds = argc > 1 ? _wtoi(argv[1]) : 60;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DialogProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc))
        return 2;
    const HWND dialog =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, kClassName, kTitle,
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, kDialogRect.left,
                        kDialogRect.top, kDialogRect.right - kDialogRect.left,
                        kDialogRect.bottom - kDialogRect.top, nullptr, nullptr, instance, nullptr);
    if (!dialog)
        return 3;
    const RECT b = kButtonClientRect;
    if (!CreateWindowExW(0, L"BUTTON", L"Target", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, b.left, b.top,
                         b.right - b.left, b.bottom - b.top, dialog,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)), instance, nullptr))
        return 4;
    SetTimer(dialog, kLifeTimer, static_cast<UINT>(seconds > 0 ? seconds : 60) * 1000u, nullptr);
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
