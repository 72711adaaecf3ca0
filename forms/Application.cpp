#include "forms/Application.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/Exceptions.h"
#include "forms/Form.h"
#include "forms/Timer.h"

TApplication* Application = nullptr;

namespace {
constexpr wchar_t kUtilWindowClass[] = L"TolvexUtilWindow";

LRESULT CALLBACK UtilWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        Guarded([&] { TTimer::Dispatch(static_cast<UINT_PTR>(wParam)); });
        return 0;
    }
    if (msg == kRunPostedMessage) {
        if (Application)
            Application->RunPosted();
        return 0;
    }
    if (msg == kReleaseFormMessage) {
        Guarded([&] { TFormDeleter{}(reinterpret_cast<TForm*>(lParam)); });
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
} // namespace

TApplication::TApplication(HINSTANCE instance) : instance_(instance) {
    Application = this;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = UtilWindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kUtilWindowClass;
    RegisterClassExW(&wc);
    utilWindow_ =
        CreateWindowExW(0, kUtilWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, nullptr);
}

TApplication::~TApplication() {
    if (utilWindow_)
        DestroyWindow(utilWindow_);
    if (Application == this)
        Application = nullptr;
}

void TApplication::Run() {
    if (MainForm) {
        MainForm->Show();
        // The first activation of the main form does the start-up work, so it must come
        // even when another program holds the foreground.
        if (GetActiveWindow() != MainForm->Handle())
            SetActiveWindow(MainForm->Handle());
    }
    while (!terminated_)
        HandleMessage(true);
}

void TApplication::ProcessMessages() {
    while (HandleMessage(false)) {
    }
}

bool TApplication::HandleMessage(bool wait) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            terminated_ = true;
        else
            ProcessMessage(msg);
        return true;
    }
    if (wait) {
        DoIdle();
        if (!terminated_)
            WaitMessage();
    }
    return false;
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (OnMessage) {
        bool handled = false;
        Guarded([&] { OnMessage(msg, handled); });
        if (handled)
            return true;
    }
    if (IsShortCut(msg))
        return true;
    const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (TForm* form = TForm::FromHandle(root)) {
        if (form->PreTranslateMessage(msg))
            return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

bool TApplication::IsShortCut(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    TForm* form = TForm::FromHandle(root);
    if (!form || msg.wParam > 0xFF)
        return false;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    const TShortCut sc = MakeShortCut(static_cast<std::uint8_t>(msg.wParam), shift, ctrl, alt);
    if (Guarded(false, [&] { return form->IsShortCut(sc); }))
        return true;
    TForm* host = form->ShortCutHost;
    if (!host || host == form || !IsWindowEnabled(host->Handle()))
        return false;
    return Guarded(false, [&] { return host->IsShortCut(sc); });
}

void TApplication::HandleException(const std::exception_ptr& e) {
    try {
        std::rethrow_exception(e);
    } catch (const EAbort&) {
        return;
    } catch (...) {
    }
    ShowException(ExceptionMessage(e));
}

void TApplication::ShowException(const std::wstring& message) {
    if (OnShowException) {
        try {
            OnShowException(message);
        } catch (...) {
        }
        return;
    }
    HWND owner = GetActiveWindow();
    ++ModalLevel;
    MessageBoxW(owner, message.c_str(), Title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    --ModalLevel;
}

void TApplication::Post(std::function<void()> work) {
    posted_.push_back(std::move(work));
    if (!PostMessageW(utilWindow_, kRunPostedMessage, 0, 0)) {
        // A full queue: the work runs now rather than never.
        RunPosted();
    }
}

void TApplication::RunPosted() {
    if (posted_.empty())
        return;
    std::function<void()> work = std::move(posted_.front());
    posted_.pop_front();
    Guarded([&] { work(); });
}

void TApplication::AddIdleHandler(TObject* owner, std::function<void()> handler) {
    idle_.push_back({owner, std::move(handler)});
}

void TApplication::RemoveIdleHandlers(TObject* owner) {
    std::erase_if(idle_, [owner](const IdleHandler& h) { return h.Owner == owner; });
}

void TApplication::DoIdle() {
    // A handler may add or remove handlers: work on a copy.
    const auto handlers = idle_;
    for (const auto& h : handlers)
        Guarded([&] { h.Handler(); });
}

namespace {
BOOL CALLBACK SetTooltipPause(HWND wnd, LPARAM ms) {
    wchar_t name[32] = {};
    GetClassNameW(wnd, name, 32);
    if (CompareStringOrdinal(name, -1, TOOLTIPS_CLASSW, -1, TRUE) == CSTR_EQUAL)
        SendMessageW(wnd, TTM_SETDELAYTIME, TTDT_AUTOPOP, ms);
    return TRUE;
}
} // namespace

void TApplication::SetHintHidePause(int ms) {
    hintHidePause_ = std::clamp(ms, 0, 32767);
    // The hint windows are top-level windows of this thread.
    EnumThreadWindows(GetCurrentThreadId(), SetTooltipPause, hintHidePause_);
}
