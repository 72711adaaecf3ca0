#include <windows.h>

#include "capture/unitCaptureLib.h"

#include "forms/Exceptions.h"
#include "forms/Files.h"
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
    const LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, kBrowserButtonKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_WRITE, nullptr, &raw, nullptr);
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

void UnregisterBrowserButton() { RegDeleteTreeW(HKEY_CURRENT_USER, kBrowserButtonKey); }
