// The real program's tool window: docked into the main window at start-up with the stored
// colours, which the real exit writes back unchanged; pulled out by its caption with the
// real mouse and docked again, on the left and on the right.
#include <windows.h>

#include <functional>
#include <gtest/gtest.h>

#include "E2eSupport.h"
#include "tests/support/PickerDriver.h"
#include "tests/support/Taskbar.h"

using namespace e2e;

namespace {
class ToolWindowTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegTree(kSettingsKey); }
    void TearDown() override { DeleteRegTree(kSettingsKey); }
    TProgramFolder folder;
};

struct TSearch {
    const wchar_t* Caption;
    HWND Found = nullptr;
};

BOOL CALLBACK MatchCaption(HWND wnd, LPARAM lp) {
    auto* s = reinterpret_cast<TSearch*>(lp);
    wchar_t text[64] = {};
    GetWindowTextW(wnd, text, 64);
    if (lstrcmpW(text, s->Caption) != 0)
        return TRUE;
    s->Found = wnd;
    return FALSE;
}

// The descendant of a window with this caption, or null.
HWND FindDescendant(HWND root, const wchar_t* caption) {
    TSearch search{caption};
    EnumChildWindows(root, MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The tool window once the start-up has docked it into the main window, or null. It lies
// in the hidden dock area from its creation; the docking shows it.
HWND DockedToolWindow(HWND main) {
    HWND tool = nullptr;
    WaitFor([&] { return (tool = FindDescendant(main, L"Tool Window")) && IsWindowVisible(tool); });
    return tool && IsWindowVisible(tool) ? tool : nullptr;
}
} // namespace

TEST_F(ToolWindowTest, TheToolWindowIsDockedAtStartUpAndItsStoredColoursSurviveTheExit) {
    WriteRegString(kSettingsKey, L"Language", L"English");
    WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
    WriteRegDword(kSettingsKey, L"ForgColor", 0x0000FF);
    WriteRegDword(kSettingsKey, L"HistoryColor2", 0x00FF00);
    TProcess program(folder.Exe());
    const HWND main = MainWindowOf(program.Id());
    ASSERT_TRUE(main);
    const HWND tool = DockedToolWindow(main);
    ASSERT_TRUE(tool);
    RECT r{};
    GetWindowRect(tool, &r);
    EXPECT_EQ(r.right - r.left, 190);
    ASSERT_TRUE(ExitProgram(program, main));
    const auto pen = ReadRegValue(kSettingsKey, L"ForgColor");
    ASSERT_TRUE(pen.has_value());
    EXPECT_EQ(pen->Number, 0x0000FFu);
    const auto history = ReadRegValue(kSettingsKey, L"HistoryColor2");
    ASSERT_TRUE(history.has_value());
    EXPECT_EQ(history->Number, 0x00FF00u);
}

namespace {
RECT ScreenRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

// A drag with the real mouse, in steps, so that the program sees it move; beforeRelease
// looks at the screen while the button is still held at the end.
void DragWithMouse(POINT from, POINT to, const std::function<void()>& beforeRelease = {}) {
    MoveMouse(from.x, from.y);
    MoveMouse(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 6; ++step)
        MoveMouse(from.x + (to.x - from.x) * step / 6, from.y + (to.y - from.y) * step / 6);
    if (beforeRelease)
        beforeRelease();
    MoveMouse(to.x, to.y, MOUSEEVENTF_LEFTUP);
}

// Whether one top-level window stands above another.
bool IsAbove(HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == lower)
            return true;
    return false;
}

// The drag outline of a process while it shows, or null.
HWND VisibleOutlineOf(DWORD processId) {
    for (HWND w : FindWindows(L"TolvexDragOutline", processId))
        if (IsWindowVisible(w))
            return w;
    return nullptr;
}
} // namespace

TEST_F(ToolWindowTest, TheToolWindowIsPulledOutByItsCaptionAndDockedAgainWithTheMouse) {
    WriteRegString(kSettingsKey, L"Language", L"English");
    WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
    WriteRegString(kSettingsKey, L"isAfterVisible", L"TRUE");
    TProcess program(folder.Exe());
    const HWND main = MainWindowOf(program.Id());
    ASSERT_TRUE(main);
    const HWND tool = DockedToolWindow(main);
    ASSERT_TRUE(tool);
    const HWND panel = GetParent(tool);
    SetForegroundWindow(main);
    // The caption strip is pressed where it stands once the start-up layout has ended.
    ASSERT_TRUE(WaitForStillLayout({panel, tool}));

    // Out by the caption strip above the tool window, into the middle of the screen.
    // During the drag only an outline moves; it has no taskbar button either.
    const RECT docked = ScreenRect(panel);
    DragWithMouse({docked.left + 60, docked.top + 8}, {640, 360}, [&] {
        HWND outline = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (outline = VisibleOutlineOf(program.Id())) != nullptr; }));
        EXPECT_EQ(GetParent(tool), panel);
        EXPECT_TRUE(WaitFor([&] { return TaskbarButtonOf(main) != nullptr; }));
        QuietPeriod();
        EXPECT_EQ(TaskbarButtonOf(outline), nullptr);
    });
    ASSERT_TRUE(
        WaitFor([&] { return GetAncestor(tool, GA_PARENT) == GetDesktopWindow() && IsWindowVisible(tool); }));
    EXPECT_EQ(GetWindow(tool, GW_OWNER), main);
    EXPECT_TRUE(GetWindowLongW(tool, GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongW(tool, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); }));
    ASSERT_TRUE(WaitForStillLayout({tool}));
    const RECT floating = ScreenRect(tool);
    EXPECT_EQ(floating.left, 640 - 60);
    // The main window's button shows that the taskbar is up to date; the tool window has none.
    EXPECT_TRUE(WaitFor([&] { return TaskbarButtonOf(main) != nullptr; }));
    QuietPeriod();
    EXPECT_EQ(TaskbarButtonOf(tool), nullptr);

    // Hidden with the main window to the tray, and back above it with the Show hotkey.
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main) && !IsWindowVisible(tool); }));
    picker_driver::PressCtrlShift(VK_F11);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) && IsWindowVisible(tool); }))
        << "main window shown: " << IsWindowVisible(main) << ", tool window shown: " << IsWindowVisible(tool);
    QuietPeriod(); // the main window's raise may come late; the pane must stay above it
    EXPECT_TRUE(IsAbove(tool, main));
    EXPECT_EQ(ScreenRect(tool).left, floating.left);

    // Back by its own caption, released near the main window's left client edge.
    RECT client{};
    GetClientRect(main, &client);
    POINT edge{10, client.bottom / 2};
    ClientToScreen(main, &edge);
    const int captionY =
        floating.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSMCAPTION) / 2;
    DragWithMouse({floating.left + 40, captionY}, edge);
    ASSERT_TRUE(WaitFor([&] { return GetParent(tool) == panel && IsWindowVisible(tool); }));
    EXPECT_TRUE(IsChild(main, tool));
    const RECT inMain = ScreenRect(tool);
    const RECT mainRect = ScreenRect(main);
    EXPECT_GE(inMain.left, mainRect.left);
    EXPECT_LE(inMain.right, mainRect.right);
    EXPECT_GE(inMain.top, mainRect.top);
    EXPECT_LE(inMain.bottom, mainRect.bottom);
    EXPECT_EQ(inMain.right - inMain.left, 190);
    ASSERT_TRUE(ExitProgram(program, main));
}

TEST_F(ToolWindowTest, TheToolWindowDocksAtTheRightEdgeWithTheMouseAndComesBackThereFromFloating) {
    WriteRegString(kSettingsKey, L"Language", L"English");
    WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
    TProcess program(folder.Exe());
    const HWND main = MainWindowOf(program.Id());
    ASSERT_TRUE(main);
    const HWND tool = DockedToolWindow(main);
    ASSERT_TRUE(tool);
    const HWND left = GetParent(tool);
    SetForegroundWindow(main);
    ASSERT_TRUE(WaitForStillLayout({left, tool}));

    // The caption strip, dragged to just inside the main window's right client edge: the
    // outline shows the right dock place while the button is held.
    RECT client{};
    GetClientRect(main, &client);
    POINT edge{client.right - 10, client.bottom / 2};
    ClientToScreen(main, &edge);
    POINT clientRight{client.right, 0};
    ClientToScreen(main, &clientRight);
    const RECT docked = ScreenRect(left);
    DragWithMouse({docked.left + 60, docked.top + 8}, edge, [&] {
        HWND outline = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (outline = VisibleOutlineOf(program.Id())) != nullptr; }));
        // The pointer held still at the edge: the outline ends up at the right dock place.
        EXPECT_TRUE(HoldMouseUntil(edge, [&] { return ScreenRect(outline).right == clientRight.x; }))
            << "outline right " << ScreenRect(outline).right << ", client right " << clientRight.x;
    });
    ASSERT_TRUE(WaitFor([&] { return GetParent(tool) != left && IsWindowVisible(tool); }));
    const HWND right = GetParent(tool);
    EXPECT_TRUE(IsChild(main, tool));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(left); }));
    EXPECT_EQ(ScreenRect(tool).right, clientRight.x);
    EXPECT_EQ(ScreenRect(tool).right - ScreenRect(tool).left, 190);
    EXPECT_TRUE(WaitFor([&] { return VisibleOutlineOf(program.Id()) == nullptr; }));

    // Out by the right strip into the middle; a double click on the floating caption
    // brings it back to the right, where it docked last.
    ASSERT_TRUE(WaitForStillLayout({right, tool}));
    const RECT strip = ScreenRect(right);
    DragWithMouse({strip.left + 60, strip.top + 8}, {500, 400});
    ASSERT_TRUE(
        WaitFor([&] { return GetAncestor(tool, GA_PARENT) == GetDesktopWindow() && IsWindowVisible(tool); }));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(right); }));
    ASSERT_TRUE(WaitForStillLayout({tool}));
    const RECT floating = ScreenRect(tool);
    const int captionY =
        floating.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSMCAPTION) / 2;
    MoveMouse(floating.left + 40, captionY);
    for (int click = 0; click < 2; ++click) {
        MoveMouse(floating.left + 40, captionY, MOUSEEVENTF_LEFTDOWN);
        MoveMouse(floating.left + 40, captionY, MOUSEEVENTF_LEFTUP);
    }
    ASSERT_TRUE(WaitFor([&] { return GetParent(tool) == right && IsWindowVisible(tool); }));
    EXPECT_TRUE(IsWindowVisible(right));
    EXPECT_FALSE(IsWindowVisible(left));
    ASSERT_TRUE(ExitProgram(program, main));
}
