#include "shell/unitUtils.h"

#include <windows.h>

#include "forms/Application.h"
#include "forms/Files.h"
#include "forms/Form.h"
#include "forms/Handles.h"

namespace {
void ForegroundByCurrentThreadAttach(HWND wnd) {
    SetForegroundWindow(wnd);
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD self = GetCurrentThreadId();
    if (foregroundThread && foregroundThread != self && AttachThreadInput(self, foregroundThread, TRUE)) {
        if (Application && Application->MainForm)
            BringWindowToTop(Application->MainForm->Handle());
        AttachThreadInput(self, foregroundThread, FALSE);
    }
}

void ForegroundByTargetThreadAttach(HWND wnd) {
    const DWORD target = GetWindowThreadProcessId(wnd, nullptr);
    const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    if (target && foreground && target != foreground && AttachThreadInput(target, foreground, TRUE)) {
        BringWindowToTop(wnd);
        SetForegroundWindow(wnd);
        AttachThreadInput(target, foreground, FALSE);
    }
    if (GetForegroundWindow() != wnd) {
        // Lift the foreground lock for a moment, then put it back as it was.
        DWORD timeout = 0;
        SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
        SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
        BringWindowToTop(wnd);
        SetForegroundWindow(wnd);
        SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                              reinterpret_cast<void*>(static_cast<UINT_PTR>(timeout)), SPIF_SENDCHANGE);
    }
}
} // namespace

bool ForceForegroundWindow(HWND wnd) {
    if (GetForegroundWindow() == wnd)
        return true;
    if (IsIconic(wnd))
        ShowWindow(wnd, SW_RESTORE);
    SetForegroundWindow(wnd);
    if (GetForegroundWindow() != wnd)
        ForegroundByCurrentThreadAttach(wnd);
    if (GetForegroundWindow() != wnd)
        ForegroundByTargetThreadAttach(wnd);
    return GetForegroundWindow() == wnd;
}

void DeleteFilesInFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    TFindHandle find(FindFirstFileW((folder + L"*.*").c_str(), &data));
    if (!find)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileW((folder + data.cFileName).c_str());
    } while (FindNextFileW(find.Get(), &data));
}

std::wstring UndoFolder() {
    return TempFolder() + L"~Vrim\\";
}
