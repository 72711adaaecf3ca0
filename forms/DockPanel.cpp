#include "forms/DockPanel.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/DockLayout.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/Handles.h"

namespace {
constexpr UINT_PTR kClientSubclass = 0x444B;
constexpr DWORD kFloatingStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFrameStyles =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr int kOutlineWidth = 3;
// After the host shows or is activated, the floating pane is kept above it for a while.
constexpr UINT_PTR kRaiseTimer = 1;
constexpr UINT kRaiseCheckMs = 100;
constexpr int kRaiseChecks = 10;

TRect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
RECT ToRECT(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

RECT ScreenRectOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM lParam) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<TRect>*>(lParam)->push_back(ToRect(info.rcWork));
    return TRUE;
}

// The rectangle moved onto the nearest monitor's work area when it shows on none.
RECT OntoAMonitor(const RECT& r) {
    std::vector<TRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return ToRECT(BringOntoNearestArea(ToRect(r), areas));
}

// Takes styles away from a window and gives it others. Docked or floating, the form stays
// a tool window, so no taskbar ever lists it.
void SetStyles(HWND wnd, DWORD remove, DWORD add) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE));
    SetWindowLongPtrW(wnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~remove) | add));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE));
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle | WS_EX_TOOLWINDOW));
}

// Whether the escape key is held now: it cancels a caption drag.
bool EscapeHeld() {
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

// The dock panel whose caption drag the keyboard hook watches; the mouse has one capture,
// so there is one drag at a time.
TDockPanel* escapeWatch = nullptr;
} // namespace

// The outline that shows, during a caption drag, where the pane will go: a hatched frame
// in a topmost window that never takes the mouse or the focus.
class TDragOutline : public TWindow {
public:
    // Owned by the host, so that no taskbar lists it while it shows.
    explicit TDragOutline(HWND host) : TWindow(nullptr, L"DragOutline") {
        static constexpr WORD kHatch[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        pattern_.Reset(CreateBitmap(8, 8, 1, 1, kHatch));
        brush_.Reset(CreatePatternBrush(static_cast<HBITMAP>(pattern_.Get())));
        CreateOwnWindow(L"TolvexDragOutline", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE,
                        host, 0, 0, 0, 0, nullptr, 0);
    }
    void ShowAt(const RECT& r) {
        const int width = r.right - r.left, height = r.bottom - r.top;
        if (width != size_.cx || height != size_.cy) {
            // A frame-shaped window: the inside stays see-through.
            HRGN frame = CreateRectRgn(0, 0, width, height);
            HRGN inside =
                CreateRectRgn(kOutlineWidth, kOutlineWidth, width - kOutlineWidth, height - kOutlineWidth);
            CombineRgn(frame, frame, inside, RGN_DIFF);
            DeleteObject(inside);
            SetWindowRgn(Handle(), frame, FALSE); // the window owns the region now
            size_ = {width, height};
        }
        SetWindowPos(Handle(), HWND_TOPMOST, r.left, r.top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        InvalidateRect(Handle(), nullptr, FALSE);
    }
    void Hide() { ShowWindow(Handle(), SW_HIDE); }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            if (HDC dc = BeginPaint(Handle(), &ps)) {
                RECT r;
                GetClientRect(Handle(), &r);
                SetTextColor(dc, RGB(0, 0, 0));
                SetBkColor(dc, RGB(0x80, 0x80, 0x80));
                FillRect(dc, &r, static_cast<HBRUSH>(brush_.Get()));
                EndPaint(Handle(), &ps);
            }
            return 0;
        }
        default:
            return TWindow::WndProc(msg, wParam, lParam);
        }
    }

private:
    TGdiObject pattern_;
    TGdiObject brush_;
    SIZE size_{};
};

// A host has a dock panel on each side, so each subclasses it under its own id.
TDockPanel::TDockPanel(TForm* owner, std::wstring name) : TPaintedControl(owner, std::move(name), owner) {
    SetVisible(false);
    host_ = owner->Handle();
    SetWindowSubclass(host_, HostProc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

TDockPanel::~TDockPanel() {
    if (escapeHook_)
        UnhookWindowsHookEx(escapeHook_);
    if (escapeWatch == this)
        escapeWatch = nullptr;
    if (IsWindow(host_))
        RemoveWindowSubclass(host_, HostProc, reinterpret_cast<UINT_PTR>(this));
    if (client_ && IsWindow(client_->Handle()))
        RemoveWindowSubclass(client_->Handle(), ClientProc, kClientSubclass);
    if (client_ && client_->ShortCutHost == Owner())
        client_->ShortCutHost = nullptr;
    if (splitter_)
        splitter_->panel_ = nullptr;
}

// ---- Docking, floating, closing ----

TDockSide TDockPanel::Side() const {
    return Align() == TAlign::Right ? TDockSide::Right : TDockSide::Left;
}

TDockPanel* TDockPanel::HolderOf(const TForm* client) const {
    for (TComponent* c : Owner()->Components())
        if (auto* panel = dynamic_cast<TDockPanel*>(c); panel && panel->client_ == client)
            return panel;
    return nullptr;
}

void TDockPanel::ManualDock(TForm* client) {
    if (!client || !client->Handle())
        return;
    if (client != client_) {
        ReleaseClient();
        // From the other side: the form leaves that panel as it is now (floating or docked)
        // and keeps where it floated last.
        if (TDockPanel* from = HolderOf(client)) {
            const TDockState state = from->state_;
            floatingRect_ = from->floatingRect_;
            hasFloatingRect_ = from->hasFloatingRect_;
            from->ReleaseClient();
            state_ = state;
        }
        client_ = client;
        SetWindowSubclass(client->Handle(), ClientProc, kClientSubclass, reinterpret_cast<DWORD_PTR>(this));
        // Floating, the form is a window of its own; the host's shortcuts still work there.
        client->ShortCutHost = Owner();
    }
    const HWND wnd = client->Handle();
    switching_ = true;
    if (state_ == TDockState::Floating) {
        floatingRect_ = ScreenRectOf(wnd);
        hasFloatingRect_ = true;
    }
    ShowWindow(wnd, SW_HIDE);
    SetStyles(wnd, kFrameStyles, WS_CHILD);
    SetParent(wnd, Handle());
    state_ = TDockState::Docked;
    hiddenWithHost_ = false;
    ShowDockSite(true);
    PlaceClient();
    ShowWindow(wnd, SW_SHOW);
    switching_ = false;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TDockPanel::Float(const RECT& outer) {
    if (!client_)
        return;
    const HWND wnd = client_->Handle();
    switching_ = true;
    ShowWindow(wnd, SW_HIDE);
    SetStyles(wnd, WS_CHILD | kFrameStyles, kFloatingStyle);
    SetParent(wnd, nullptr);
    // Owned by the host: it stays above it, hides when it is minimised, and has no taskbar button.
    SetWindowLongPtrW(wnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(host_));
    state_ = TDockState::Floating;
    ShowDockSite(false);
    const RECT r = OntoAMonitor(outer);
    SetWindowPos(wnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    floatingRect_ = r;
    hasFloatingRect_ = true;
    switching_ = false;
}

void TDockPanel::ShowDockForm() {
    if (!client_)
        return;
    switch (state_) {
    case TDockState::Closed:
        ManualDock(client_);
        break;
    case TDockState::Docked:
        ShowDockSite(true);
        ShowWindow(client_->Handle(), SW_SHOW);
        break;
    case TDockState::Floating:
        if (!IsWindowVisible(client_->Handle())) {
            const RECT r = OntoAMonitor(ScreenRectOf(client_->Handle()));
            switching_ = true;
            SetWindowPos(client_->Handle(), HWND_TOP, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
            switching_ = false;
            hiddenWithHost_ = false;
        }
        SetActiveWindow(client_->Handle());
        break;
    }
}

void TDockPanel::CloseDockForm() {
    // The form's own close events decide; a hidden form is closed for the dock too.
    if (client_)
        client_->Close();
}

void TDockPanel::ToggleFloating() {
    if (!client_)
        return;
    if (state_ == TDockState::Floating)
        ManualDock(client_);
    else if (state_ == TDockState::Docked)
        Float(UndockedRect());
}

void TDockPanel::ShowDockSite(bool visible) {
    SetVisible(visible);
    if (splitter_)
        splitter_->SetVisible(visible);
}

void TDockPanel::PlaceClient() {
    if (!client_ || state_ != TDockState::Docked)
        return;
    RECT r;
    GetClientRect(Handle(), &r);
    SetWindowPos(client_->Handle(), nullptr, 0, kCaptionHeight, r.right,
                 std::max(0, static_cast<int>(r.bottom) - kCaptionHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---- Geometry ----

RECT TDockPanel::CaptionRect() const {
    RECT r;
    GetClientRect(Handle(), &r);
    return {0, 0, r.right, kCaptionHeight};
}

RECT TDockPanel::CloseButtonRect() const {
    const RECT strip = CaptionRect();
    return {strip.right - 20, 3, strip.right - 4, kCaptionHeight - 3};
}

TRect TDockPanel::DockBand() const {
    if (!IsWindowVisible(host_) || IsIconic(host_))
        return {};
    const TForm* host = Owner();
    RECT client;
    GetClientRect(host_, &client);
    const RECT rest = host->ClientRemainder();
    POINT corners[2] = {{client.left, rest.top}, {client.right, rest.bottom}};
    MapWindowPoints(host_, HWND_DESKTOP, corners, 2);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

bool TDockPanel::DocksAt(POINT screenPoint) const {
    const TRect panel = Visible() ? ToRect(ScreenRectOf(Handle())) : TRect{};
    return ReleaseDocks({screenPoint.x, screenPoint.y}, DockBand(), panel, Side());
}

TDockPanel* TDockPanel::DockTargetAt(POINT screenPoint) const {
    for (TComponent* c : Owner()->Components())
        if (auto* panel = dynamic_cast<TDockPanel*>(c); panel && panel->DocksAt(screenPoint))
            return panel;
    return nullptr;
}

RECT TDockPanel::DockTargetRect() const {
    if (Visible())
        return ScreenRectOf(Handle());
    const TRect band = DockBand();
    if (Side() == TDockSide::Right)
        return {band.Right - Width(), band.Top, band.Right, band.Bottom};
    return {band.Left, band.Top, band.Left + Width(), band.Bottom};
}

SIZE TDockPanel::FloatingSize() const {
    RECT client;
    GetClientRect(Handle(), &client);
    if (state_ == TDockState::Docked)
        client.bottom -= kCaptionHeight;
    else if (client_)
        GetClientRect(client_->Handle(), &client);
    const DWORD exStyle = client_ ? static_cast<DWORD>(GetWindowLongPtrW(client_->Handle(), GWL_EXSTYLE)) : 0;
    RECT outer{0, 0, client.right, std::max(0, static_cast<int>(client.bottom))};
    AdjustWindowRectEx(&outer, kFloatingStyle, FALSE, exStyle | WS_EX_TOOLWINDOW);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

RECT TDockPanel::UndockedRect() const {
    const SIZE size = FloatingSize();
    POINT at{};
    if (hasFloatingRect_) {
        at = {floatingRect_.left, floatingRect_.top};
    } else {
        // Beside its dock place, clearly apart from it, towards the document area.
        const RECT docked = ScreenRectOf(Handle());
        const int shift = Side() == TDockSide::Right ? -kDockSnapDistance * 2 : kDockSnapDistance * 2;
        at = {docked.left + shift, docked.top + kDockSnapDistance};
    }
    return {at.x, at.y, at.x + size.cx, at.y + size.cy};
}

// ---- Caption drag ----

void TDockPanel::ArmDrag(POINT screen, POINT grab, SIZE outer, HWND capture) {
    drag_ = {true, false, screen, grab, outer, capture};
    SetCapture(capture);
    // The escape key goes to the window with the focus, which is seldom the one that holds
    // the mouse, so the thread's keyboard is watched until the drag ends.
    if (!escapeHook_)
        escapeHook_ = SetWindowsHookExW(WH_KEYBOARD, EscapeHook, nullptr, GetCurrentThreadId());
    escapeWatch = this;
}

LRESULT CALLBACK TDockPanel::EscapeHook(int code, WPARAM wParam, LPARAM lParam) {
    // Pressed (not released, not repeated) while a drag is armed: the drag ends where it
    // began, and the key is spent on it, so it closes nothing else.
    const bool pressed = (static_cast<DWORD>(lParam) & 0xC0000000u) == 0;
    if (code == HC_ACTION && wParam == VK_ESCAPE && pressed && escapeWatch && escapeWatch->drag_.Armed) {
        TDockPanel* panel = escapeWatch;
        Guarded([&] { panel->EndDrag({}, false); });
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TDockPanel::TrackDrag(POINT screen) {
    if (!drag_.Armed)
        return;
    if (EscapeHeld()) {
        EndDrag(screen, false);
        return;
    }
    if (!drag_.Active) {
        if (std::abs(screen.x - drag_.Start.x) <= GetSystemMetrics(SM_CXDRAG) &&
            std::abs(screen.y - drag_.Start.y) <= GetSystemMetrics(SM_CYDRAG))
            return;
        drag_.Active = true;
        if (!outline_)
            outline_ = std::make_unique<TDragOutline>(host_);
    }
    const TDockPanel* dock = DockTargetAt(screen);
    const RECT target = dock ? dock->DockTargetRect()
                             : ToRECT(PaneRectAt({screen.x, screen.y}, {drag_.Grab.x, drag_.Grab.y},
                                                 {drag_.Size.cx, drag_.Size.cy}));
    outline_->ShowAt(target);
}

void TDockPanel::EndDrag(POINT screen, bool apply) {
    const TDrag drag = drag_;
    drag_ = {};
    if (!drag.Armed)
        return;
    if (escapeHook_) {
        UnhookWindowsHookEx(escapeHook_);
        escapeHook_ = nullptr;
    }
    if (escapeWatch == this)
        escapeWatch = nullptr;
    if (GetCapture() == drag.Capture)
        ReleaseCapture();
    if (outline_)
        outline_->Hide();
    if (!apply || !drag.Active || !client_)
        return;
    if (TDockPanel* dock = DockTargetAt(screen)) {
        // Released over its own docked place nothing changes; the other side takes it over.
        if (dock != this || state_ == TDockState::Floating)
            dock->ManualDock(client_);
        return;
    }
    const RECT target =
        ToRECT(PaneRectAt({screen.x, screen.y}, {drag.Grab.x, drag.Grab.y}, {drag.Size.cx, drag.Size.cy}));
    if (state_ == TDockState::Docked) {
        Float(target);
    } else if (state_ == TDockState::Floating) {
        SetWindowPos(client_->Handle(), nullptr, target.left, target.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        floatingRect_ = ScreenRectOf(client_->Handle());
    }
}

// ---- The panel's own messages: the strip ----

LRESULT TDockPanel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        PlaceClient();
        break;
    case WM_LBUTTONDBLCLK: {
        const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const RECT strip = CaptionRect();
        const RECT close = CloseButtonRect();
        if (PtInRect(&strip, p) && !PtInRect(&close, p)) {
            EndDrag(p, false);
            ToggleFloating();
            return 0;
        }
        break;
    }
    case WM_LBUTTONUP:
        // The drag ends here, before the mouse handling lets the capture go (which would
        // cancel it).
        if (drag_.Armed && drag_.Capture == Handle()) {
            POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(Handle(), &screen);
            EndDrag(screen, true);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (drag_.Armed && drag_.Capture == Handle() && reinterpret_cast<HWND>(lParam) != Handle())
            EndDrag({}, false);
        break;
    case WM_TIMER:
        if (wParam != kRaiseTimer)
            break;
        KeepAboveHost();
        if (--raiseChecks_ <= 0)
            KillTimer(Handle(), kRaiseTimer);
        return 0;
    default:
        break;
    }
    return TPaintedControl::WndProc(msg, wParam, lParam);
}

void TDockPanel::MouseDown(TMouseButton button, int x, int y) {
    const POINT p{x, y};
    const RECT strip = CaptionRect();
    const RECT close = CloseButtonRect();
    if (button != TMouseButton::Left || !PtInRect(&strip, p) || !client_)
        return;
    if (PtInRect(&close, p)) {
        closePressed_ = true;
        InvalidateRect(Handle(), &close, FALSE);
        return;
    }
    POINT screen = p;
    ClientToScreen(Handle(), &screen);
    const RECT panel = ScreenRectOf(Handle());
    ArmDrag(screen, {screen.x - panel.left, screen.y - panel.top}, FloatingSize(), Handle());
}

void TDockPanel::MouseMove(int x, int y) {
    POINT screen{x, y};
    ClientToScreen(Handle(), &screen);
    TrackDrag(screen);
}

void TDockPanel::MouseCaptureLost() {
    // A press on the close mark that another window interrupted closes nothing.
    if (!closePressed_)
        return;
    closePressed_ = false;
    const RECT close = CloseButtonRect();
    InvalidateRect(Handle(), &close, FALSE);
}

void TDockPanel::MouseUp(TMouseButton button, int x, int y) {
    if (button != TMouseButton::Left)
        return;
    const POINT p{x, y};
    if (closePressed_) {
        closePressed_ = false;
        const RECT close = CloseButtonRect();
        InvalidateRect(Handle(), &close, FALSE);
        if (PtInRect(&close, p))
            CloseDockForm();
        return;
    }
}

void TDockPanel::Paint(HDC dc) {
    const RECT strip = CaptionRect();
    FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    RECT frame{strip.left + 1, strip.top + 1, strip.right - 1, strip.bottom - 1};
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT close = CloseButtonRect();
    if (client_) {
        const std::wstring title = client_->Caption();
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        const HGDIOBJ old = SelectObject(dc, client_->FontHandle());
        RECT text{frame.left + 5, frame.top, close.left - 2, frame.bottom};
        DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    // The close mark is drawn, not taken from a symbol font, so it shows on every system.
    if (closePressed_)
        DrawEdge(dc, &close, BDR_SUNKENOUTER, BF_RECT);
    const int offset = closePressed_ ? 1 : 0;
    const TGdiObject pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT)));
    const HGDIOBJ oldPen = SelectObject(dc, pen.Get());
    const int left = close.left + 4 + offset, top = close.top + 3 + offset;
    const int size = static_cast<int>(close.bottom - close.top) - 6;
    for (int thick = 0; thick < 2; ++thick) {
        MoveToEx(dc, left + thick, top, nullptr);
        LineTo(dc, left + thick + size, top + size);
        MoveToEx(dc, left + thick + size - 1, top, nullptr);
        LineTo(dc, left + thick - 1, top + size);
    }
    SelectObject(dc, oldPen);
}

// ---- The docked form's and the host's messages ----

LRESULT CALLBACK TDockPanel::ClientProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR refData) {
    auto* self = reinterpret_cast<TDockPanel*>(refData);
    if (msg == WM_NCDESTROY) {
        Guarded([&] { self->ReleaseClient(); });
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
    if (Guarded(false, [&] { return self->ClientMessage(wnd, msg, wParam, lParam); }))
        return 0;
    const LRESULT result = DefSubclassProc(wnd, msg, wParam, lParam);
    if (msg == WM_SETTEXT && IsWindow(self->Handle()))
        InvalidateRect(self->Handle(), nullptr, FALSE); // the strip shows the new title
    return result;
}

bool TDockPanel::ClientMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool floating = state_ == TDockState::Floating;
    POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
    case WM_NCLBUTTONDOWN:
        if (!floating || wParam != HTCAPTION)
            return false;
        {
            // The pane moves at the release; until then only its outline follows the mouse.
            SetActiveWindow(wnd);
            const RECT r = ScreenRectOf(wnd);
            ArmDrag(screen, {screen.x - r.left, screen.y - r.top}, {r.right - r.left, r.bottom - r.top}, wnd);
        }
        return true;
    case WM_NCLBUTTONDBLCLK:
        if (!floating || wParam != HTCAPTION)
            return false;
        EndDrag(screen, false);
        ManualDock(client_);
        return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (!drag_.Armed || drag_.Capture != wnd)
            return false;
        ClientToScreen(wnd, &screen);
        if (msg == WM_MOUSEMOVE)
            TrackDrag(screen);
        else
            EndDrag(screen, true);
        return true;
    case WM_CAPTURECHANGED:
        if (drag_.Armed && drag_.Capture == wnd && reinterpret_cast<HWND>(lParam) != wnd)
            EndDrag({}, false);
        return false;
    case WM_SHOWWINDOW:
        // Shown or hidden by a call (not with its owner): the dock follows.
        if (lParam == 0 && !switching_)
            ClientShowing(wParam != FALSE);
        return false;
    default:
        return false;
    }
}

void TDockPanel::ClientShowing(bool show) {
    if (!show) {
        if (state_ != TDockState::Closed) {
            state_ = TDockState::Closed;
            hiddenWithHost_ = false;
            ShowDockSite(false);
        }
        return;
    }
    if (state_ != TDockState::Closed)
        return;
    // Shown directly after a close: where it now is decides.
    state_ = GetParent(client_->Handle()) == Handle() ? TDockState::Docked : TDockState::Floating;
    if (state_ == TDockState::Docked) {
        ShowDockSite(true);
        PlaceClient();
    }
}

void TDockPanel::ReleaseClient() {
    if (!client_)
        return;
    EndDrag({}, false);
    if (IsWindow(client_->Handle()))
        RemoveWindowSubclass(client_->Handle(), ClientProc, kClientSubclass);
    if (client_->ShortCutHost == Owner())
        client_->ShortCutHost = nullptr;
    client_ = nullptr;
    state_ = TDockState::Closed;
    if (Handle() && IsWindow(host_))
        ShowDockSite(false);
}

LRESULT CALLBACK TDockPanel::HostProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR refData) {
    auto* self = reinterpret_cast<TDockPanel*>(refData);
    // The pane hides before its host does, and comes back once the host shows.
    if (msg == WM_SHOWWINDOW && lParam == 0 && !wParam)
        Guarded([&] { self->HostShowing(false); });
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(wnd, HostProc, id);
    const LRESULT result = DefSubclassProc(wnd, msg, wParam, lParam);
    if (msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW))
        Guarded([&] { self->HostShowing(true); });
    if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE)
        Guarded([&] { self->WatchHostRaise(); });
    return result;
}

void TDockPanel::WatchHostRaise() {
    // An owned window stands above its owner, but not every system keeps it there when
    // the owner is raised, and the raise may come a moment after the show or activation
    // that asks for it: the pane is checked for a little while.
    if (!client_ || state_ != TDockState::Floating)
        return;
    raiseChecks_ = kRaiseChecks;
    SetTimer(Handle(), kRaiseTimer, kRaiseCheckMs, nullptr);
}

void TDockPanel::KeepAboveHost() {
    if (!client_ || state_ != TDockState::Floating || !IsWindowVisible(client_->Handle()))
        return;
    for (HWND w = GetWindow(host_, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == client_->Handle()) { // the host stands above its pane: the pane goes up
            SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return;
        }
}

void TDockPanel::HostShowing(bool show) {
    if (!client_ || state_ != TDockState::Floating)
        return;
    const HWND wnd = client_->Handle();
    switching_ = true;
    if (!show && IsWindowVisible(wnd)) {
        // Away with the host (to the tray, before a capture), so no picture shows it.
        EndDrag({}, false);
        ShowWindow(wnd, SW_HIDE);
        hiddenWithHost_ = true;
    } else if (show && hiddenWithHost_) {
        hiddenWithHost_ = false;
        const RECT r = OntoAMonitor(ScreenRectOf(wnd));
        SetWindowPos(wnd, HWND_TOP, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        KeepAboveHost();
        WatchHostRaise();
    }
    switching_ = false;
}

// ---- Splitter ----

TDockSplitter::TDockSplitter(TForm* owner, std::wstring name, TDockPanel* panel)
    : TPaintedControl(owner, std::move(name), owner), panel_(panel) {
    SetVisible(false);
    SetWidth(kWidth);
    // Made right after its panel and aligned as it is, it lies at the panel's inner edge.
    SetAlign(panel->Side() == TDockSide::Right ? TAlign::Right : TAlign::Left);
    SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
    panel->splitter_ = this;
}

TDockSplitter::~TDockSplitter() {
    if (panel_)
        panel_->splitter_ = nullptr;
}

void TDockSplitter::MouseDown(TMouseButton button, int x, int) {
    if (button != TMouseButton::Left || !panel_)
        return;
    dragging_ = true;
    grab_ = x;
}

void TDockSplitter::MouseMove(int x, int) {
    if (!dragging_ || !panel_)
        return;
    // The site is what the panel, the splitter and the document area share.
    const TDockSide side = panel_->Side();
    const TRect panel = ToRect(panel_->BoundsRect());
    const int siteWidth = SplitterSiteWidth(side, panel, ToRect(Owner()->ClientRemainder()));
    const int requested = SplitterRequestedWidth(side, panel, BoundsRect().left + x - grab_, kWidth);
    const int width = SplitterDragWidth(requested, panel_->Width(), siteWidth, kWidth);
    if (width != panel_->Width())
        panel_->SetWidth(width);
}

void TDockSplitter::MouseUp(TMouseButton button, int, int) {
    if (button == TMouseButton::Left)
        dragging_ = false;
}

void TDockSplitter::MouseCaptureLost() {
    // Another window took the mouse: the panel keeps the width the drag had given it.
    dragging_ = false;
}
