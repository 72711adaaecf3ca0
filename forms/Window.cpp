#include "forms/Window.h"

#include <windows.h>

#include <commctrl.h>

#include <set>
#include <string>

#include "forms/Application.h"
#include "forms/Exceptions.h"
#include "forms/Form.h"

namespace {
constexpr wchar_t kWindowProp[] = L"TolvexWindowObject";
} // namespace

TWindow::TWindow(TForm* owner, std::wstring name) : TComponent(owner, std::move(name)) {}

TWindow::~TWindow() {
    if (handle_) {
        HWND wnd = handle_;
        Unbind();
        DestroyWindow(wnd);
    }
}

TWindow* TWindow::FromHandle(HWND wnd) {
    return wnd ? static_cast<TWindow*>(GetPropW(wnd, kWindowProp)) : nullptr;
}

LRESULT TWindow::Perform(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return handle_ ? SendMessageW(handle_, msg, wParam, lParam) : 0;
}

std::wstring TWindow::WindowText() const {
    if (!handle_)
        return {};
    const int len = GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<std::size_t>(len) + 1, L'\0');
    const int got = GetWindowTextW(handle_, text.data(), len + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

void TWindow::RegisterOwnClass(const wchar_t* className, UINT classStyle, HBRUSH background, HICON icon) {
    static std::set<std::wstring> registered;
    if (registered.count(className))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = classStyle;
    wc.lpfnWndProc = OwnWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        RaiseLastOSError(L"RegisterClass");
    registered.insert(className);
}

void TWindow::CreateOwnWindow(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int x, int y,
                              int width, int height, HMENU menuOrId, UINT classStyle, HBRUSH background,
                              HICON icon) {
    RegisterOwnClass(className, classStyle, background, icon);
    const HWND wnd = CreateWindowExW(exStyle, className, L"", style, x, y, width, height, parent, menuOrId,
                                     GetModuleHandleW(nullptr), this);
    if (!wnd)
        RaiseLastOSError(L"CreateWindow");
}

void TWindow::CreateStandardWindow(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int x,
                                   int y, int width, int height, UINT_PTR id) {
    const HWND wnd = CreateWindowExW(exStyle, className, L"", style, x, y, width, height, parent,
                                     reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
    if (!wnd)
        RaiseLastOSError(L"CreateWindow");
    Bind(wnd);
    SetWindowSubclass(wnd, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    subclassed_ = true;
    if (Owner())
        Owner()->ApplyFontTo(wnd);
}

void TWindow::Attach(HWND wnd) {
    Bind(wnd);
}

void TWindow::Bind(HWND wnd) {
    handle_ = wnd;
    SetPropW(wnd, kWindowProp, this);
}

void TWindow::Unbind() {
    if (!handle_)
        return;
    RemovePropW(handle_, kWindowProp);
    if (subclassed_)
        RemoveWindowSubclass(handle_, SubclassProc, 1);
    subclassed_ = false;
    handle_ = nullptr;
}

LRESULT CALLBACK TWindow::OwnWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWindow* self = FromHandle(wnd);
    if (!self && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        void* param = cs->lpCreateParams;
        // An MDI child receives its object inside the MDI creation block.
        if (cs->dwExStyle & WS_EX_MDICHILD)
            param = reinterpret_cast<void*>(reinterpret_cast<MDICREATESTRUCTW*>(param)->lParam);
        self = static_cast<TWindow*>(param);
        if (self)
            self->Bind(wnd);
    }
    if (!self)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    return self->Dispatch(msg, wParam, lParam);
}

LRESULT CALLBACK TWindow::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR refData) {
    auto* self = reinterpret_cast<TWindow*>(refData);
    if (!self || self->handle_ != wnd)
        return DefSubclassProc(wnd, msg, wParam, lParam);
    return self->Dispatch(msg, wParam, lParam);
}

LRESULT TWindow::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND wnd = handle_;
    LRESULT result = 0;
    try {
        result = WndProc(msg, wParam, lParam);
    } catch (...) {
        if (Application)
            Application->HandleException(std::current_exception());
        result = handle_ ? AfterFailedHandler(msg, wParam, lParam) : 0;
    }
    if (msg == WM_NCDESTROY && handle_ == wnd) {
        Guarded([&] { HandleDestroyed(); });
        Unbind();
    }
    return result;
}

LRESULT TWindow::AfterFailedHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A close whose handler failed must not fall through to the default close, which
    // destroys the window and everything in it without the questions the handler asks.
    if (msg == WM_CLOSE || (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE))
        return 0;
    // Log-off and shut-down are never held up by a failure of the program.
    if (msg == WM_QUERYENDSESSION)
        return TRUE;
    // A failed command or notification counts as handled: a container control (the bar
    // area) passes what it does not handle on to its parent, which would reflect it back to
    // the same control and run the failed command a second time.
    if (msg == WM_COMMAND || msg == WM_NOTIFY)
        return 0;
    // Every other message still gets its default treatment, so the window stays consistent.
    return Guarded(LRESULT{0}, [&] { return DefaultHandler(msg, wParam, lParam); });
}

LRESULT TWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        // Notifications of a control come back to the control's own object.
        if (lParam) {
            if (TWindow* child = FromHandle(reinterpret_cast<HWND>(lParam));
                child && child != this && child->HandleCommand(HIWORD(wParam), LOWORD(wParam)))
                return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (TWindow* child = FromHandle(header->hwndFrom); child && child != this) {
            LRESULT result = 0;
            if (child->HandleNotify(header, result))
                return result;
        }
        break;
    }
    default:
        break;
    }
    return DefaultHandler(msg, wParam, lParam);
}

LRESULT TWindow::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (subclassed_)
        return DefSubclassProc(handle_, msg, wParam, lParam);
    return DefWindowProcW(handle_, msg, wParam, lParam);
}

bool TWindow::HandleCommand(WORD, WORD) {
    return false;
}

bool TWindow::HandleNotify(NMHDR*, LRESULT&) {
    return false;
}
