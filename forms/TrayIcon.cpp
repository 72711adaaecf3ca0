#include "forms/TrayIcon.h"

#include <windows.h>

#include "forms/Application.h"
#include "forms/Menus.h"

namespace {
constexpr wchar_t kTrayClass[] = L"TolvexTrayIcon";
}

TTrayIcon::TTrayIcon(TForm* owner, std::wstring name, HICON icon, std::wstring hint)
    : TComponent(owner, std::move(name)), icon_(icon), hint_(std::move(hint)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTrayClass;
    RegisterClassExW(&wc);
    // A hidden top-level window receives the icon's mouse messages.
    wnd_ = CreateWindowExW(0, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTrayIcon::~TTrayIcon() {
    SetActive(false);
    if (wnd_)
        DestroyWindow(wnd_);
}

NOTIFYICONDATAW TTrayIcon::Data() const {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = wnd_;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    nid.uCallbackMessage = kCallbackMessage;
    nid.hIcon = icon_;
    lstrcpynW(nid.szTip, hint_.c_str(), ARRAYSIZE(nid.szTip));
    return nid;
}

void TTrayIcon::SetActive(bool active) {
    NOTIFYICONDATAW nid = Data();
    if (active) {
        if (!Shell_NotifyIconW(NIM_ADD, &nid)) {
            // The shell may still show the icon: replace it.
            Shell_NotifyIconW(NIM_DELETE, &nid);
            if (!Shell_NotifyIconW(NIM_ADD, &nid))
                Shell_NotifyIconW(NIM_MODIFY, &nid);
        }
    } else if (active_) {
        Shell_NotifyIconW(NIM_DELETE, &nid);
    }
    active_ = active;
}

void TTrayIcon::SetHint(const std::wstring& hint) {
    hint_ = hint;
    if (active_) {
        NOTIFYICONDATAW nid = Data();
        Shell_NotifyIconW(NIM_MODIFY, &nid);
    }
}

LRESULT CALLBACK TTrayIcon::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TTrayIcon*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (self && msg == kCallbackMessage) {
        Guarded([&] {
            switch (LOWORD(lParam)) {
            case WM_LBUTTONDBLCLK:
                if (self->OnDblClick)
                    self->OnDblClick(self);
                break;
            case WM_LBUTTONUP:
                if (self->OnClick)
                    self->OnClick(self);
                break;
            case WM_RBUTTONUP:
                if (self->PopupMenu) {
                    POINT pt;
                    GetCursorPos(&pt);
                    self->PopupMenu->Popup(pt.x, pt.y);
                }
                break;
            default:
                break;
            }
        });
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
