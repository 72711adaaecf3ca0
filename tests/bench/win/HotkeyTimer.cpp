// Times a capture from outside the program: presses Ctrl+Shift+<key> and waits for the
// next numbered file to appear in the output folder, repeatedly.
// Usage: hotkey_timer <F-key number> <output folder> <extension> <runs>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/PickerDriver.h"

namespace {
using picker_driver::PressCtrlShift;

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// A file is there once it can be opened for reading with no one writing it.
bool Complete(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: hotkey_timer <F-key number> <folder> <ext> <runs>\n");
        return 2;
    }
    const WORD key = static_cast<WORD>(VK_F1 + std::wcstol(argv[1], nullptr, 10) - 1);
    const std::wstring folder = argv[2];
    const std::wstring ext = argv[3];
    const int runs = static_cast<int>(std::wcstol(argv[4], nullptr, 10));
    std::vector<double> times;
    for (int n = 1; n <= runs; ++n) {
        const std::wstring file = folder + L"\\Capture_" + std::to_wstring(n) + L"." + ext;
        const double start = Now();
        PressCtrlShift(key);
        while (!Complete(file)) {
            if (Now() - start > 20000) {
                std::fprintf(stderr, "no file after 20 s\n");
                return 1;
            }
            Sleep(1);
        }
        times.push_back(Now() - start);
        Sleep(700); // the main window comes back before the next capture
    }
    std::sort(times.begin(), times.end());
    std::printf("hotkey to %ls file: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)\n", ext.c_str(),
                times[times.size() / 2], times.front(), times.back(), runs);
    return 0;
}
