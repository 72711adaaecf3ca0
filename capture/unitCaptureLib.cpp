#include "capture/unitCaptureLib.h"

#include <windows.h>

#include "forms/Exceptions.h"
#include "forms/Files.h"
#include "forms/Graphics.h"
#include "forms/Handles.h"

const wchar_t* const kBrowserButtonKey =
    L"Software\\Microsoft\\Internet Explorer\\Extensions\\{7C2D1A90-4B3E-4F15-9E6A-1D8B3C5F2A47}";

namespace {
void WriteString(HKEY key, const wchar_t* name, const std::wstring& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const LSTATUS rc =
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    if (rc != ERROR_SUCCESS)
        RaiseOSError(static_cast<DWORD>(rc), std::wstring(L"Cannot write registry value ") + name);
}
} // namespace

void RegisterBrowserButton() {
    const std::wstring exec = ProgramFolder() + L"tvl.exe";
    HKEY raw = nullptr;
    const LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, kBrowserButtonKey, 0, nullptr,
                                       REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &raw, nullptr);
    if (rc != ERROR_SUCCESS)
        RaiseOSError(static_cast<DWORD>(rc), L"Cannot open the browser button's registry key");
    TRegKey key(raw);
    WriteString(key.Get(), L"ButtonText", L"Tolvex");
    WriteString(key.Get(), L"MenuText", L"Tolvex");
    WriteString(key.Get(), L"MenuStatusBar", L"Run Script");
    WriteString(key.Get(), L"ClSid", L"{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}");
    WriteString(key.Get(), L"Default Visible", L"Yes");
    WriteString(key.Get(), L"Exec", exec);
    WriteString(key.Get(), L"HotIcon", exec + L",101");
    WriteString(key.Get(), L"Icon", exec + L",101");
}

std::function<LSTATUS(HKEY root, const wchar_t* subKey)> BrowserButtonDeleteHook;

void UnregisterBrowserButton() {
    const LSTATUS rc = BrowserButtonDeleteHook ? BrowserButtonDeleteHook(HKEY_CURRENT_USER, kBrowserButtonKey)
                                               : RegDeleteTreeW(HKEY_CURRENT_USER, kBrowserButtonKey);
    // A button that was never installed (its key or a parent missing) leaves nothing to
    // remove; any other failure leaves the button in the browser and is said.
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND && rc != ERROR_PATH_NOT_FOUND)
        RaiseOSError(static_cast<DWORD>(rc), L"Cannot delete the browser button's registry key");
}

namespace {
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lParam) {
    auto* list = reinterpret_cast<std::vector<TMonitor>*>(lParam);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) {
        try {
            list->push_back({ToTRect(info.rcMonitor), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
        } catch (...) {
            return FALSE;
        }
    }
    return TRUE;
}
} // namespace

std::vector<TMonitor> SystemMonitors() {
    std::vector<TMonitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty())
        monitors.push_back({{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, true});
    return monitors;
}

void CaptureScreenToBitmap(TBitmap& bitmap, bool allMonitors) {
    const HWND desktop = GetDesktopWindow();
    TWindowDC dc(desktop);
    if (!dc)
        RaiseLastOSError(L"Cannot read the screen");
    int x = 0;
    int y = 0;
    int width = GetDeviceCaps(dc.Get(), HORZRES);
    int height = GetDeviceCaps(dc.Get(), VERTRES);
    if (allMonitors) {
        x = GetSystemMetrics(SM_XVIRTUALSCREEN);
        y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    }
    bitmap.SetSize(width, height);
    if (!BitBlt(bitmap.Canvas(), 0, 0, width, height, dc.Get(), x, y, SRCCOPY))
        RaiseLastOSError(L"Cannot read the screen");
}

bool CopyDesktopAreaToBitmap(const TBitmap& desktop, const TRect& area, TBitmap& result) {
    const auto plan = PlanAreaCopy(area, TSize{desktop.Width(), desktop.Height()});
    if (!plan)
        return false;
    result.SetSize(plan->Size.Width, plan->Size.Height); // a new picture is black
    if (!plan->Source.IsEmpty() &&
        !BitBlt(result.Canvas(), plan->Dest.X, plan->Dest.Y, plan->Source.Width(), plan->Source.Height(),
                desktop.Canvas(), plan->Source.Left, plan->Source.Top, SRCCOPY))
        RaiseLastOSError(L"Cannot copy the capture area");
    return true;
}
