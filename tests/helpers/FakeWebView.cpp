// A page view of the browser control in a process of its own, for the web-page capture:
//   FakeWebView view <title> <ready event> <layout numbers...>
//       shows the fake view (tests/support/FakeWebView.h) with that title and layout,
//       signals the named event, and serves its document until the window is closed
//   FakeWebView dying <title> <ready event> <layout numbers...>
//       the same, but the process ends in the middle of the first scroll request
//   FakeWebView hang <title> <ready event>
//       makes a window of the view's class, signals, and never handles a message
// Both give up after ten minutes (a forgotten helper ends by itself). Exit code 0 on success.
#include "tests/support/FakeWebView.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD kLifetime = 600000;
constexpr DWORD kSettleTime = 30000;

// Handles messages until some arrive or the time since start is up.
void Pump(DWORD start, DWORD time) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed < time)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, time - elapsed, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool Signal(const wchar_t* name) {
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    if (!event)
        return false;
    SetEvent(event);
    CloseHandle(event);
    return true;
}

int View(const wchar_t* title, const wchar_t* ready, const std::vector<std::wstring>& numbers, bool dying) {
    auto layout = fake_web::TPageLayout::Parse(numbers);
    if (!layout)
        return 2;
    layout->DiesOnScroll = dying;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 3;
    int code = 0;
    {
        fake_web::TFakeView view(*layout, title);
        // The window's first picture reaches the screen before the test may copy it.
        const DWORD start = GetTickCount();
        while (!view.Shown() && GetTickCount() - start < kSettleTime)
            Pump(GetTickCount(), 15);
        if (!view.Wnd() || !Signal(ready))
            code = 4;
        // Serves until the test closes the window, within the lifetime.
        while (code == 0 && IsWindow(view.Wnd())) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= kLifetime) {
                code = 5;
                break;
            }
            Pump(start, kLifetime);
        }
    }
    CoUninitialize();
    return code;
}

int Hang(const wchar_t* title, const wchar_t* ready) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = fake_web::kViewClass;
    RegisterClassExW(&wc);
    HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, fake_web::kViewClass, title, WS_POPUP, 0, 0, 50, 50, nullptr,
                               nullptr, wc.hInstance, nullptr);
    if (!wnd || !Signal(ready))
        return 4;
    Sleep(kLifetime);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc >= 2 ? argv[1] : L"";
    if (argc >= 4 && (mode == L"view" || mode == L"dying"))
        return View(argv[2], argv[3], std::vector<std::wstring>(argv + 4, argv + argc), mode == L"dying");
    if (argc == 4 && mode == L"hang")
        return Hang(argv[2], argv[3]);
    return 1;
}
