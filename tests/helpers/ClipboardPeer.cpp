// A second clipboard user for the tests, in a process of its own:
//   ClipboardPeer read <report file>   writes what the clipboard holds: the standard
//                                      bitmap's size and colours and the alpha block
//   ClipboardPeer put <w> <h> <RRGGBB>...   puts a standard bitmap only, as any program does
//   ClipboardPeer text <text>          puts text only
//   ClipboardPeer hold <ms> <event>    holds the clipboard open for a while; signals the
//                                      named event once it has it
// Exit code 0 on success.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/support/Deadlines.h"

namespace {

HWND OwnerWindow() {
    return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// The test may still hold the clipboard for a moment.
bool Open(HWND owner) {
    return deadlines::PollUntil([&] { return OpenClipboard(owner) != FALSE; });
}

int Read(const wchar_t* reportPath) {
    if (!Open(nullptr))
        return 2;
    std::string report;
    char line[64];
    if (HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP header{};
        GetObjectW(bitmap, sizeof header, &header);
        const int width = header.bmWidth;
        const int height = header.bmHeight < 0 ? -header.bmHeight : header.bmHeight;
        std::snprintf(line, sizeof line, "bitmap %d %d\ncolours", width, height);
        report += line;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<DWORD> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        HDC screen = GetDC(nullptr);
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        for (DWORD p : pixels) {
            std::snprintf(line, sizeof line, " %06lX", static_cast<unsigned long>(p & 0xFFFFFF));
            report += line;
        }
        report += "\n";
    } else {
        report += "bitmap none\n";
    }
    const UINT alphaFormat = RegisterClipboardFormatW(L"G32 Bitmap32 Alpha Channel");
    if (HGLOBAL block = static_cast<HGLOBAL>(GetClipboardData(alphaFormat))) {
        const auto* bytes = static_cast<const unsigned char*>(GlobalLock(block));
        const SIZE_T size = GlobalSize(block);
        report += "alpha";
        // Only the count and the bytes it names; the block may be rounded up.
        SIZE_T used = size;
        if (bytes && size >= 4) {
            const SIZE_T count =
                bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<SIZE_T>(bytes[3]) << 24);
            used = count + 4 <= size ? count + 4 : size;
        }
        for (SIZE_T i = 0; bytes && i < used; ++i) {
            std::snprintf(line, sizeof line, " %02X", bytes[i]);
            report += line;
        }
        report += "\n";
        GlobalUnlock(block);
    } else {
        report += "alpha none\n";
    }
    CloseClipboard();
    FILE* out = _wfopen(reportPath, L"wb");
    if (!out)
        return 3;
    std::fwrite(report.data(), 1, report.size(), out);
    std::fclose(out);
    return 0;
}

int Put(int argc, wchar_t** argv) {
    const int width = _wtoi(argv[2]);
    const int height = _wtoi(argv[3]);
    if (width <= 0 || height <= 0 || argc != 4 + width * height)
        return 4;
    std::vector<DWORD> pixels;
    for (int i = 4; i < argc; ++i)
        pixels.push_back(static_cast<DWORD>(std::wcstoul(argv[i], nullptr, 16)));
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    HWND owner = OwnerWindow();
    if (!Open(owner))
        return 2;
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    CloseClipboard();
    return ok ? 0 : 5;
}

int Text(const wchar_t* text) {
    const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(block), text, bytes);
    GlobalUnlock(block);
    HWND owner = OwnerWindow();
    if (!Open(owner))
        return 2;
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    return ok ? 0 : 5;
}

int Hold(const wchar_t* milliseconds, const wchar_t* eventName) {
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName);
    if (!ready || !Open(OwnerWindow()))
        return 2;
    SetEvent(ready);
    Sleep(static_cast<DWORD>(_wtoi(milliseconds)));
    CloseClipboard();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"read") == 0)
        return Read(argv[2]);
    if (argc >= 4 && std::wcscmp(argv[1], L"put") == 0)
        return Put(argc, argv);
    if (argc == 3 && std::wcscmp(argv[1], L"text") == 0)
        return Text(argv[2]);
    if (argc == 4 && std::wcscmp(argv[1], L"hold") == 0)
        return Hold(argv[2], argv[3]);
    return 1;
}
