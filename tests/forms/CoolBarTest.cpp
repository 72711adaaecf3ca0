// The bar area of bands: bands dragged by their grippers with the mouse messages the bar
// gets, a tool bar's band that never shrinks out of reach, and commands from a bar inside
// the area that reach their objects once.
#include "forms/CoolBar.h"

#include <windows.h>

#include <commctrl.h>

#include "FormsTestSupport.h"
#include "forms/Actions.h"
#include "forms/ComCtrls.h"
#include "forms/Exceptions.h"
#include "forms/Form.h"

namespace {
TFormDesign BarDesign() {
    TFormDesign d;
    d.Caption = L"Bands";
    d.Width = 700;
    d.Height = 300;
    return d;
}

class TBarForm : public TForm {
public:
    TBarForm() : TForm(nullptr, L"BarForm", BarDesign()) {
        Bar = Make<TCoolBar>(L"CoolBar1", this);
        Bar->SetAlign(TAlign::Top);
        for (TToolBar** bar : {&First, &Second}) {
            *bar = Make<TToolBar>(bar == &First ? L"ToolBar1" : L"ToolBar2", Bar, nullptr);
            (*bar)->SetHeight(26);
            for (int i = 0; i < 6; ++i) {
                auto* action = Make<TAction>(L"ac" + std::to_wstring(i), L"", L"Button");
                action->OnExecute = [this](TObject* s) { Runs.push_back(static_cast<TAction*>(s)); };
                (*bar)->AddButton(action);
            }
        }
        for (TToolBar* bar : {First, Second})
            Bar->AddBand(bar, 24);
    }
    TCoolBar* Bar;
    TToolBar* First;
    TToolBar* Second;
    std::vector<TAction*> Runs;
};

class CoolBarTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form = CreateForm<TBarForm>();
        form->Show();
    }
    // A drag of a band's gripper with the mouse messages the bar gets, to a point of the
    // bar's client area.
    void DragGripper(const TControl* band, POINT to) {
        const RECT r = form->Bar->BandRect(band);
        const POINT from{r.left + 3, (r.top + r.bottom) / 2};
        const HWND bar = form->Bar->Handle();
        SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        for (int step = 1; step <= 4; ++step)
            SendMessageW(
                bar, WM_MOUSEMOVE, MK_LBUTTON,
                MAKELPARAM(from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4));
        SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        PumpPending();
    }
    int BarHeight() const { return form->Bar->Height(); }
    TFormPtr<TBarForm> form;
};
} // namespace

TEST_F(CoolBarTest, AGripperDragPutsBothBarsOnOneRowAndBackAndTheAreaFollowsItsRows) {
    ASSERT_EQ(form->Bar->RowCount(), 2);
    const int twoRows = BarHeight();
    EXPECT_EQ(twoRows, static_cast<int>(SendMessageW(form->Bar->Handle(), RB_GETBARHEIGHT, 0, 0)));

    // Up onto the first row, right of the first bar's buttons.
    const RECT first = form->Bar->BandRect(form->First);
    DragGripper(form->Second, {first.right - 40, (first.top + first.bottom) / 2});
    ASSERT_EQ(form->Bar->RowCount(), 1);
    EXPECT_EQ(form->Bar->BandControl(0), form->First);
    EXPECT_EQ(form->Bar->BandRect(form->Second).top, first.top);
    EXPECT_LT(BarHeight(), twoRows);
    EXPECT_EQ(BarHeight(), static_cast<int>(SendMessageW(form->Bar->Handle(), RB_GETBARHEIGHT, 0, 0)));

    // Down again below the row: a row of its own.
    const RECT row = form->Bar->BandRect(form->Second);
    DragGripper(form->Second, {row.left + 3, BarHeight() + 12});
    EXPECT_EQ(form->Bar->RowCount(), 2);
    EXPECT_EQ(BarHeight(), twoRows);
}

TEST_F(CoolBarTest, ABandNeverShrinksPastItsGripperAndFirstButton) {
    RECT button{};
    SendMessageW(form->First->Handle(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
    const RECT first = form->Bar->BandRect(form->First);
    DragGripper(form->Second, {first.right - 40, (first.top + first.bottom) / 2});
    ASSERT_EQ(form->Bar->RowCount(), 1);

    // The second band's gripper dragged to the far left, and the first band minimised: the
    // first bar keeps its first button in sight.
    DragGripper(form->Second, {0, (first.top + first.bottom) / 2});
    SendMessageW(form->Bar->Handle(), RB_MINIMIZEBAND,
                 static_cast<WPARAM>(form->Bar->BandIndexOf(form->First)), 0);
    PumpPending();
    EXPECT_EQ(form->Bar->RowCount(), 1);
    EXPECT_TRUE(IsWindowVisible(form->First->Handle()));
    EXPECT_GE(form->First->Width(), button.right);
    EXPECT_GE(form->Bar->BandRect(form->First).right - form->Bar->BandRect(form->First).left,
              button.right + 4); // and the gripper before it
}

TEST_F(CoolBarTest, ACommandOfABarInTheAreaRunsOnceAlsoWhenItFails) {
    TBBUTTON button{};
    SendMessageW(form->Second->Handle(), TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&button));
    const auto click = [&] {
        SendMessageW(form->Bar->Handle(), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED),
                     reinterpret_cast<LPARAM>(form->Second->Handle()));
        PumpPending();
    };
    click();
    ASSERT_EQ(form->Runs.size(), 1u);
    EXPECT_EQ(form->Runs[0], form->Second->ButtonAction(2));

    // A failing command is reported once and not handed on to the bar's default handling,
    // which passes commands to its parent, where they would come back to the tool bar.
    form->Second->ButtonAction(2)->OnExecute = [&](TObject* s) {
        form->Runs.push_back(static_cast<TAction*>(s));
        throw Exception(L"Cannot open");
    };
    click();
    EXPECT_EQ(form->Runs.size(), 2u);
    EXPECT_EQ(errors.size(), 1u);
}
