#include "forms/StdCtrls.h"

#include <windows.h>

#include <utility>

#include "FormsTestSupport.h"
#include "forms/BitBtn.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Timer.h"

namespace {
class TDialogForm : public TForm {
public:
    explicit TDialogForm(TForm* owner = nullptr) : TForm(owner, L"TestDialog", Design()) {}
    static TFormDesign Design() {
        TFormDesign d;
        d.Caption = L"Dialog";
        d.Width = 300;
        d.Height = 200;
        d.Border = TBorderStyle::Dialog;
        return d;
    }
};
} // namespace

TEST_F(FormsTest, ChangeEventsComeOncePerRealChangeFromCodeAndFromTheUser) {
    auto form = CreateForm<TDialogForm>();
    auto* edit = form->Make<TEdit>(L"Edit1", form.get(), 10, 10, 100);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText(L"abc");
    edit->SetText(L"abc");
    EXPECT_EQ(changes, 1);
    SetWindowTextW(edit->Handle(), L"typed"); // as the user's typing does
    EXPECT_EQ(changes, 2);

    auto* check = form->Make<TCheckBox>(L"CheckBox1", form.get(), L"On", 10, 40, 100);
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    check->SetChecked(true);
    check->SetChecked(true);
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormsTest, RadioButtonsOfOneParentExcludeEachOther) {
    auto form = CreateForm<TDialogForm>();
    auto* group = form->Make<TGroupBox>(L"GroupBox1", form.get(), L"Output", 10, 10, 200, 100);
    auto* a = form->Make<TRadioButton>(L"RadioButton1", group, L"A", 10, 20, 80);
    auto* b = form->Make<TRadioButton>(L"RadioButton2", group, L"B", 10, 40, 80);
    auto* other = form->Make<TRadioButton>(L"RadioButton3", form.get(), L"C", 10, 120, 80);
    other->SetChecked(true);
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked());
}

TEST_F(FormsTest, ASpinEditKeepsItsValueInRangeWhateverIsTyped) {
    auto form = CreateForm<TDialogForm>();
    auto* spin = form->Make<TSpinEdit>(L"SpinEdit1", form.get(), 10, 10, 80, 1, 1000, 320);
    EXPECT_EQ(spin->Value(), 320);
    int changes = 0;
    spin->OnChange = [&](TObject*) { ++changes; };
    spin->SetValue(5000);
    EXPECT_EQ(spin->Value(), 1000);
    EXPECT_EQ(changes, 1);
    SetWindowTextW(spin->Handle(), L"abc");
    EXPECT_EQ(spin->Value(), 1);
    SetWindowTextW(spin->Handle(), L"99999999999999");
    EXPECT_EQ(spin->Value(), 1000);
    SetWindowTextW(spin->Handle(), L"-7");
    EXPECT_EQ(spin->Value(), 1);
    // As typed until the box is left, then shown in range.
    EXPECT_EQ(spin->TypedValue(), -7);
    form->Show();
    SetFocus(spin->Handle());
    auto* other = form->Make<TButton>(L"Button1", form.get(), L"OK", 10, 40);
    SetFocus(other->Handle());
    EXPECT_EQ(spin->Caption(), L"1");
    EXPECT_EQ(spin->TypedValue(), 1);
    SetWindowTextW(spin->Handle(), L"x");
    EXPECT_EQ(spin->TypedValue(), 1);
}

TEST_F(FormsTest, AButtonWithAModalResultEndsTheModalRunWithIt) {
    auto form = CreateForm<TDialogForm>();
    auto* ok = form->Make<TButton>(L"Button1", form.get(), L"OK", 10, 10);
    ok->ModalResult = mrOk;
    auto* timer = form->Make<TTimer>(L"Timer1", 20, true);
    timer->OnTimer = [&](TObject*) {
        timer->SetEnabled(false);
        SendMessageW(ok->Handle(), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(form->ShowModal(), mrOk);
}

TEST_F(FormsTest, AMemoWrapsLongLinesAndAGroupBoxPaintsItsFaceInsideAClippingPanel) {
    auto form = CreateForm<TDialogForm>();
    auto* memo = form->Make<TMemo>(L"Memo1", form.get(), 10, 10, 120, 80);
    memo->SetText(L"one long line of words that cannot fit into the width of this small box");
    EXPECT_GT(memo->Perform(EM_GETLINECOUNT), 1);
    auto* unwrapped = form->Make<TMemo>(L"Memo2", form.get(), 10, 10, 120, 80, false);
    unwrapped->SetText(L"one long line of words that cannot fit into the width of this small box");
    EXPECT_EQ(unwrapped->Perform(EM_GETLINECOUNT), 1);

    auto* panel = form->Make<TPanel>(L"Panel1", form.get());
    panel->SetBounds(140, 0, 150, 150);
    auto* group = form->Make<TGroupBox>(L"GroupBox1", panel, L"Group", 5, 5, 130, 120);
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    form->Show();
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    POINT inside{60, 60};
    ClientToScreen(group->Handle(), &inside);
    COLORREF pixel = CLR_INVALID;
    // The paint reaches the screen a little after it is done.
    PumpUntil([&] {
        const HDC screen = GetDC(nullptr);
        pixel = GetPixel(screen, inside.x, inside.y);
        ReleaseDC(nullptr, screen);
        return pixel == GetSysColor(COLOR_BTNFACE);
    });
    EXPECT_EQ(pixel, GetSysColor(COLOR_BTNFACE));
}

TEST_F(FormsTest, EnterAndEscWorkInADialogOwnedByAnotherWindow) {
    auto owner = CreateForm<TDialogForm>();
    owner->Show();
    for (const auto& [key, expected] : {std::pair{VK_RETURN, mrOk}, std::pair{VK_ESCAPE, mrCancel}}) {
        auto dialog = CreateForm<TDialogForm>(owner.get());
        auto* ok = dialog->Make<TButton>(L"btnOK", dialog.get(), L"OK", 10, 10);
        ok->ModalResult = mrOk;
        ok->SetDefault(true);
        auto* edit = dialog->Make<TEdit>(L"Edit1", dialog.get(), 10, 50, 100);
        auto* timer = dialog->Make<TTimer>(L"Timer1", 20, true);
        timer->OnTimer = [&, k = key](TObject*) {
            timer->SetEnabled(false);
            SetFocus(edit->Handle());
            PostMessageW(edit->Handle(), WM_KEYDOWN, static_cast<WPARAM>(k), 0);
        };
        EXPECT_EQ(dialog->ShowModal(), expected);
    }
}

TEST_F(FormsTest, BitButtonKindsAnswerEnterAndEndTheRunWithTheirResultEvenWithoutTheirPictures) {
    // This test program carries no artwork: the buttons work without their pictures.
    for (const auto& [kind, expected] :
         {std::pair{TBitBtnKind::bkOK, mrOk}, std::pair{TBitBtnKind::bkCancel, mrCancel}}) {
        auto form = CreateForm<TDialogForm>();
        auto* ok = form->Make<TBitBtn>(L"btnOK", form.get(), TBitBtnKind::bkOK, L"OK", 10, 10);
        auto* cancel =
            form->Make<TBitBtn>(L"btnCancel", form.get(), TBitBtnKind::bkCancel, L"Cancel", 90, 10);
        EXPECT_EQ(ok->Glyph(), nullptr);
        EXPECT_EQ(cancel->Glyph(), nullptr);
        EXPECT_TRUE(cancel->Cancel());
        EXPECT_FALSE(ok->Cancel());
        auto* edit = form->Make<TEdit>(L"Edit1", form.get(), 10, 50, 100);
        auto* timer = form->Make<TTimer>(L"Timer1", 20, true);
        timer->OnTimer = [&, k = kind](TObject*) {
            timer->SetEnabled(false);
            if (k == TBitBtnKind::bkOK) {
                // Enter in another control presses the default button.
                SetFocus(edit->Handle());
                PostMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
            } else {
                SendMessageW(cancel->Handle(), BM_CLICK, 0, 0);
            }
        };
        EXPECT_EQ(form->ShowModal(), expected);
    }
}
