// The dock areas under Wine: docking a form under the caption strip, the splitter and its
// minimum, floating and docking again by dragging a caption, on the left or the right side,
// the double click, closing and showing again, the escape key during a drag, the floating
// pane hidden with its host, a pane beyond every monitor, and the taskbar that never lists
// the pane.
#include "forms/DockPanel.h"

#include <windows.h>

#include "FormsTestSupport.h"
#include "forms/Form.h"
#include "forms/ScrollBox.h"
#include "forms/Slider.h"
#include "forms/TrayIcon.h"
#include "tests/support/Taskbar.h"

namespace {
TFormDesign HostDesign() {
    TFormDesign d;
    d.Caption = L"Dock host";
    d.Left = 100;
    d.Top = 80;
    d.Width = 900;
    d.Height = 640;
    d.ShowInTaskbar = true;
    return d;
}

// Created inside the dock site, as the program's tool window is.
TFormDesign PaneDesign(HWND site = nullptr) {
    TFormDesign d;
    d.Parent = site;
    d.Caption = L"Tool Window";
    d.Width = 200;
    d.Height = 500;
    d.Border = TBorderStyle::ToolWindow;
    return d;
}

class THostForm : public TForm {
public:
    THostForm() : TForm(nullptr, L"HostForm", HostDesign()) {
        Dock = Make<TDockPanel>(L"Dock");
        Dock->SetWidth(190);
        Dock->SetAlign(TAlign::Left);
        Splitter = Make<TDockSplitter>(L"Splitter", Dock);
        DockRight = Make<TDockPanel>(L"DockRight");
        DockRight->SetWidth(190);
        DockRight->SetAlign(TAlign::Right);
        SplitterRight = Make<TDockSplitter>(L"SplitterRight", DockRight);
        Documents = Make<TPanel>(L"Documents", this);
        Documents->SetAlign(TAlign::Client);
    }
    TDockPanel* Dock;
    TDockSplitter* Splitter;
    TDockPanel* DockRight;
    TDockSplitter* SplitterRight;
    TPanel* Documents;
};

class TPaneForm : public TForm {
public:
    explicit TPaneForm(HWND site = nullptr) : TForm(nullptr, L"PaneForm", PaneDesign(site)) {}
};

LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

POINT ToScreen(HWND wnd, POINT p) {
    ClientToScreen(wnd, &p);
    return p;
}

POINT ToClient(HWND wnd, POINT p) {
    ScreenToClient(wnd, &p);
    return p;
}

RECT ScreenRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

BOOL CALLBACK FindVisibleOutline(HWND w, LPARAM lp) {
    wchar_t name[32] = {};
    GetClassNameW(w, name, 32);
    if (lstrcmpW(name, L"TolvexDragOutline") != 0 || !IsWindowVisible(w))
        return TRUE;
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
}

// The drag outline of this thread while it shows, or null.
HWND VisibleOutline() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindVisibleOutline, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A tap of the escape key with the real keyboard: it reaches whichever window has the focus.
void TapEscape() {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

// Whether one top-level window stands above another in the z-order.
bool IsAbove(HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == lower)
            return true;
    return false;
}

class DockPanelTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        host = CreateForm<THostForm>();
        pane = CreateForm<TPaneForm>(host->Dock->Handle());
        host->Show();
        host->Dock->ManualDock(pane.get());
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(pane->Handle()) != FALSE; }));
    }
    void TearDown() override {
        pane.reset();
        host.reset();
        FormsTest::TearDown();
    }
    TDockPanel* Dock() const { return host->Dock; }
    HWND Pane() const { return pane->Handle(); }

    // A drag of the docked caption strip from (x, y) of the panel to a screen point.
    void DragStripTo(int x, int y, POINT screen, TDockPanel* from = nullptr) {
        const HWND p = (from ? from : Dock())->Handle();
        SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
        const POINT mid =
            ToClient(p, {(ToScreen(p, {x, y}).x + screen.x) / 2, (ToScreen(p, {x, y}).y + screen.y) / 2});
        SendMessageW(p, WM_MOUSEMOVE, MK_LBUTTON, Point(mid.x, mid.y));
        const POINT end = ToClient(p, screen);
        SendMessageW(p, WM_MOUSEMOVE, MK_LBUTTON, Point(end.x, end.y));
        SendMessageW(p, WM_LBUTTONUP, 0, Point(end.x, end.y));
    }
    // A drag of the floating pane's own caption, 30 pixels right of its corner, to a screen point.
    void DragFloatingCaptionTo(POINT screen) {
        const RECT r = ScreenRect(Pane());
        const POINT start{r.left + 30, r.top + 6};
        SendMessageW(Pane(), WM_NCLBUTTONDOWN, HTCAPTION, Point(start.x, start.y));
        const POINT end = ToClient(Pane(), screen);
        SendMessageW(Pane(), WM_MOUSEMOVE, MK_LBUTTON, Point(end.x - 5, end.y - 5));
        SendMessageW(Pane(), WM_MOUSEMOVE, MK_LBUTTON, Point(end.x, end.y));
        SendMessageW(Pane(), WM_LBUTTONUP, 0, Point(end.x, end.y));
    }
    // The screen point just inside the host's left client edge, halfway down.
    POINT NearLeftEdge(int dx) const {
        RECT client;
        GetClientRect(host->Handle(), &client);
        return ToScreen(host->Handle(), {dx, client.bottom / 2});
    }
    POINT NearRightEdge(int dx) const {
        RECT client;
        GetClientRect(host->Handle(), &client);
        return ToScreen(host->Handle(), {client.right - 1 - dx, client.bottom / 2});
    }
    bool DockedRight() const {
        return host->DockRight->State() == TDockState::Docked &&
               GetParent(Pane()) == host->DockRight->Handle();
    }

    TFormPtr<THostForm> host;
    TFormPtr<TPaneForm> pane;
};

} // namespace

TEST_F(DockPanelTest, ADockedFormSitsUnderTheCaptionStripWithTheSplitterBesideThePanel) {
    EXPECT_EQ(GetParent(Pane()), Dock()->Handle());
    EXPECT_FALSE(GetWindowLongW(Pane(), GWL_STYLE) & WS_CAPTION);
    const RECT panel = Dock()->BoundsRect();
    EXPECT_EQ(panel.right - panel.left, 190);
    EXPECT_EQ(host->Splitter->BoundsRect().left, panel.right);
    EXPECT_EQ(host->Documents->BoundsRect().left, panel.right + TDockSplitter::kWidth);
    RECT inside = ScreenRect(Pane());
    MapWindowPoints(HWND_DESKTOP, Dock()->Handle(), reinterpret_cast<POINT*>(&inside), 2);
    EXPECT_EQ(inside.top, TDockPanel::kCaptionHeight);
    EXPECT_EQ(inside.right - inside.left, 190);
    EXPECT_EQ(inside.bottom, panel.bottom - panel.top);
}

TEST_F(DockPanelTest, TheSplitterResizesThePanelNeverBelowTheMinimumOnEitherSide) {
    const HWND s = host->Splitter->Handle();
    const auto drag = [&](int dx) {
        SendMessageW(s, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 100));
        SendMessageW(s, WM_MOUSEMOVE, MK_LBUTTON, Point(2 + dx, 100));
        SendMessageW(s, WM_LBUTTONUP, 0, Point(2 + dx, 100));
        return Dock()->Width();
    };
    EXPECT_EQ(drag(60), 250);
    EXPECT_EQ(host->Documents->BoundsRect().left, 250 + TDockSplitter::kWidth);
    EXPECT_EQ(drag(-30), 220);
    EXPECT_EQ(drag(-200), 200); // the panel's minimum
    RECT client;
    GetClientRect(host->Handle(), &client);
    EXPECT_EQ(drag(2000), client.right - TDockSplitter::kWidth - 200); // the document area's minimum
    EXPECT_EQ(host->Documents->Width(), 200);
    const RECT docked = ScreenRect(Pane()); // the docked form follows the panel's width
    EXPECT_EQ(docked.right - docked.left, Dock()->Width());
}

TEST_F(DockPanelTest, APressThatAnotherWindowTakesTheMouseFromEndsThereOnTheSplitterSliderAndCloseMark) {
    // Another window takes the mouse, and the button comes up there.
    const auto takeMouse = [&] {
        SetCapture(host->Documents->Handle());
        ReleaseCapture();
    };
    const HWND s = host->Splitter->Handle();
    SendMessageW(s, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 100));
    SendMessageW(s, WM_MOUSEMOVE, MK_LBUTTON, Point(42, 100));
    ASSERT_EQ(Dock()->Width(), 230);
    takeMouse();
    SendMessageW(s, WM_MOUSEMOVE, 0, Point(102, 100));
    EXPECT_EQ(Dock()->Width(), 230);

    auto* slider = host->Make<TSlider>(L"Slider", host->Documents);
    slider->SetBounds(0, 0, 112, 32); // a track of 100 pixels
    slider->SetRange(0, 100, 1);
    int changes = 0;
    slider->OnChange = [&](TObject*) { ++changes; };
    SendMessageW(slider->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(56, 10));
    ASSERT_EQ(slider->Value(), 50);
    takeMouse();
    SendMessageW(slider->Handle(), WM_MOUSEMOVE, 0, Point(106, 10));
    EXPECT_EQ(slider->Value(), 50);
    EXPECT_EQ(changes, 1);

    // A press on the close mark that lost the mouse closes nothing at a later release.
    const RECT close = Dock()->CloseButtonRect();
    const LPARAM at = Point(close.left + 4, close.top + 4);
    SendMessageW(Dock()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    takeMouse();
    SendMessageW(Dock()->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(Dock()->State(), TDockState::Docked);
}

TEST_F(DockPanelTest, DraggingTheCaptionStripAwayFloatsTheFormWhereItWasReleased) {
    // A move within the drag threshold, or a release over the panel, changes nothing.
    const POINT start = ToScreen(Dock()->Handle(), {60, 8});
    DragStripTo(60, 8, {start.x + 1, start.y + 1});
    DragStripTo(60, 8, ToScreen(Dock()->Handle(), {100, 300}));
    EXPECT_EQ(GetParent(Pane()), Dock()->Handle());
    const POINT grab{60, 8};
    const POINT release{700, 300};
    DragStripTo(grab.x, grab.y, release);
    EXPECT_EQ(GetAncestor(Pane(), GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindow(Pane(), GW_OWNER), host->Handle());
    EXPECT_TRUE(GetWindowLongW(Pane(), GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongW(Pane(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(IsWindowVisible(Pane()));
    // The grabbed point of the strip lies under the release point.
    const RECT r = ScreenRect(Pane());
    EXPECT_EQ(r.left, release.x - grab.x);
    EXPECT_EQ(r.top, release.y - grab.y);
    // The client area keeps the docked pane's size; the panel and splitter are gone and the
    // document area takes the width.
    RECT client;
    GetClientRect(Pane(), &client);
    EXPECT_EQ(client.right, 190);
    EXPECT_FALSE(Dock()->Visible());
    EXPECT_FALSE(host->Splitter->Visible());
    EXPECT_EQ(host->Documents->BoundsRect().left, 0);
}

TEST_F(DockPanelTest, DraggingTheFloatingCaptionToTheLeftEdgeDocksAgainAndElsewhereMovesIt) {
    DragStripTo(60, 8, {700, 300});
    ASSERT_EQ(Dock()->State(), TDockState::Floating);
    DragFloatingCaptionTo({800, 400});
    EXPECT_EQ(Dock()->State(), TDockState::Floating);
    EXPECT_EQ(ScreenRect(Pane()).left, 770);
    DragFloatingCaptionTo(NearLeftEdge(20));
    EXPECT_EQ(Dock()->State(), TDockState::Docked);
    EXPECT_TRUE(host->Splitter->Visible());
    // Released 30 pixels inside the edge, the floating pane stays floating.
    DragStripTo(60, 8, {700, 300});
    DragFloatingCaptionTo(NearLeftEdge(30));
    EXPECT_EQ(Dock()->State(), TDockState::Floating);
}

TEST_F(DockPanelTest, DraggedToTheRightEdgeThePaneDocksThereWithItsSplitterAndItsMinimum) {
    // Released 30 pixels inside the right edge it floats; 20 pixels inside it docks.
    DragStripTo(60, 8, NearRightEdge(30));
    ASSERT_EQ(Dock()->State(), TDockState::Floating);
    Dock()->ManualDock(pane.get());
    DragStripTo(60, 8, NearRightEdge(20));
    ASSERT_TRUE(DockedRight());
    EXPECT_EQ(Dock()->DockClient(), nullptr);
    EXPECT_FALSE(Dock()->Visible()); // the empty side and its splitter hide
    EXPECT_FALSE(host->Splitter->Visible());
    RECT client;
    GetClientRect(host->Handle(), &client);
    const RECT panel = host->DockRight->BoundsRect();
    EXPECT_EQ(panel.right, client.right);
    EXPECT_EQ(panel.right - panel.left, 190);
    EXPECT_EQ(host->SplitterRight->BoundsRect().right, panel.left); // at the panel's left edge
    EXPECT_EQ(host->Documents->BoundsRect().left, 0);
    EXPECT_EQ(host->Documents->BoundsRect().right, panel.left - TDockSplitter::kWidth);

    // Dragged left the splitter widens the panel; neither it nor the documents go below 200.
    const HWND s = host->SplitterRight->Handle();
    const auto drag = [&](int dx) {
        SendMessageW(s, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 100));
        SendMessageW(s, WM_MOUSEMOVE, MK_LBUTTON, Point(2 + dx, 100));
        SendMessageW(s, WM_LBUTTONUP, 0, Point(2 + dx, 100));
        return host->DockRight->Width();
    };
    EXPECT_EQ(drag(-60), 250);
    EXPECT_EQ(drag(200), 200);
    EXPECT_EQ(drag(-2000), client.right - TDockSplitter::kWidth - 200);
    EXPECT_EQ(host->Documents->Width(), 200);
    EXPECT_EQ(ScreenRect(Pane()).right - ScreenRect(Pane()).left, host->DockRight->Width());
}

TEST_F(DockPanelTest, FromTheRightThePaneFloatsAndComesBackToTheSideWhereItDockedLast) {
    DragStripTo(60, 8, NearRightEdge(10));
    ASSERT_TRUE(DockedRight());
    // Out again by the right panel's strip; a double click on the floating caption, and a
    // show after a close, bring it back to the right.
    DragStripTo(60, 8, {500, 300}, host->DockRight);
    ASSERT_EQ(host->DockRight->State(), TDockState::Floating);
    EXPECT_FALSE(host->DockRight->Visible());
    EXPECT_FALSE(host->SplitterRight->Visible());
    const RECT floating = ScreenRect(Pane());
    SendMessageW(Pane(), WM_NCLBUTTONDBLCLK, HTCAPTION, Point(floating.left + 30, floating.top + 6));
    EXPECT_TRUE(DockedRight());
    SendMessageW(host->DockRight->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(60, 8));
    ASSERT_EQ(host->DockRight->State(), TDockState::Floating);
    EXPECT_EQ(ScreenRect(Pane()).left, floating.left); // its floating place went along
    SendMessageW(Pane(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host->DockRight->State(), TDockState::Closed);
    host->DockRight->ShowDockForm();
    EXPECT_TRUE(DockedRight());
    EXPECT_TRUE(IsWindowVisible(Pane()));
    // Floated once more and dragged by its caption to the left edge, it is the left's again.
    SendMessageW(host->DockRight->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(60, 8));
    DragFloatingCaptionTo(NearLeftEdge(10));
    EXPECT_EQ(Dock()->State(), TDockState::Docked);
    EXPECT_EQ(GetParent(Pane()), Dock()->Handle());
    EXPECT_EQ(host->DockRight->DockClient(), nullptr);
    EXPECT_FALSE(host->DockRight->Visible());
    EXPECT_FALSE(host->SplitterRight->Visible());
    EXPECT_EQ(host->Documents->BoundsRect().left, 190 + TDockSplitter::kWidth);
    RECT client;
    GetClientRect(host->Handle(), &client);
    EXPECT_EQ(host->Documents->BoundsRect().right, client.right);
}

TEST_F(DockPanelTest, ADoubleClickOnEitherCaptionTogglesAndTheFloatingPlaceIsKept) {
    SendMessageW(Dock()->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(60, 8));
    ASSERT_EQ(Dock()->State(), TDockState::Floating);
    DragFloatingCaptionTo({650, 250});
    const RECT floating = ScreenRect(Pane());
    SendMessageW(Pane(), WM_NCLBUTTONDBLCLK, HTCAPTION, Point(floating.left + 30, floating.top + 6));
    EXPECT_EQ(GetParent(Pane()), Dock()->Handle());
    SendMessageW(Dock()->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(60, 8));
    EXPECT_EQ(Dock()->State(), TDockState::Floating);
    EXPECT_EQ(ScreenRect(Pane()).left, floating.left);
    EXPECT_EQ(ScreenRect(Pane()).top, floating.top);
    // A double click on the strip's close button is no toggle.
    SendMessageW(Pane(), WM_NCLBUTTONDBLCLK, HTCAPTION, Point(floating.left + 30, floating.top + 6));
    const RECT close = Dock()->CloseButtonRect();
    SendMessageW(Dock()->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(close.left + 3, close.top + 3));
    EXPECT_EQ(Dock()->State(), TDockState::Docked);
}

TEST_F(DockPanelTest, EscapeTappedDuringACaptionDragWithTheMouseStillEndsItWhereItBegan) {
    SetForegroundWindow(host->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == host->Handle(); }));
    // The docked strip, held over the middle of the screen: the outline shows there.
    const HWND p = Dock()->Handle();
    const POINT away = ToClient(p, {700, 300});
    SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, Point(60, 8));
    SendMessageW(p, WM_MOUSEMOVE, MK_LBUTTON, Point(away.x, away.y));
    ASSERT_NE(VisibleOutline(), nullptr);
    TapEscape();
    EXPECT_TRUE(PumpUntil([] { return VisibleOutline() == nullptr; }));
    SendMessageW(p, WM_LBUTTONUP, 0, Point(away.x, away.y)); // the release does nothing
    EXPECT_EQ(Dock()->State(), TDockState::Docked);
    EXPECT_EQ(GetParent(Pane()), Dock()->Handle());

    // The floating caption, held near the left edge: the pane stays where it floats.
    DragStripTo(60, 8, {700, 300});
    ASSERT_EQ(Dock()->State(), TDockState::Floating);
    const RECT floating = ScreenRect(Pane());
    const POINT edge = ToClient(Pane(), NearLeftEdge(10));
    SendMessageW(Pane(), WM_NCLBUTTONDOWN, HTCAPTION, Point(floating.left + 30, floating.top + 6));
    SendMessageW(Pane(), WM_MOUSEMOVE, MK_LBUTTON, Point(edge.x, edge.y));
    ASSERT_NE(VisibleOutline(), nullptr);
    TapEscape();
    EXPECT_TRUE(PumpUntil([] { return VisibleOutline() == nullptr; }));
    SendMessageW(Pane(), WM_LBUTTONUP, 0, Point(edge.x, edge.y));
    EXPECT_EQ(Dock()->State(), TDockState::Floating);
    EXPECT_EQ(ScreenRect(Pane()).left, floating.left);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DockPanelTest, TheCloseButtonClosesOnlyThePaneAndShowDockFormBringsItBackDocked) {
    const RECT close = Dock()->CloseButtonRect();
    const LPARAM at = Point(close.left + 4, close.top + 4);
    // Pressed on the button but released beside it: nothing closes.
    SendMessageW(Dock()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(Dock()->Handle(), WM_LBUTTONUP, 0, Point(20, 8));
    EXPECT_EQ(Dock()->State(), TDockState::Docked);
    SendMessageW(Dock()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(Dock()->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(Dock()->State(), TDockState::Closed);
    EXPECT_FALSE(IsWindowVisible(Pane()));
    EXPECT_FALSE(host->Splitter->Visible());
    EXPECT_EQ(host->Documents->BoundsRect().left, 0);
    EXPECT_TRUE(IsWindowVisible(host->Handle()));
    Dock()->ShowDockForm();
    EXPECT_TRUE(IsWindowVisible(Pane()));
    EXPECT_EQ(host->Documents->BoundsRect().left, 190 + TDockSplitter::kWidth);
    // Floating, its own close box closes it; it stays closed while the host hides and
    // shows, and comes back docked.
    DragStripTo(60, 8, {700, 300});
    SendMessageW(Pane(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Dock()->State(), TDockState::Closed);
    EXPECT_TRUE(IsWindowEnabled(host->Handle()));
    host->Hide();
    host->Show();
    EXPECT_FALSE(IsWindowVisible(Pane()));
    Dock()->ShowDockForm();
    EXPECT_EQ(GetParent(Pane()), Dock()->Handle());
    EXPECT_TRUE(IsWindowVisible(Pane()));
}

TEST_F(DockPanelTest, AFloatingPaneHidesWithItsHostAndComesBackWithIt) {
    DragStripTo(60, 8, {700, 300});
    const RECT before = ScreenRect(Pane());
    host->Hide();
    EXPECT_FALSE(IsWindowVisible(Pane()));
    EXPECT_EQ(Dock()->State(), TDockState::Floating);
    host->Show();
    EXPECT_TRUE(IsWindowVisible(Pane()));
    EXPECT_EQ(ScreenRect(Pane()).top, before.top);
    // Raised, the host stays below its floating pane.
    SetWindowPos(host->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(IsAbove(Pane(), host->Handle()));
    // Show on the dock brings a floating pane to the front where it floats.
    Dock()->ShowDockForm();
    EXPECT_EQ(Dock()->State(), TDockState::Floating);
    EXPECT_EQ(ScreenRect(Pane()).left, before.left);
}

TEST_F(DockPanelTest, AFloatingPaneBeyondEveryMonitorComesBackOntoTheNearestOne) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Dock()->Float({work.right + 3000, 200, work.right + 3200, 700});
    RECT r = ScreenRect(Pane());
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.top, 200);
    // Moved away while its host is hidden (a monitor removed), it comes back when shown.
    host->Hide();
    SetWindowPos(Pane(), nullptr, 300, work.bottom + 5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    host->Show();
    r = ScreenRect(Pane());
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.bottom, work.bottom);
    // Partly visible is left where it is.
    Dock()->Float({work.right - 50, 100, work.right + 150, 600});
    EXPECT_EQ(ScreenRect(Pane()).left, work.right - 50);
}

TEST_F(DockPanelTest, ThePaneNeverGetsATaskbarButtonAfterAHideAndShow) {
    // The taskbar shows while the notification area holds an icon, as the program's does.
    auto* tray = host->Make<TTrayIcon>(L"Tray", LoadIconW(nullptr, IDI_APPLICATION), L"Dock host");
    tray->SetActive(true);
    // The host's own button proves that the taskbar lists this program's windows.
    ASSERT_TRUE(PumpUntil([&] { return TaskbarButtonOf(host->Handle()) != nullptr; }));
    for (int round = 0; round < 2; ++round) {
        host->Hide();
        host->Show();
        ASSERT_TRUE(PumpUntil([&] { return TaskbarButtonOf(host->Handle()) != nullptr; }));
        PumpQuietPeriod();
        EXPECT_EQ(TaskbarButtonOf(Pane()), nullptr) << "docked, round " << round;
    }
    DragStripTo(60, 8, {700, 300});
    host->Hide();
    host->Show();
    ASSERT_TRUE(PumpUntil([&] { return TaskbarButtonOf(host->Handle()) != nullptr; }));
    PumpQuietPeriod();
    EXPECT_EQ(TaskbarButtonOf(Pane()), nullptr) << "floating";
    EXPECT_NE(TaskbarButtonOf(host->Handle()), nullptr);
}

TEST_F(FormsTest, TheScrollBoxScrollsItsContentOnlyWhenItIsTallerThanTheBox) {
    auto form = CreateForm<TPaneForm>();
    auto* box = form->Make<TScrollBox>(L"Box", form.get());
    box->SetAlign(TAlign::Client);
    auto* content = form->Make<TPanel>(L"Content", box);
    content->SetBounds(0, 0, 100, 300);
    box->SetContent(content);
    RECT client;
    GetClientRect(box->Handle(), &client);
    ASSERT_GT(client.bottom, 300);
    EXPECT_FALSE(GetWindowLongW(box->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(content->Width(), client.right); // the content takes the box's width
    box->ScrollTo(50);
    EXPECT_EQ(box->Position(), 0);
    content->SetHeight(1000);
    box->Realign();
    EXPECT_TRUE(GetWindowLongW(box->Handle(), GWL_STYLE) & WS_VSCROLL);
    GetClientRect(box->Handle(), &client);
    EXPECT_EQ(content->Width(), client.right); // beside the scroll bar
    SendMessageW(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(box->Position(), 1000 - client.bottom);
    EXPECT_EQ(content->BoundsRect().bottom, client.bottom); // the last row shows at the bottom
    SendMessageW(box->Handle(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(box->Position(), 1000 - client.bottom - TScrollBox::kLineStep);
    SendMessageW(box->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(box->Position(), 1000 - client.bottom - 4 * TScrollBox::kLineStep);
    box->ScrollTo(-5);
    EXPECT_EQ(box->Position(), 0);
    // Shrunk below the box again, the content goes back to the top and the bar away.
    content->SetHeight(100);
    box->Realign();
    EXPECT_EQ(box->Position(), 0);
    EXPECT_FALSE(GetWindowLongW(box->Handle(), GWL_STYLE) & WS_VSCROLL);
}
