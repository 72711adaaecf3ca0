#pragma once
// Driving the window picker from outside, as a user would: the pointer moved with
// SetCursorPos, keys and clicks sent with SendInput, the picker's windows found among the
// top-level windows of the process that runs it. A driver runs in a thread of its own,
// because the picker's modal run may block the thread that started it.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "tests/support/Deadlines.h"

namespace picker_driver {

struct TPickerWindows {
    HWND Picker = nullptr; // the arrow
    HWND Frame = nullptr;  // the coloured ring
};

struct TPickerSearch {
    DWORD ProcessId;
    TPickerWindows Found;
};

inline BOOL CALLBACK AddPickerWindow(HWND wnd, LPARAM lParam) {
    auto* s = reinterpret_cast<TPickerSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, 64);
    const auto ex = static_cast<DWORD>(GetWindowLongW(wnd, GWL_EXSTYLE));
    if (pid != s->ProcessId || !IsWindowVisible(wnd) || lstrcmpW(name, L"TolvexForm") != 0 ||
        (ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST)) != (WS_EX_TOOLWINDOW | WS_EX_TOPMOST))
        return TRUE;
    RECT r;
    GetWindowRect(wnd, &r);
    if (r.right - r.left == 115 && r.bottom - r.top == 38)
        s->Found.Picker = wnd;
    else
        s->Found.Frame = wnd;
    return TRUE;
}

// The visible picker windows of a process: topmost tool windows of the program's form
// class; the arrow is the one of the picker's designed size.
inline TPickerWindows FindPickerWindows(DWORD processId) {
    TPickerSearch search{processId, {}};
    EnumWindows(AddPickerWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Whether the pointer is at p; puts it there when not. The system may still apply a
// pointer movement from before the last SetCursorPos, so waits check this each time.
inline bool KeepPointerAt(POINT p) {
    POINT now{};
    GetCursorPos(&now);
    if (now.x == p.x && now.y == p.y)
        return true;
    SetCursorPos(p.x, p.y);
    return false;
}

inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = deadlines::kStateMs) {
    return deadlines::PollUntil(condition, timeoutMs);
}

inline void SendKey(WORD vk, DWORD flags = 0) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = flags;
    SendInput(1, &in, sizeof(INPUT));
}

// Plays the keys as a chord: down in order, up in reverse. The keys before the last are
// held until the system shows them all held for a moment, and only then does the last one
// go down. Under Wine a window that takes the X focus sets the key state back to what the
// X keyboard holds, which never saw these keys: a Ctrl let go that way makes the chord no
// shortcut, so a key found let go is pressed again.
inline void SendKeys(std::initializer_list<WORD> keys) {
    const std::vector<WORD> held(keys.begin(), keys.end() - 1);
    for (WORD vk : held)
        SendKey(vk);
    if (!held.empty()) {
        constexpr auto kHeld = std::chrono::milliseconds(100);
        auto since = std::chrono::steady_clock::now();
        WaitUntil([&] {
            // A round trip through the thread of the window in front: the focus change it
            // still had to take from the X server is handled before the keys are looked at.
            DWORD_PTR answer = 0;
            if (HWND front = GetForegroundWindow())
                SendMessageTimeoutW(front, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, deadlines::kStateMs, &answer);
            bool all = true;
            for (WORD vk : held)
                if (!(GetAsyncKeyState(vk) & 0x8000)) {
                    SendKey(vk);
                    all = false;
                }
            if (!all)
                since = std::chrono::steady_clock::now();
            return all && std::chrono::steady_clock::now() - since >= kHeld;
        });
    }
    SendKey(*(keys.end() - 1));
    SendKey(*(keys.end() - 1), KEYEVENTF_KEYUP);
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        SendKey(*it, KEYEVENTF_KEYUP);
}

// Presses a global hotkey Ctrl+Shift+key.
inline void PressCtrlShift(WORD key) {
    SendKeys({VK_CONTROL, VK_SHIFT, key});
}

// A pointer event at a screen point, with the button events given: the absolute place is
// scaled to 0..65535 (and back by the system, so a pixel off may come back).
inline INPUT MouseInputAt(POINT at, DWORD buttons) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((at.x * 65535LL) / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = static_cast<LONG>((at.y * 65535LL) / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    return in;
}

// A press and release at a screen point: each event carries the place, so that the click
// lands there even when the system has just put the pointer back somewhere older.
inline void ClickButton(POINT at, DWORD downFlag, DWORD upFlag) {
    INPUT inputs[2] = {MouseInputAt(at, downFlag), MouseInputAt(at, upFlag)};
    SendInput(2, inputs, sizeof(INPUT));
}

inline COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

enum class TPickEnd { LeftClick, RightClick, Escape };

// What the driver saw before it ended the pick.
struct TPickSeen {
    bool Framed = false;     // the frame lay over the expected rectangle
    COLORREF RingColor = 0;  // the screen's colour at the frame's top-left pixel
    bool PickerGone = false; // the picker's windows were gone afterwards
};

// Moves the pointer to cursor, waits until the picker of the process sits at the pointer
// with its frame over expectedFrame (and, when a ring colour is given, until the screen
// shows the ring in it), then ends the pick as told. When the frame never gets there, the
// pick is cancelled with Esc all the same, so that a failing test never leaves the picker
// running.
class TPickerDriver {
public:
    TPickerDriver(DWORD processId, POINT cursor, RECT expectedFrame, TPickEnd end,
                  COLORREF ring = CLR_INVALID, int timeoutMs = deadlines::kStateMs)
        : thread_([=, this] { Run(processId, cursor, expectedFrame, end, ring, timeoutMs); }) {}
    TPickerDriver(const TPickerDriver&) = delete;
    TPickerDriver& operator=(const TPickerDriver&) = delete;
    ~TPickerDriver() { Join(); }
    // Waits for the driver's end and gives what it saw.
    TPickSeen Join() {
        if (thread_.joinable())
            thread_.join();
        return seen_;
    }

private:
    void Run(DWORD processId, POINT cursor, RECT expected, TPickEnd end, COLORREF ring, int timeoutMs) {
        SetCursorPos(cursor.x, cursor.y);
        const auto framed = [&] {
            if (!KeepPointerAt(cursor))
                return false;
            const TPickerWindows windows = FindPickerWindows(processId);
            RECT picker{}, frame{};
            return windows.Picker && windows.Frame && GetWindowRect(windows.Picker, &picker) &&
                   picker.left == cursor.x - 5 && picker.top == cursor.y - 9 &&
                   GetWindowRect(windows.Frame, &frame) && EqualRect(&frame, &expected);
        };
        if (WaitUntil(framed, timeoutMs)) {
            // The ring paints after its window is placed.
            WaitUntil([&] {
                seen_.RingColor = ScreenPixel(expected.left, expected.top);
                return ring == CLR_INVALID || seen_.RingColor == ring;
            });
            // The pointer may have been put back somewhere older meanwhile: the pick ends
            // once it frames the rectangle again.
            seen_.Framed = WaitUntil(framed, timeoutMs);
        }
        if (seen_.Framed) {
            switch (end) {
            case TPickEnd::LeftClick:
                ClickButton(cursor, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
                break;
            case TPickEnd::RightClick:
                ClickButton(cursor, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
                break;
            case TPickEnd::Escape:
                SendKeys({VK_ESCAPE});
                break;
            }
        }
        seen_.PickerGone = WaitUntil([&] { return !FindPickerWindows(processId).Picker; });
        // Whatever went wrong, the picker must not stay.
        WaitUntil([&] {
            const HWND left = FindPickerWindows(processId).Picker;
            if (left)
                PostMessageW(left, WM_KEYDOWN, VK_ESCAPE, 0);
            return !left;
        });
    }

    TPickSeen seen_;
    std::thread thread_;
};

} // namespace picker_driver
