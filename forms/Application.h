#pragma once
// The application object: the message loop with idle processing, the error box for
// exceptions that reach the loop, and the program-wide message hook.
#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "forms/Component.h"

class TForm;

// Posted to the utility window to delete a form that closed itself with TCloseAction::Free.
constexpr UINT kReleaseFormMessage = WM_APP + 1;
// Posted to the utility window to run work handed to TApplication::Post.
constexpr UINT kRunPostedMessage = WM_APP + 2;

class TApplication : public TObject {
public:
    explicit TApplication(HINSTANCE instance);
    ~TApplication() override;

    HINSTANCE Instance() const { return instance_; }
    std::wstring Title;
    TForm* MainForm = nullptr;

    // Every message the loop takes from the queue passes here first; set handled to stop it.
    std::function<void(MSG& msg, bool& handled)> OnMessage;
    // Shows an exception to the user; tests replace it to observe the error box.
    std::function<void(const std::wstring& message)> OnShowException;

    // Runs the message loop until Terminate; shows the main form first.
    void Run();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Handles the messages waiting in the queue, then returns.
    void ProcessMessages();
    // Takes one message (waiting for it when wait is true); false when none was there.
    bool HandleMessage(bool wait);

    // The error box: shows the exception's message, unless it is a silent abort.
    void HandleException(const std::exception_ptr& e);
    void ShowException(const std::wstring& message);

    // Idle work (the action lists' update tests) runs whenever the queue is empty.
    void AddIdleHandler(TObject* owner, std::function<void()> handler);
    void RemoveIdleHandlers(TObject* owner);
    void DoIdle();

    // Modal loops (dialogs, menus) count here, so the program can tell it is inside one.
    int ModalLevel = 0;

    // How long a hint stays up, in milliseconds; the hints of every window follow it.
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int ms);

    // Runs the work from the message loop after the message being handled now, so that
    // whoever called into the program (a drag loop of another program) is not kept
    // waiting; an exception in it reaches the error box.
    void Post(std::function<void()> work);
    void RunPosted();

    // A hidden utility window of the application for timers and posted work.
    HWND UtilWindow() const { return utilWindow_; }

private:
    bool ProcessMessage(MSG& msg);
    bool IsShortCut(const MSG& msg);
    HINSTANCE instance_;
    HWND utilWindow_ = nullptr;
    bool terminated_ = false;
    int hintHidePause_ = 2500;
    struct IdleHandler {
        TObject* Owner;
        std::function<void()> Handler;
    };
    std::vector<IdleHandler> idle_;
    std::deque<std::function<void()>> posted_;
};

// The one application object of the process.
extern TApplication* Application;

// The exception barrier of every callback that Windows calls (window procedures, timers,
// hooks, enumerations, COM): an exception is shown in the error box and the callback
// returns the fallback value, so nothing ever unwinds into system code.
template <class R, class F> R Guarded(R fallback, F&& f) noexcept {
    try {
        return f();
    } catch (...) {
        if (Application)
            Application->HandleException(std::current_exception());
        return fallback;
    }
}
template <class F> void Guarded(F&& f) noexcept {
    try {
        f();
    } catch (...) {
        if (Application)
            Application->HandleException(std::current_exception());
    }
}
