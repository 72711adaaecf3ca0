#include "forms/Clipboard.h"

#include <windows.h>

#include "forms/Exceptions.h"
#include "forms/Graphics.h"

namespace {

constexpr wchar_t kOwnerWindowClass[] = L"TolvexClipboardOwner";

// Waits between two tries to open the clipboard. Messages other threads send meanwhile are
// answered, since the program that holds the clipboard may be asking our owner window
// something and would otherwise wait for us while we wait for it.
void PauseBetweenTries(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < milliseconds; elapsed = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

HWND ClipboardOwnerWindow() {
    // Created once, on the main thread, and kept for the whole run: the clipboard's data
    // outlives the operation that put it there.
    static HWND window = nullptr;
    if (window && IsWindow(window))
        return window;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = kOwnerWindowClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        RaiseLastOSError(L"The clipboard window cannot be created");
    window =
        CreateWindowExW(0, kOwnerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!window)
        RaiseLastOSError(L"The clipboard window cannot be created");
    return window;
}

void RaiseClipboardError(const std::wstring& action) {
    if (const DWORD code = GetLastError())
        RaiseOSError(code, action);
    throw Exception(action + L".");
}

void UnlockClipboardMemory(HGLOBAL block) {
    SetLastError(0);
    if (!GlobalUnlock(block)) {
        const DWORD code = GetLastError();
        if (code != NO_ERROR && code != ERROR_INVALID_PARAMETER)
            RaiseOSError(code, L"The clipboard memory cannot be unlocked");
    }
}

TClipboardSession::TClipboardSession(HWND owner) {
    if (!owner)
        owner = ClipboardOwnerWindow();
    for (int attempt = 0; attempt < kOpenTries; ++attempt) {
        if (attempt > 0)
            PauseBetweenTries(kOpenRetryDelay);
        if (OpenClipboard(owner)) {
            open_ = true;
            return;
        }
    }
    RaiseClipboardError(L"The clipboard cannot be opened; another program may be using it");
}

TClipboardSession::~TClipboardSession() {
    if (open_)
        CloseClipboard();
}

void TClipboardSession::Clear() {
    if (!EmptyClipboard())
        RaiseClipboardError(L"The clipboard cannot be emptied");
}

bool TClipboardSession::HasFormat(UINT format) const {
    return IsClipboardFormatAvailable(format) != 0;
}

HANDLE TClipboardSession::GetData(UINT format) const {
    if (!HasFormat(format))
        return nullptr;
    const HANDLE data = GetClipboardData(format);
    if (!data)
        RaiseClipboardError(L"The clipboard's data cannot be read");
    return data;
}

void TClipboardSession::SetData(UINT format, HANDLE data) {
    if (!SetClipboardData(format, data))
        RaiseClipboardError(L"The data cannot be put on the clipboard");
}

void TClipboardSession::Close() {
    if (!open_)
        return;
    open_ = false;
    if (!CloseClipboard())
        RaiseClipboardError(L"The clipboard cannot be closed");
}

TGdiObject ClipboardBitmapOf(const TBitmap& bitmap) {
    // Drawn through the bitmap's own canvas, which holds it selected, so any format works.
    const TWindowDC screen(nullptr);
    TGdiObject copy(screen ? CreateCompatibleBitmap(screen.Get(), bitmap.Width(), bitmap.Height()) : nullptr);
    const TMemDC dc(screen ? CreateCompatibleDC(screen.Get()) : nullptr);
    if (!copy || !dc)
        RaiseLastOSError(L"The picture cannot be copied for the clipboard");
    const TSelectObject selected(dc.Get(), copy.Get());
    if (!BitBlt(dc.Get(), 0, 0, bitmap.Width(), bitmap.Height(), bitmap.Canvas(), 0, 0, SRCCOPY))
        RaiseLastOSError(L"The picture cannot be copied for the clipboard");
    return copy;
}

void ClipboardAssignBitmap(const TBitmap& bitmap, HWND owner) {
    // The clipboard takes ownership of what it is given, so it gets a copy and the caller
    // keeps its own bitmap.
    TGdiObject copy;
    if (!bitmap.Empty())
        copy = ClipboardBitmapOf(bitmap);
    TClipboardSession clipboard(owner);
    clipboard.Clear();
    if (copy) {
        clipboard.SetData(CF_BITMAP, copy.Get());
        copy.Release();
    }
    clipboard.Close();
}
