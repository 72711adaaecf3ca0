#pragma once
// Shared pieces of the picker tests in-process and end to end: window geometry, the
// pointer position for a probe point, the files a capture left, and pixel checks.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/Bitmap32.h"

namespace picker_checks {

inline RECT WindowRectOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}
inline bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}
inline POINT CenterOf(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
// The pointer position that puts the picker's probe point at p.
inline POINT CursorForProbe(POINT p) {
    return {p.x + 6, p.y + 10};
}

// The plain files of a folder (a path ending with a separator).
inline std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

// Every pixel of an area of the picture has the colour (0x00BBGGRR).
inline ::testing::AssertionResult AllPixelsAre(const TBitmap32& image, const RECT& area, COLORREF color) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (WinColor(image.Pixel(x, y)) != static_cast<TColor>(color))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << WinColor(image.Pixel(x, y));
    return ::testing::AssertionSuccess();
}

} // namespace picker_checks
