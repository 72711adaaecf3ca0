// The tool window in the main window's dock areas under Wine: floating, it hides with the
// main window and before a capture, and the main window's shortcuts work from it; Show Tool
// Window brings it back on the side where it docked last; its bars are reachable by
// scrolling on a short main window; and its background.
#include <windows.h>

#include <objbase.h>

#include "DocumentTestSupport.h"
#include "core/StoredValues.h"
#include "editor/frmTool.h"
#include "forms/Actions.h"
#include "forms/CollapsibleBar.h"
#include "forms/DockPanel.h"
#include "forms/ScrollBox.h"
#include "forms/Timer.h"
#include "forms/TrayIcon.h"
#include "shell/frmMain.h"
#include "tests/forms/FormsTestSupport.h"

namespace {
LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

RECT ScreenRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

class ToolDockTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        main = CreateForm<TMainForm>();
        main->CaptureSleep = [](DWORD) {};
        tool = CreateForm<TToolForm>(*main, main->DockPanelLeft->Handle());
        ToolForm = tool.get();
        SetWindowPos(main->Handle(), nullptr, 40, 40, 1000, 760, SWP_NOZORDER);
        main->Show();
        main->DockToolWindow();
    }
    void TearDown() override {
        ToolForm = nullptr;
        tool.reset();
        main.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        CoUninitialize();
        FormsTest::TearDown();
    }
    TDockPanel* Dock() const { return main->DockPanelLeft; }
    void Set(std::wstring_view name, TStoredValue v) {
        main->JvFormStorage1.SetStoredValue(name, std::move(v));
    }
    // Floats the tool window by a drag of its caption strip to a screen point (or docks it
    // there when the point lies at a dock edge).
    void FloatTo(POINT screen, TDockPanel* from = nullptr) {
        const HWND p = (from ? from : Dock())->Handle();
        SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, Point(60, 8));
        ScreenToClient(p, &screen);
        SendMessageW(p, WM_MOUSEMOVE, MK_LBUTTON, Point(screen.x, screen.y));
        SendMessageW(p, WM_LBUTTONUP, 0, Point(screen.x, screen.y));
    }

    TFormPtr<TMainForm> main;
    TFormPtr<TToolForm> tool;
};
} // namespace

TEST_F(ToolDockTest, AFloatingToolWindowHidesToTheTrayAndBeforeACaptureAndComesBack) {
    FloatTo({600, 300});
    main->acHide->Execute();
    EXPECT_FALSE(IsWindowVisible(tool->Handle()));
    main->acShowExecute(main->RxTrayIcon1); // the tray icon's double click
    EXPECT_TRUE(IsWindowVisible(tool->Handle()));
    EXPECT_EQ(Dock()->State(), TDockState::Floating);

    Set(SettingName::kIsBeforeHide, true);
    Set(SettingName::kIsAfterVisible, true);
    Set(SettingName::kCaptureDelay, 10);
    int waits = 0;
    bool visibleWhileWaiting = true;
    main->CaptureSleep = [&](DWORD) {
        ++waits;
        visibleWhileWaiting = IsWindowVisible(tool->Handle()) != FALSE;
    };
    main->RunCapture(TCaptureMode::Screen, TMainForm::TCaptureErrors::PassOn, nullptr, [] {});
    ASSERT_GT(waits, 0);
    EXPECT_FALSE(visibleWhileWaiting);
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    EXPECT_TRUE(IsWindowVisible(tool->Handle()));
}

TEST_F(ToolDockTest, ShowToolWindowBringsTheToolWindowBackOnTheRightAfterItClosedThere) {
    RECT client{};
    GetClientRect(main->Handle(), &client);
    POINT edge{client.right - 10, client.bottom / 2};
    ClientToScreen(main->Handle(), &edge);
    FloatTo(edge);
    TDockPanel* right = main->DockPanelRight;
    ASSERT_EQ(GetParent(tool->Handle()), right->Handle());
    EXPECT_EQ(main->ToolDockPanel(), right);
    EXPECT_FALSE(Dock()->Visible());
    // The document area lies between the main window's left edge and the right splitter.
    EXPECT_EQ(main->ClientRemainder().left, 0);
    EXPECT_EQ(main->ClientRemainder().right, right->BoundsRect().left - TDockSplitter::kWidth);
    const RECT close = right->CloseButtonRect();
    SendMessageW(right->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(close.left + 4, close.top + 4));
    SendMessageW(right->Handle(), WM_LBUTTONUP, 0, Point(close.left + 4, close.top + 4));
    ASSERT_FALSE(IsWindowVisible(tool->Handle()));
    EXPECT_EQ(main->ClientRemainder().right, client.right);
    main->acToolShowTool->Execute();
    EXPECT_EQ(GetParent(tool->Handle()), right->Handle());
    EXPECT_TRUE(IsWindowVisible(tool->Handle()));
    EXPECT_TRUE(right->Visible());
    EXPECT_FALSE(Dock()->Visible());
}

TEST_F(ToolDockTest, ShortcutsPressedInTheFloatingToolWindowReachTheMainWindowUnlessItIsDisabled) {
    // The start-up timer docks the tool window; it has run before the user floats it.
    ASSERT_TRUE(PumpUntil([&] { return !main->Timer1->Enabled(); }));
    TChildForm* doc = CaptureDocument(*main, 4, 3, 0xFF336699u);
    ASSERT_NE(doc, nullptr);
    FloatTo({600, 300});
    ASSERT_EQ(Dock()->State(), TDockState::Floating);
    // A key pressed in the floating tool window, with Ctrl held or not, goes through the
    // program's message loop as the keyboard's would.
    const auto press = [&](WORD vk, bool ctrl) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(tool->ScrollBox1->Handle(), WM_KEYDOWN, vk, 1);
        PumpPending();
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    };
    press('A', true);
    EXPECT_NE(doc->GetFloatingLayer(), nullptr); // Select All
    // While a modal dialog keeps the main window disabled, no shortcut reaches it.
    EnableWindow(main->Handle(), FALSE);
    press(VK_DELETE, false);
    EXPECT_NE(doc->GetFloatingLayer(), nullptr);
    EnableWindow(main->Handle(), TRUE);
    press(VK_DELETE, false);
    EXPECT_EQ(doc->GetFloatingLayer(), nullptr); // Delete
}

TEST_F(ToolDockTest, EveryBarOfTheTallestToolIsReachableOnAShortMainWindow) {
    SetWindowPos(main->Handle(), nullptr, 0, 0, 800, 420, SWP_NOMOVE | SWP_NOZORDER);
    tool->SetTool(TToolCode::DoubleCircle); // Tool, Pen, Arrow, Shadow and Zoom: 535 pixels
    for (TCollapsibleBar* bar : {tool->ToolBar, tool->PenBar, tool->ArrowBar, tool->ShadowBar, tool->ZoomBar})
        bar->SetCollapsed(false);
    const HWND box = tool->ScrollBox1->Handle();
    RECT view{};
    GetClientRect(box, &view);
    MapWindowPoints(box, HWND_DESKTOP, reinterpret_cast<POINT*>(&view), 2);
    ASSERT_LT(view.bottom - view.top, 535);
    EXPECT_GT(ScreenRect(tool->ZoomBar->Handle()).bottom, view.bottom); // cut off at first
    EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & WS_VSCROLL);
    SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
    const RECT zoom = ScreenRect(tool->ZoomBar->Handle());
    EXPECT_EQ(zoom.bottom, view.bottom);
    EXPECT_GE(zoom.top, view.top);
    // The bars take the width left beside the scroll bar.
    EXPECT_EQ(zoom.right, view.right);
    // Back to Move: two bars fit, the scroll bar goes and the Tool bar is at the top again.
    tool->SetTool(TToolCode::Move);
    EXPECT_FALSE(GetWindowLongW(box, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(ScreenRect(tool->ToolBar->Handle()).top, view.top);
}

TEST_F(ToolDockTest, TheToolWindowsBackgroundIsItsDesignedColour) {
    const HWND box = tool->ScrollBox1->Handle();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 900);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    for (HWND wnd : {box, tool->JvXPContainer1->Handle()}) {
        SetPixel(dc, 5, 5, RGB(0, 0, 0));
        SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        EXPECT_EQ(GetPixel(dc, 5, 5), static_cast<COLORREF>(16244694));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}
