#pragma once
// Mouse input of the controls that paint themselves (labels, images, panels): presses with
// the mouse captured while any button is held, clicks, and the notifications that the
// pointer moved onto or off the control.
#include <windows.h>

#include <cstdint>

enum class TMouseButton : std::uint8_t { Left = 0, Right = 1, Middle = 2 };

class TMouseInput {
public:
    virtual ~TMouseInput() = default;

protected:
    // Turns a mouse message of wnd into the calls below; true when it was one.
    bool HandleMouseMessage(HWND wnd, UINT msg, LPARAM lParam);

    virtual void MouseDown(TMouseButton, int, int) {}
    virtual void MouseUp(TMouseButton, int, int) {}
    virtual void MouseMove(int, int) {}
    // A left press and release both inside the control.
    virtual void Click() {}
    // The pointer moved onto, or off, the control (also while the button holds it).
    virtual void NotifyMouseEnter() {}
    virtual void NotifyMouseLeave() {}
    // Another window took the mouse while a button held it here (a message box, Alt+Tab):
    // no release will come.
    virtual void MouseCaptureLost() {}

private:
    void TrackPointer(HWND wnd, int x, int y);
    void Press(HWND wnd, std::uint8_t button);
    void Release(HWND wnd, std::uint8_t button);
    bool over_ = false;
    bool clicked_ = false;
    std::uint8_t held_ = 0; // the buttons pressed here and not yet released, one bit each
};
