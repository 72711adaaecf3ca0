#include "editor/frmText.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "core/StoredValues.h"
#include "editor/dlgNewCapture.h"
#include "forms/BitBtn.h"
#include "forms/ColorComboBox.h"
#include "forms/EditComboBox.h"
#include "forms/Fonts.h"
#include "forms/Form.h"
#include "forms/StdCtrls.h"
#include "forms/Timer.h"
#include "shell/frmMain.h"
#include "tests/forms/FormsTestSupport.h"

namespace {
TTextSettings Loaded() {
    TTextSettings s;
    s.Content = L"Hello\r\nthere";
    s.FontName = L"Courier New";
    s.FontSize = 20;
    s.Bold = true;
    s.Underline = true;
    s.Frame = false;
    s.Alignment = 2;
    s.PenColor = 0x0000FF;
    s.FillColor = 0x123456;
    return s;
}

class TextFormTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        main = CreateForm<TMainForm>();
        main->JvFormStorage1.SetStoredValue(SettingName::kLanguage, std::wstring(L"English"));
    }
    void TearDown() override {
        main.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        FormsTest::TearDown();
    }
    // Runs the text dialog; the step runs once it is up, and after 10 s it is cancelled.
    std::optional<TTextSettings> Run(const TTextSettings& settings, const std::function<void()>& step) {
        auto* timer = main->Make<TTimer>(L"", 20, true);
        const DWORD started = GetTickCount();
        bool done = false;
        timer->OnTimer = [&](TObject*) {
            if (!TextForm || !IsWindowVisible(TextForm->Handle()))
                return;
            if (!done) {
                done = true;
                step();
            } else if (GetTickCount() - started > deadlines::kStateTicks) {
                TextForm->ModalResult = mrCancel;
            }
        };
        std::optional<TTextSettings> result = RunTextForm(main.get(), settings);
        timer->SetEnabled(false);
        EXPECT_TRUE(done);
        return result;
    }
    TFormPtr<TMainForm> main;
};
} // namespace

TEST_F(TextFormTest, OkWithoutChangesDeliversExactlyWhatWasLoaded) {
    auto dialog = CreateForm<TTextForm>(main.get());
    dialog->Load(Loaded());
    EXPECT_EQ(dialog->Results(), Loaded());
    EXPECT_EQ(dialog->Memo1Font().Name, L"Courier New");
    EXPECT_EQ(dialog->Memo1Font().Size, 20);
    EXPECT_TRUE(dialog->Memo1Font().Bold);
    EXPECT_FALSE(dialog->Memo1Font().Italic);
    EXPECT_EQ(dialog->Memo1Font().Color, 0x0000FF);
    EXPECT_EQ(dialog->Memo1Alignment(), 2);
    EXPECT_TRUE(dialog->SpeedButton3->Checked());
    EXPECT_EQ(dialog->ComboBox1->Text(), L"20");
    // "Background" unticked: its colour box is off.
    EXPECT_FALSE(dialog->JvColorComboBox2->Enabled());
    dialog->cbBackColor->SetChecked(true);
    EXPECT_TRUE(dialog->JvColorComboBox2->Enabled());
    dialog->cbBackColor->SetChecked(false);
    EXPECT_FALSE(dialog->JvColorComboBox2->Enabled());
}

TEST_F(TextFormTest, ThePreviewFollowsSizeStyleAlignmentAndColour) {
    auto dialog = CreateForm<TTextForm>(main.get());
    dialog->Load(Loaded());
    dialog->ComboBox1->SetText(L"17"); // not in the list, still taken
    EXPECT_EQ(dialog->Memo1Font().Size, 17);
    dialog->ComboBox1->SetText(L"1a");
    EXPECT_EQ(dialog->Memo1Font().Size, 17);
    dialog->ComboBox1->SetText(L"0");
    dialog->ComboBox1->SetText(L"-12");
    EXPECT_EQ(dialog->Memo1Font().Size, 17);
    EXPECT_EQ(dialog->Results().FontSize, 17);

    dialog->cbBold->SetChecked(false);
    dialog->cbItalic->SetChecked(true);
    EXPECT_FALSE(dialog->Memo1Font().Bold);
    EXPECT_TRUE(dialog->Memo1Font().Italic);
    EXPECT_TRUE(dialog->Memo1Font().Underline); // the other styles stay

    SendMessageW(dialog->SpeedButton2->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog->TextAlignment, 1);
    EXPECT_EQ(dialog->Memo1Alignment(), 1);
    EXPECT_FALSE(dialog->SpeedButton3->Checked());

    dialog->JvColorComboBox1->SetColorValue(0x00FF00);
    EXPECT_EQ(dialog->Memo1Font().Color, 0x00FF00);
    EXPECT_EQ(dialog->Results().PenColor, 0x00FF00);
}

TEST_F(TextFormTest, AnUnknownStoredAlignmentShowsAndDeliversLeft) {
    TTextSettings settings = Loaded();
    settings.Alignment = 7;
    auto dialog = CreateForm<TTextForm>(main.get());
    dialog->Load(settings);
    EXPECT_EQ(dialog->TextAlignment, 0);
    EXPECT_TRUE(dialog->SpeedButton1->Checked());
    EXPECT_EQ(dialog->Memo1Alignment(), 0);
    EXPECT_EQ(dialog->Results().Alignment, 0);
}

TEST_F(TextFormTest, TheDialogDeliversOnOkWithTextAndNothingOtherwise) {
    const auto ok = Run(Loaded(), [] {
        TextForm->Memo1->SetText(L"New");
        TextForm->btnOK->Click();
    });
    ASSERT_TRUE(ok);
    TTextSettings expected = Loaded();
    expected.Content = L"New";
    EXPECT_EQ(*ok, expected);
    EXPECT_EQ(TextForm, nullptr);

    const auto empty = Run(Loaded(), [] {
        TextForm->Memo1->SetText(L"");
        TextForm->btnOK->Click();
    });
    EXPECT_FALSE(empty);
    const auto cancelled = Run(Loaded(), [] { TextForm->btnCancel->Click(); });
    EXPECT_FALSE(cancelled);
}

TEST_F(TextFormTest, TheMemoHasTheFocusKeepsLongLinesWholeAndTakesEnterAsANewLine) {
    bool focused = false;
    LRESULT lines = 0;
    const auto ok = Run(Loaded(), [&] {
        const HWND memo = TextForm->Memo1->Handle();
        focused = GetFocus() == memo;
        TextForm->Memo1->SetText(std::wstring(300, L'w'));
        lines = SendMessageW(memo, EM_GETLINECOUNT, 0, 0);
        TextForm->Memo1->SetText(L"ab");
        SendMessageW(memo, EM_SETSEL, 2, 2);
        // The keys come through the message loop as typed; OK is clicked after them.
        PostMessageW(memo, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(memo, WM_CHAR, L'\r', 0);
        PostMessageW(memo, WM_CHAR, L'c', 0);
        PostMessageW(TextForm->btnOK->Handle(), BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(focused);
    EXPECT_EQ(lines, 1);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->Content, L"ab\r\nc");
}

TEST_F(TextFormTest, TheNewImageDialogIsCalledNewAndTakesEnterAsOkAndEscAsCancel) {
    // Runs the dialog; the step gets it once it shows and presses a key in it.
    const auto run = [this](const std::function<void(TNewCaptureDialog&)>& step) {
        auto dialog = CreateForm<TNewCaptureDialog>(main.get());
        TNewCaptureDialog* shown = dialog.get();
        auto* timer = main->Make<TTimer>(L"", 20, true);
        const DWORD started = GetTickCount();
        bool done = false;
        timer->OnTimer = [&](TObject*) {
            if (!IsWindowVisible(shown->Handle()))
                return;
            if (!done) {
                done = true;
                step(*shown);
            } else if (GetTickCount() - started > deadlines::kStateTicks) {
                shown->ModalResult = mrCancel;
            }
        };
        const int result = dialog->ShowModal();
        timer->SetEnabled(false);
        EXPECT_EQ(dialog->Caption(), L"New");
        return result;
    };
    const auto press = [](HWND control, WPARAM key) {
        SetFocus(control);
        PostMessageW(control, WM_KEYDOWN, key, 0);
    };
    EXPECT_EQ(run([&](TNewCaptureDialog& d) { press(d.SpinEdit1->Handle(), VK_RETURN); }), mrOk);
    EXPECT_EQ(run([&](TNewCaptureDialog& d) { press(d.JvColorComboBox1->Handle(), VK_ESCAPE); }), mrCancel);
    // Also over the open colour list, Enter confirms the dialog at once.
    EXPECT_EQ(run([&](TNewCaptureDialog& d) {
                  SetFocus(d.JvColorComboBox1->Handle());
                  SendMessageW(d.JvColorComboBox1->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
                  PostMessageW(d.JvColorComboBox1->Handle(), WM_KEYDOWN, VK_RETURN, 0);
              }),
              mrOk);
    // A focused button answers Enter itself.
    EXPECT_EQ(run([&](TNewCaptureDialog& d) { press(d.btnCancel->Handle(), VK_RETURN); }), mrCancel);
}

TEST_F(TextFormTest, TabWalksTheDesignedOrderAndTheAlignmentButtonsTakeNoFocus) {
    TTextSettings settings = Loaded();
    settings.Frame = true; // the background colour box takes part only while enabled
    std::vector<HWND> walked;
    std::vector<HWND> designed;
    HWND focusAfterClick = nullptr;
    bool tabStops = false;
    const auto ok = Run(settings, [&] {
        TTextForm& t = *TextForm;
        designed = {t.Memo1->Handle(),
                    t.JvFontComboBox1->Handle(),
                    t.ComboBox1->Handle(),
                    t.cbBold->Handle(),
                    t.cbItalic->Handle(),
                    t.cbUnderLine->Handle(),
                    t.JvColorComboBox1->Handle(),
                    t.cbBackColor->Handle(),
                    t.JvColorComboBox2->Handle(),
                    t.btnOK->Handle(),
                    t.btnCancel->Handle()};
        // The dialog manager's Tab order, from the memo round to it again.
        HWND at = t.Memo1->Handle();
        do {
            walked.push_back(at);
            at = GetNextDlgTabItem(t.Handle(), at, FALSE);
        } while (at && at != t.Memo1->Handle() && walked.size() < 20);
        for (TRadioButton* b : {t.SpeedButton1, t.SpeedButton2, t.SpeedButton3})
            tabStops = tabStops || (GetWindowLongPtrW(b->Handle(), GWL_STYLE) & WS_TABSTOP) != 0;
        // A click on an alignment button aligns the text and leaves the focus in the memo.
        SetFocus(t.Memo1->Handle());
        SendMessageW(t.SpeedButton2->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(t.SpeedButton2->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        focusAfterClick = GetFocus();
        t.btnOK->Click();
    });
    EXPECT_EQ(walked, designed);
    EXPECT_FALSE(tabStops);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->Alignment, 1);
    EXPECT_EQ(focusAfterClick, designed.front());
}

TEST_F(TextFormTest, ThePreviewShowsTheChosenFaceInTheHangulSetWhereTheFaceHasIt) {
    std::vector<std::pair<std::wstring, BYTE>> shown;
    TTextSettings settings = Loaded();
    settings.FontName = L"NanumGothic";
    const auto memoFont = [&] {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(TextForm->Memo1->Handle(), WM_GETFONT, 0, 0));
        LOGFONTW lf{};
        GetObjectW(font, sizeof(lf), &lf);
        shown.emplace_back(RealizedFaceName(font), lf.lfCharSet);
    };
    Run(settings, [&] {
        memoFont();
        // A face without Hangul, which the Hangul set would swap, stays itself in the preview.
        const std::vector<std::wstring> fonts = TextForm->JvFontComboBox1->Items();
        const auto latin = std::find(fonts.begin(), fonts.end(), L"DejaVu Sans");
        if (latin != fonts.end()) {
            TextForm->JvFontComboBox1->SetItemIndex(static_cast<int>(latin - fonts.begin()));
            memoFont();
        }
        TextForm->btnCancel->Click();
    });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], (std::pair<std::wstring, BYTE>{L"NanumGothic", HANGUL_CHARSET}));
    EXPECT_EQ(shown[1], (std::pair<std::wstring, BYTE>{L"DejaVu Sans", DEFAULT_CHARSET}));
}
