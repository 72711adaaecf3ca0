// The real program's bar area with the real mouse: the capture tool bar dragged by its
// gripper onto the main tool bar's row, then buttons of both bars clicked where they stand.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "E2eSupport.h"

using namespace e2e;

namespace {
constexpr int kOpenButton = 1;       // New, Open, ...
constexpr int kFullScreenButton = 4; // Selected Control, Window, Region, Rectangle, Full Screen

RECT ScreenRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

// A button's rectangle on the screen, read through memory of the tool bar's process.
std::optional<RECT> ButtonOnScreen(const TProcess& process, HWND bar, int index) {
    void* remote = VirtualAllocEx(process.Handle(), nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return std::nullopt;
    RECT r{};
    SIZE_T read = 0;
    const bool got =
        SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote)) &&
        ReadProcessMemory(process.Handle(), remote, &r, sizeof(r), &read) && read == sizeof(r);
    VirtualFreeEx(process.Handle(), remote, 0, MEM_RELEASE);
    if (!got)
        return std::nullopt;
    MapWindowPoints(bar, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A press and release of the left button with the real mouse, in steps so that the
// program sees the pointer move.
void DragWithMouse(POINT from, POINT to) {
    MoveMouse(from.x, from.y);
    MoveMouse(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 8; ++step)
        MoveMouse(from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8);
    MoveMouse(to.x, to.y, MOUSEEVENTF_LEFTUP);
}

void ClickWithMouse(const RECT& r) {
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MoveMouse(at.x, at.y);
    MoveMouse(at.x, at.y, MOUSEEVENTF_LEFTDOWN);
    MoveMouse(at.x, at.y, MOUSEEVENTF_LEFTUP);
}

class BandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegTree(kSettingsKey);
        WriteRegString(kSettingsKey, L"Language", L"English");
        WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
        WriteRegString(kSettingsKey, L"isSound", L"FALSE");
        WriteRegString(kSettingsKey, L"isAfterVisible", L"TRUE");
    }
    void TearDown() override { DeleteRegTree(kSettingsKey); }
    TProgramFolder folder;
};
} // namespace

TEST_F(BandsTest, TheCaptureToolBarDraggedOntoTheFirstRowKeepsBothBarsWorking) {
    TProcess p(folder.Exe());
    const HWND main = MainWindowReadyForHotkeys(p);
    ASSERT_TRUE(main);
    const std::vector<HWND> areas = ChildrenOfClass(main, REBARCLASSNAMEW);
    const std::vector<HWND> clients = ChildrenOfClass(main, L"MDIClient");
    ASSERT_EQ(areas.size(), 1u);
    ASSERT_EQ(clients.size(), 1u);
    const HWND area = areas[0];
    const HWND client = clients[0];
    std::vector<HWND> bars = ToolBarsTopDown(main);
    ASSERT_EQ(bars.size(), 2u);
    const HWND main1 = bars[0];
    const HWND capture = bars[1];
    // The start-up layout (the tool window docked, the bars placed) has ended before any
    // place is read.
    ASSERT_TRUE(WaitForStillLayout({area, client, main1, capture}));
    // Three rows at the start: the capture bar below the main one.
    ASSERT_GT(ScreenRect(capture).top, ScreenRect(main1).top);
    const int areaHeight = ScreenRect(area).bottom - ScreenRect(area).top;
    const int clientHeight = ScreenRect(client).bottom - ScreenRect(client).top;

    // The gripper lies left of the bar; dropped on the first row, right of the main bar's
    // buttons.
    SetForegroundWindow(main);
    const RECT from = ScreenRect(capture);
    const RECT row = ScreenRect(main1);
    const RECT whole = ScreenRect(area);
    DragWithMouse({whole.left + 4, (from.top + from.bottom) / 2},
                  {whole.right - 120, (row.top + row.bottom) / 2});
    ASSERT_TRUE(WaitFor([&] { return ScreenRect(capture).top == ScreenRect(main1).top; }))
        << "capture bar at " << ScreenRect(capture).top << ", main bar at " << ScreenRect(main1).top;
    EXPECT_GT(ScreenRect(capture).left, ScreenRect(main1).left);
    // One row less: the bar area is lower and the document area taller by as much.
    ASSERT_TRUE(WaitFor([&] { return ScreenRect(area).bottom - ScreenRect(area).top < areaHeight; }));
    ASSERT_TRUE(WaitForStillLayout({area, client, main1, capture}));
    const int saved = areaHeight - (ScreenRect(area).bottom - ScreenRect(area).top);
    EXPECT_GE(saved, 24);
    EXPECT_TRUE(
        WaitFor([&] { return ScreenRect(client).bottom - ScreenRect(client).top == clientHeight + saved; }));
    EXPECT_EQ(ToolBarsTopDown(main), (std::vector<HWND>{main1, capture}));

    // Open on the main bar shows the file dialog.
    const auto open = ButtonOnScreen(p, main1, kOpenButton);
    ASSERT_TRUE(open.has_value());
    ClickWithMouse(*open);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = OpenDialogOf(p.Id())) != nullptr; }));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }));

    // Full Screen on the capture bar, now beside it, makes a capture document.
    const auto full = ButtonOnScreen(p, capture, kFullScreenButton);
    ASSERT_TRUE(full.has_value());
    ClickWithMouse(*full);
    EXPECT_TRUE(WaitFor([&] { return DocumentCount(main) == 1; }, 30000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    // The capture is an unsaved document; the process is ended with the test.
}
