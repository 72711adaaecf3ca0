#pragma once
// The notification-area icon with its hint, pop-up menu and double click.
#include <windows.h>

#include <shellapi.h>

#include "forms/Component.h"

class TPopupMenu;

class TTrayIcon : public TComponent {
public:
    TTrayIcon(TForm* owner, std::wstring name, HICON icon, std::wstring hint);
    ~TTrayIcon() override;

    bool Active() const { return active_; }
    // Adds the icon to the notification area or removes it. Activating an icon that the
    // shell still shows replaces it, so re-adding after a shell restart always works.
    void SetActive(bool active);
    void SetHint(const std::wstring& hint);
    TPopupMenu* PopupMenu = nullptr;

    TNotifyEvent OnDblClick;
    TNotifyEvent OnClick;

    HWND WindowHandle() const { return wnd_; }
    static constexpr UINT kCallbackMessage = WM_APP + 20;

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    NOTIFYICONDATAW Data() const;
    HWND wnd_ = nullptr;
    HICON icon_;
    std::wstring hint_;
    bool active_ = false;
};
