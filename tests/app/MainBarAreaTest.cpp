// The main window's bar area in-process: its three bands in the designed order, the rows
// it saves or gives back when bands move or hide, and the tool bars and the tab strip
// working wherever their bands stand.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "../forms/FormsTestSupport.h"
#include "DocumentTestSupport.h"
#include "core/StoredValues.h"
#include "forms/Actions.h"
#include "forms/ComCtrls.h"
#include "forms/CoolBar.h"
#include "forms/Dialogs.h"
#include "forms/DockPanel.h"
#include "forms/Menus.h"
#include "shell/frmMain.h"

namespace {
HWND shownMenu = nullptr;

// Once the tab strip's menu shows, Move Right (after Close and the separator) is chosen.
void CALLBACK ChooseMoveRight(HWND, UINT, UINT_PTR, DWORD) {
    HWND found = FindWindowW(L"#32768", nullptr);
    if (!found || !IsWindowVisible(found) || found == shownMenu)
        return;
    shownMenu = found;
    for (const WPARAM key : {WPARAM{VK_DOWN}, WPARAM{VK_DOWN}, WPARAM{VK_DOWN}, WPARAM{VK_RETURN}}) {
        PostMessageW(found, WM_KEYDOWN, key, 0);
        PostMessageW(found, WM_KEYUP, key, 0);
    }
}
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
}

class MainBarAreaTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        form = QuietMainForm();
        form->Show();
        MessageDlgHook = [](const std::wstring&, TMsgDlgType, TMsgDlgButtons) { return mrNo; };
        bar = form->CoolBar1;
    }
    void TearDown() override {
        form.reset();
        PumpPending();
        MessageDlgHook = nullptr;
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        CoUninitialize();
        FormsTest::TearDown();
    }
    RECT ClientArea() const {
        RECT r{};
        GetWindowRect(form->ClientHandle(), &r);
        MapWindowPoints(HWND_DESKTOP, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The bar area and the document area below it, with no gap.
    void ExpectDocumentAreaRightBelow() const {
        EXPECT_EQ(bar->Height(), static_cast<int>(SendMessageW(bar->Handle(), RB_GETBARHEIGHT, 0, 0)));
        EXPECT_EQ(ClientArea().top, bar->BoundsRect().bottom);
    }
    // Puts a band at the end of the row above it, as a drag of its gripper onto that row does.
    void JoinRowAbove(const TControl* control) {
        const int index = bar->BandIndexOf(control);
        REBARBANDINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_STYLE;
        SendMessageW(bar->Handle(), RB_GETBANDINFOW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&info));
        info.fStyle &= ~static_cast<UINT>(RBBS_BREAK);
        SendMessageW(bar->Handle(), RB_SETBANDINFOW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&info));
        PumpPending();
    }
    // Every button of a tool bar where the bar now stands: its picture, its hint asked
    // through the bar area, its enabled state after the update tests, and a click on each
    // enabled button, which runs its action and nothing else.
    void ExpectButtonsWork(TToolBar* toolBar) {
        form->ActionList1->UpdateActions();
        const HWND tips = reinterpret_cast<HWND>(SendMessageW(toolBar->Handle(), TB_GETTOOLTIPS, 0, 0));
        std::vector<TAction*> expected;
        ran.clear();
        for (int i = 0; i < toolBar->ButtonCount(); ++i) {
            TAction* action = toolBar->ButtonAction(i);
            if (!action)
                continue;
            action->OnExecute = [this](TObject* s) { ran.push_back(static_cast<TAction*>(s)); };
            TBBUTTON button{};
            SendMessageW(toolBar->Handle(), TB_GETBUTTON, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&button));
            EXPECT_EQ(button.iBitmap, action->ImageIndex);
            NMTTDISPINFOW tip{};
            tip.hdr = {tips, static_cast<UINT_PTR>(button.idCommand), TTN_GETDISPINFOW};
            SendMessageW(bar->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
            EXPECT_EQ(std::wstring(tip.lpszText ? tip.lpszText : L""), action->Hint());
            EXPECT_EQ(toolBar->ButtonEnabled(i), action->Enabled()) << i;
            if (!action->Enabled())
                continue;
            expected.push_back(action);
            RECT r{};
            SendMessageW(toolBar->Handle(), TB_GETITEMRECT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&r));
            const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            SendMessageW(toolBar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(toolBar->Handle(), WM_LBUTTONUP, 0, at);
            PumpPending();
        }
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(ran, expected);
    }

    TFormPtr<TMainForm> form;
    TCoolBar* bar = nullptr;
    std::vector<TAction*> ran;
};
} // namespace

TEST_F(MainBarAreaTest, TheThreeBandsStartInTheirOrderOnThreeRowsEachWithAGripper) {
    ASSERT_EQ(bar->BandCount(), 3);
    EXPECT_EQ(bar->RowCount(), 3);
    const std::vector<TControl*> designed{form->ToolBar1, form->ToolBar2, form->PageControl1};
    int top = -1;
    for (int i = 0; i < 3; ++i) {
        TControl* control = bar->BandControl(i);
        ASSERT_EQ(control, designed[static_cast<std::size_t>(i)]);
        REBARBANDINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_STYLE | RBBIM_CHILDSIZE;
        SendMessageW(bar->Handle(), RB_GETBANDINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
        EXPECT_TRUE(info.fStyle & RBBS_GRIPPERALWAYS);
        EXPECT_FALSE(info.fStyle & RBBS_NOGRIPPER);
        // The gripper stands before the control inside the band.
        EXPECT_GE(control->BoundsRect().left - bar->BandRect(control).left, 4);
        EXPECT_GT(bar->BandRect(control).top, top);
        top = bar->BandRect(control).top;
        EXPECT_GE(info.cyMinChild, i < 2 ? 24u : 25u);
    }
    EXPECT_EQ(form->PageControl1->Height(), 25);
    EXPECT_GE(bar->Height(), 24 + 24 + 25);
    ExpectDocumentAreaRightBelow();
}

TEST_F(MainBarAreaTest, TheCaptureToolBarOnTheFirstRowGivesItsRowToTheDocumentArea) {
    const int threeRows = bar->Height();
    const int areaHeight = ClientArea().bottom - ClientArea().top;
    JoinRowAbove(form->ToolBar2);
    ASSERT_EQ(bar->RowCount(), 2);
    EXPECT_EQ(bar->BandRect(form->ToolBar2).top, bar->BandRect(form->ToolBar1).top);
    const int saved = threeRows - bar->Height();
    EXPECT_GE(saved, 24);
    EXPECT_EQ(ClientArea().bottom - ClientArea().top, areaHeight + saved);
    ExpectDocumentAreaRightBelow();

    // The tab strip joins them: one row, and the strip keeps its height there.
    JoinRowAbove(form->PageControl1);
    EXPECT_EQ(bar->RowCount(), 1);
    EXPECT_EQ(form->PageControl1->Height(), 25);
    EXPECT_TRUE(IsWindowVisible(form->PageControl1->Handle()));
    ExpectDocumentAreaRightBelow();
}

TEST_F(MainBarAreaTest, HidingAndShowingEachToolBarClosesAndOpensItsRow) {
    const int full = bar->Height();
    for (TAction* hide : {form->acToolHideToolbar, form->acToolHideToolbar2}) {
        TToolBar* toolBar = hide == form->acToolHideToolbar ? form->ToolBar1 : form->ToolBar2;
        hide->Execute();
        EXPECT_FALSE(toolBar->Visible());
        EXPECT_TRUE(hide->Checked());
        EXPECT_EQ(bar->RowCount(), 2);
        EXPECT_LE(bar->Height(), full - 24);
        ExpectDocumentAreaRightBelow();
        hide->Execute();
        EXPECT_TRUE(toolBar->Visible());
        EXPECT_FALSE(hide->Checked());
        EXPECT_EQ(bar->Height(), full);
        ExpectDocumentAreaRightBelow();
    }
    // On a shared row, hiding one bar leaves the row to the other.
    JoinRowAbove(form->ToolBar2);
    const int twoRows = bar->Height();
    form->acToolHideToolbar->Execute();
    EXPECT_EQ(bar->Height(), twoRows);
    EXPECT_TRUE(form->ToolBar2->Visible());
    form->acToolHideToolbar2->Execute();
    EXPECT_LE(bar->Height(), twoRows - 24);
    ExpectDocumentAreaRightBelow();
}

TEST_F(MainBarAreaTest, AfterAMinimiseAndRestoreTheDocumentAreaLiesRightUnderTheBarsOnOneRow) {
    JoinRowAbove(form->ToolBar2);
    const RECT before = ClientArea();
    const int rows = bar->Height();
    // A minimised window has no width: the bands wrap onto a row each while it is down,
    // and come back onto one row as the restored window places the bar area.
    ShowWindow(form->Handle(), SW_MINIMIZE);
    PumpPending();
    ShowWindow(form->Handle(), SW_RESTORE);
    PumpPending();
    EXPECT_EQ(bar->RowCount(), 2);
    EXPECT_EQ(bar->Height(), rows);
    ExpectDocumentAreaRightBelow();
    EXPECT_EQ(ClientArea().top, before.top);
    EXPECT_EQ(ClientArea().bottom, before.bottom);
    if (form->DockPanelLeft->Visible()) {
        EXPECT_EQ(form->DockPanelLeft->BoundsRect().top, bar->BoundsRect().bottom);
    }
}

TEST_F(MainBarAreaTest, EveryToolButtonWorksFromEachBandPosition) {
    CaptureDocument(*form, 4, 3, Color32(0x102030)); // enables the document commands
    ExpectButtonsWork(form->ToolBar1);
    ExpectButtonsWork(form->ToolBar2);
    // Side by side on the first row, then the capture bar first.
    JoinRowAbove(form->ToolBar2);
    ExpectButtonsWork(form->ToolBar1);
    ExpectButtonsWork(form->ToolBar2);
    SendMessageW(bar->Handle(), RB_MOVEBAND, static_cast<WPARAM>(bar->BandIndexOf(form->ToolBar2)), 0);
    JoinRowAbove(form->ToolBar1);
    ASSERT_EQ(bar->BandControl(0), form->ToolBar2);
    EXPECT_LT(bar->BandRect(form->ToolBar2).left, bar->BandRect(form->ToolBar1).left);
    ExpectButtonsWork(form->ToolBar1);
    ExpectButtonsWork(form->ToolBar2);
}

TEST_F(MainBarAreaTest, TheTabStripWorksInItsBandBesideTheCaptureToolBar) {
    JoinRowAbove(form->PageControl1);
    ASSERT_EQ(bar->RowCount(), 2);
    EXPECT_EQ(bar->BandRect(form->PageControl1).top, bar->BandRect(form->ToolBar2).top);
    TChildForm* first = CaptureDocument(*form, 4, 3, Color32(0x102030));
    TChildForm* second = CaptureDocument(*form, 4, 3, Color32(0x302010));
    ASSERT_EQ(form->PageControl1->PageCount(), 2);
    ASSERT_EQ(form->ActiveDocument(), second);

    // A click on the first tab activates its document.
    RECT tab{};
    SendMessageW(form->PageControl1->Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageW(form->PageControl1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(form->PageControl1->Handle(), WM_LBUTTONUP, 0, at);
    PumpPending();
    EXPECT_EQ(form->ActiveDocument(), first);
    EXPECT_EQ(form->PageControl1->ActivePageIndex(), 0);

    // Its menu on a right click: Move Right, then Move Left from the menu's action.
    shownMenu = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, ChooseMoveRight);
    const UINT_PTR guard = SetTimer(nullptr, 0, deadlines::kStateTicks, CloseMenu);
    SendMessageW(form->PageControl1->Handle(), WM_RBUTTONUP, 0, at);
    KillTimer(nullptr, timer);
    KillTimer(nullptr, guard);
    PumpPending();
    EXPECT_NE(shownMenu, nullptr);
    EXPECT_EQ(form->ActiveDocument(), second);
    form->acPageLeft->Execute();
    EXPECT_EQ(form->ActiveDocument(), first);
}
