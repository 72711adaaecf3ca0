#pragma once
// The base of every window object: binds an object to its HWND, dispatches the window's
// messages to a virtual procedure behind the exception barrier, and reflects the
// notifications a control sends to its parent back to the control's own object.
#include <windows.h>

#include "forms/Component.h"

class TWindow : public TComponent {
public:
    TWindow(TForm* owner, std::wstring name);
    ~TWindow() override;

    HWND Handle() const { return handle_; }
    // The window object bound to a handle, or null.
    static TWindow* FromHandle(HWND wnd);

    // Sends a message to the window (0 when it has no handle).
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;

protected:
    // The window's text, read with the length the window reports; empty without a window.
    std::wstring WindowText() const;
    // Creates a window of one of our own classes; the object is bound at WM_NCCREATE.
    void CreateOwnWindow(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int x, int y,
                         int width, int height, HMENU menuOrId, UINT classStyle = CS_DBLCLKS,
                         HBRUSH background = nullptr, HICON icon = nullptr);
    // Creates a standard control (button, edit, tool bar ...) and subclasses it.
    void CreateStandardWindow(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int x, int y,
                              int width, int height, UINT_PTR id = 0);
    // Binds a window that already exists (an MDI child's object, a tool bar's tooltip).
    void Attach(HWND wnd);

    // The message procedure; calls DefaultHandler for what it does not handle.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);
    // A command (WM_COMMAND from this control) or notification (WM_NOTIFY) reflected from
    // the parent; return true when handled, with the result in result.
    virtual bool HandleCommand(WORD code, WORD id);
    virtual bool HandleNotify(NMHDR* header, LRESULT& result);
    // The window is being destroyed; its handle is still valid.
    virtual void HandleDestroyed() {}

    static LRESULT CALLBACK OwnWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Registers one of our window classes once per process.
    static void RegisterOwnClass(const wchar_t* className, UINT classStyle, HBRUSH background, HICON icon);

private:
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    // The result of a message whose handler raised an exception (already shown).
    LRESULT AfterFailedHandler(UINT msg, WPARAM wParam, LPARAM lParam);
    void Bind(HWND wnd);
    void Unbind();
    HWND handle_ = nullptr;
    bool subclassed_ = false;
};
