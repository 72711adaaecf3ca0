#include "shell/components/OpenURL.h"

#include <windows.h>

#include <shellapi.h>

#include "forms/Controls.h"
#include "forms/Form.h"

std::function<void(HWND owner, const std::wstring& url)> OpenURLHook;

namespace {
// The form the control sits on: up through its parent controls to the first form.
HWND ParentFormHandle(const TControl& control) {
    TWindow* parent = control.Parent();
    while (auto* c = dynamic_cast<TControl*>(parent))
        parent = c->Parent();
    return parent ? parent->Handle() : nullptr;
}
} // namespace

void OpenURL(const TControl& control, const std::wstring& url) {
    const HWND owner = ParentFormHandle(control);
    if (OpenURLHook) {
        OpenURLHook(owner, url);
        return;
    }
    ShellExecuteW(owner, L"open", url.c_str(), nullptr, nullptr, SW_SHOW);
}

HCURSOR LinkCursor(const std::wstring& url) {
    return url.empty() ? nullptr : LoadCursorW(nullptr, IDC_HAND);
}
