// The OK and Cancel buttons of the program's dialogs: their kind, the key that presses them
// and their picture.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "NoDialogHost.h"
#include "capture/CaptureDialogHost.h"
#include "capture/dlgCaptureRect.h"
#include "capture/dlgCaptureRepeat.h"
#include "capture/frmIconList.h"
#include "editor/dlgImageCrop.h"
#include "editor/dlgImageEffect.h"
#include "editor/dlgImageResize.h"
#include "editor/dlgNewCapture.h"
#include "editor/frmText.h"
#include "forms/BitBtn.h"
#include "shell/frmMain.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/support/CommonControls6.h"
#include "tests/support/ImageListPixels.h"

namespace {
// The summed red and green of a one-picture list.
struct TRedGreen {
    long long Red = 0, Green = 0;
};
TRedGreen RedGreenOf(HIMAGELIST list) {
    TRedGreen sum;
    for (const DWORD p : ImageListPixels(list)) {
        sum.Red += (p >> 16) & 0xFF;
        sum.Green += (p >> 8) & 0xFF;
    }
    return sum;
}

class DialogButtonsTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        main = CreateForm<TMainForm>();
    }
    void TearDown() override {
        main.reset();
        FormsTest::TearDown();
    }
    TFormPtr<TMainForm> main;
};
} // namespace

TEST_F(DialogButtonsTest, EveryDialogsOkAndCancelShowATickAndACrossAndAnswerEnterAndEsc) {
    struct TDialogButtons {
        const wchar_t* Dialog;
        std::function<TFormPtr<TForm>()> Create;
        std::function<std::pair<TBitBtn*, TBitBtn*>(TForm&)> Buttons;
    };
    // The buttons as the program creates them, with the manifest's common controls.
    const TCommonControls6Scope controls6;
    ASSERT_TRUE(controls6.Active());
    TMainForm* owner = main.get();
    const TDialogButtons dialogs[] = {
        {L"capture size",
         [] { return TFormPtr<TForm>(CreateForm<TCaptureRecDialog>(nullptr, NoDialogHost()).release()); },
         [](TForm& f) {
             auto& d = static_cast<TCaptureRecDialog&>(f);
             return std::pair{d.BitBtn1, d.BitBtn2};
         }},
        {L"repeat",
         [] { return TFormPtr<TForm>(CreateForm<TCaptureRepeatDialog>(nullptr, NoDialogHost()).release()); },
         [](TForm& f) {
             auto& d = static_cast<TCaptureRepeatDialog&>(f);
             return std::pair{d.btnOK, d.btnCancel};
         }},
        {L"icon list", [] { return TFormPtr<TForm>(CreateForm<TIconListForm>(nullptr).release()); },
         [](TForm& f) {
             auto& d = static_cast<TIconListForm&>(f);
             return std::pair{d.BitBtn2, d.BitBtn1};
         }},
        {L"effect", [owner] { return TFormPtr<TForm>(CreateForm<TImageEffectDialog>(owner).release()); },
         [](TForm& f) {
             auto& d = static_cast<TImageEffectDialog&>(f);
             return std::pair{d.BitBtn2, d.BitBtn1};
         }},
        {L"resize", [owner] { return TFormPtr<TForm>(CreateForm<TImageResizeForm>(owner).release()); },
         [](TForm& f) {
             auto& d = static_cast<TImageResizeForm&>(f);
             return std::pair{d.btnOK, d.btnCancel};
         }},
        {L"canvas", [owner] { return TFormPtr<TForm>(CreateForm<TImageCropForm>(owner).release()); },
         [](TForm& f) {
             auto& d = static_cast<TImageCropForm&>(f);
             return std::pair{d.BitBtn1, d.BitBtn2};
         }},
        {L"text", [owner] { return TFormPtr<TForm>(CreateForm<TTextForm>(owner).release()); },
         [](TForm& f) {
             auto& d = static_cast<TTextForm&>(f);
             return std::pair{d.btnOK, d.btnCancel};
         }},
        {L"new picture", [] { return TFormPtr<TForm>(CreateForm<TNewCaptureDialog>(nullptr).release()); },
         [](TForm& f) {
             auto& d = static_cast<TNewCaptureDialog&>(f);
             return std::pair{d.btnOK, d.btnCancel};
         }},
    };
    for (const TDialogButtons& d : dialogs) {
        SCOPED_TRACE(d.Dialog);
        TFormPtr<TForm> dialog = d.Create();
        const auto [ok, cancel] = d.Buttons(*dialog);
        ASSERT_TRUE(ok && cancel);
        EXPECT_EQ(ok->Kind(), TBitBtnKind::bkOK);
        EXPECT_EQ(cancel->Kind(), TBitBtnKind::bkCancel);
        EXPECT_EQ(ok->Caption(), L"OK");
        EXPECT_EQ(cancel->Caption(), L"Cancel");
        // Enter presses OK; Cancel answers Esc and ends the dialog as cancelled.
        EXPECT_TRUE(GetWindowLongPtrW(ok->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
        EXPECT_TRUE(cancel->Cancel());
        EXPECT_EQ(cancel->ModalResult, mrCancel);
        for (TBitBtn* b : {ok, cancel}) {
            ASSERT_NE(b->Glyph(), nullptr);
            int width = 0, height = 0;
            ImageList_GetIconSize(b->Glyph(), &width, &height);
            EXPECT_EQ(width, 16);
            EXPECT_EQ(height, 16);
            // The button paints the very list it holds.
            BUTTON_IMAGELIST shown{};
            SendMessageW(b->Handle(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&shown));
            EXPECT_EQ(shown.himl, b->Glyph());
        }
        // A green tick on OK, a red cross on Cancel: never the other way round.
        const TRedGreen tick = RedGreenOf(ok->Glyph());
        const TRedGreen cross = RedGreenOf(cancel->Glyph());
        EXPECT_GT(tick.Green, tick.Red * 2);
        EXPECT_GT(cross.Red, cross.Green * 2);
    }
}
