// The Effect commands on a document: the image records the untouched state and the result,
// a floating selection changes alone and records nothing, a cancelled dialog changes
// nothing, crop takes the selection's pixels, and the transforms change the size.
#include <windows.h>

#include <functional>
#include <string>

#include "../forms/FormsTestSupport.h"
#include "DocumentTestSupport.h"
#include "core/Bitmap32Ops.h"
#include "core/StoredValues.h"
#include "editor/dlgImageCrop.h"
#include "editor/dlgImageEffect.h"
#include "editor/dlgImageResize.h"
#include "editor/dlgImageRotate.h"
#include "editor/frmChild.h"
#include "editor/unitClipboard.h"
#include "forms/Actions.h"
#include "forms/BitBtn.h"
#include "forms/Dialogs.h"
#include "forms/Graphics.h"
#include "forms/ImgView32.h"
#include "forms/Label.h"
#include "forms/StdCtrls.h"
#include "forms/Timer.h"
#include "forms/TrackBar.h"
#include "shell/frmMain.h"

namespace {
constexpr TColor32 kRed = 0xFFFF0000;
constexpr TColor32 kBlue = 0xFF0000FF;
constexpr TColor32 kWhite = 0xFFFFFFFF;

class EffectsTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        form = CreateForm<TMainForm>();
        ShutterSoundHook = [] {};
        MessageDlgHook = [](const std::wstring&, TMsgDlgType, TMsgDlgButtons) { return mrNo; };
        form->JvFormStorage1.SetStoredValue(SettingName::kIsSound, false);
        form->JvFormStorage1.SetStoredValue(SettingName::kIsAfterVisible, false);
        form->JvFormStorage1.SetStoredValue(SettingName::kOutputType, 0);
    }
    void TearDown() override {
        form.reset();
        PumpPending();
        ShutterSoundHook = nullptr;
        MessageDlgHook = nullptr;
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        FormsTest::TearDown();
    }
    // A new document of w x h in one colour, pixel (0, 0) marked blue.
    TChildForm* Document(int w, int h) {
        TChildForm* doc = CaptureDocument(*form, w, h, kRed);
        doc->ImgView32->Bitmap().SetPixel(0, 0, kBlue);
        return doc;
    }
    bool Enabled(TAction* a) {
        a->Update();
        return a->Enabled();
    }
    // Executes the action, answering its dialog with the step once the dialog is up. A
    // dialog still open after 10 s is cancelled, so that no test can hang in it.
    void RunDialog(TAction* action, const std::function<TForm*()>& dialog,
                   const std::function<void()>& step) {
        auto* timer = form->Make<TTimer>(L"", 20, true);
        const DWORD started = GetTickCount();
        bool done = false;
        timer->OnTimer = [&](TObject*) {
            TForm* shown = dialog();
            if (!shown || !IsWindowVisible(shown->Handle()))
                return;
            if (!done) {
                done = true;
                step();
            } else if (GetTickCount() - started > deadlines::kStateTicks) {
                shown->ModalResult = mrCancel;
            }
        };
        action->Execute();
        timer->SetEnabled(false);
        EXPECT_TRUE(done);
    }

    TFormPtr<TMainForm> form;
};
} // namespace

TEST_F(EffectsTest, WithoutADocumentTheCommandsAreOffAndCropNeedsASelection) {
    EXPECT_FALSE(Enabled(form->acEffectInvert));
    EXPECT_FALSE(Enabled(form->acEffectBrightness));
    form->acEffectInvert->Execute(); // nothing to act on, nothing happens
    TChildForm* doc = Document(2, 2);
    EXPECT_TRUE(Enabled(form->acEffectInvert));
    EXPECT_TRUE(Enabled(form->acEffectResizeCanvas));
    EXPECT_FALSE(Enabled(form->acEffectCrop));
    form->acEditSelectAll->Execute();
    ASSERT_NE(doc->GetFloatingLayer(), nullptr);
    EXPECT_TRUE(Enabled(form->acEffectCrop));
}

TEST_F(EffectsTest, AnEffectOnTheImageRecordsTheUntouchedImageThenTheResult) {
    TChildForm* doc = Document(2, 1);
    const TBitmap32 before = doc->ImgView32->Bitmap();
    doc->SetModified(false);
    form->acEffectInvert->Execute();
    // The colours turn over on the image; its transparency stays.
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(0, 0), 0xFFFFFF00u);
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(1, 0), 0xFF00FFFFu);
    EXPECT_EQ(doc->History->Count(), 2);
    EXPECT_TRUE(doc->Modified);
    // A second effect adds the result only.
    form->acEffectGray->Execute();
    EXPECT_EQ(doc->History->Count(), 3);
    form->acEditUndo->Execute();
    form->acEditUndo->Execute();
    EXPECT_EQ(doc->ImgView32->Bitmap(), before);
}

TEST_F(EffectsTest, OnAFloatingSelectionOnlyTheSelectionChangesAndNothingIsRecorded) {
    TChildForm* doc = Document(2, 1);
    form->acEditSelectAll->Execute();
    const TBitmap32 image = doc->ImgView32->Bitmap();
    TBitmapLayer* layer = doc->GetFloatingLayer();
    ASSERT_NE(layer, nullptr);
    layer->SetMasterAlpha(128);

    // Gray: red 61 * 255 >> 8 = 60; blue 21 * 255 >> 8 = 20; alpha kept.
    form->acEffectGray->Execute();
    EXPECT_EQ(layer->Bitmap().Pixel(0, 0), 0xFF141414u);
    EXPECT_EQ(layer->Bitmap().Pixel(1, 0), 0xFF3C3C3Cu);
    // Invert twice gives the selection back: the master alpha is not baked into it.
    form->acEffectInvert->Execute();
    EXPECT_EQ(layer->Bitmap().Pixel(0, 0), 0xFFEBEBEBu);
    form->acEffectInvert->Execute();
    EXPECT_EQ(layer->Bitmap().Pixel(1, 0), 0xFF3C3C3Cu);
    EXPECT_EQ(layer->MasterAlpha(), 128);

    RunDialog(
        form->acEffectContrast, [] { return ImageEffectDialog; },
        [] {
            ImageEffectDialog->TrackBar1->SetPosition(-100); // every entry 128
            ImageEffectDialog->BitBtn2->Click();
        });
    EXPECT_EQ(layer->Bitmap().Pixel(0, 0), 0xFF808080u);
    EXPECT_EQ(doc->ImgView32->Bitmap(), image);
    EXPECT_EQ(doc->History->Count(), 0);
    EXPECT_EQ(doc->GetFloatingLayer(), layer);
}

TEST_F(EffectsTest, TheEffectDialogTakesTheCommandsCaptionAndCancelChangesNothing) {
    TChildForm* doc = Document(2, 1);
    const TBitmap32 before = doc->ImgView32->Bitmap();
    doc->SetModified(false);
    std::wstring caption;
    RunDialog(
        form->acEffectMosic, [] { return ImageEffectDialog; },
        [&] {
            caption = ImageEffectDialog->Caption();
            ImageEffectDialog->TrackBar1->SetPosition(60);
            ImageEffectDialog->BitBtn1->Click();
        });
    EXPECT_EQ(caption, L"Mosic");
    EXPECT_EQ(doc->ImgView32->Bitmap(), before);
    EXPECT_EQ(doc->History->Count(), 0);
    EXPECT_FALSE(doc->Modified);

    // Mosaic 2 on 2 x 1: the block takes its top-left blue.
    RunDialog(
        form->acEffectMosic, [] { return ImageEffectDialog; },
        [] {
            ImageEffectDialog->TrackBar1->SetPosition(2);
            ImageEffectDialog->BitBtn2->Click();
        });
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(1, 0), kBlue);
    EXPECT_EQ(doc->History->Count(), 2);
}

TEST_F(EffectsTest, TheNoiseDialogBrightensAboutHalfThePixelsOnOkAndRecordsTheChange) {
    TChildForm* doc = Document(64, 16);
    doc->ImgView32->Bitmap().Clear(0xFF404040u);
    const TBitmap32 before = doc->ImgView32->Bitmap();
    doc->SetModified(false);
    std::wstring opened, changed;
    RunDialog(
        form->acEffectNoise, [] { return ImageEffectDialog; },
        [&] {
            opened = ImageEffectDialog->Label1->Caption();
            ImageEffectDialog->TrackBar1->SetPosition(200);
            changed = ImageEffectDialog->Label1->Caption();
            ImageEffectDialog->BitBtn2->Click();
        });
    EXPECT_EQ(opened, L"100");
    EXPECT_EQ(changed, L"200");
    // Noise 200: a pixel stays, or gains the same 1..99 on each channel; alpha kept.
    const TBitmap32& image = doc->ImgView32->Bitmap();
    int brightened = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const TColor32 c = image.Pixel(x, y);
            const int d = static_cast<int>(c & 0xFF) - 0x40;
            ASSERT_TRUE(d >= 0 && d < 100) << x << "," << y;
            ASSERT_EQ(c, (0xFF000000u | 0x010101u * static_cast<TColor32>(0x40 + d))) << x << "," << y;
            brightened += d > 0;
        }
    EXPECT_GT(brightened, 64 * 16 / 4);
    EXPECT_LT(brightened, 64 * 16 * 3 / 4);
    EXPECT_EQ(doc->History->Count(), 2);
    EXPECT_TRUE(doc->Modified);
    form->acEditUndo->Execute();
    EXPECT_EQ(doc->ImgView32->Bitmap(), before);
}

TEST_F(EffectsTest, CropTakesTheSelectionsPixelsOverTheFillColour) {
    TChildForm* doc = Document(4, 4);
    TBitmap32 glass(2, 1);
    glass.SetPixel(0, 0, kRed);
    glass.SetPixel(1, 0, 0x00000000);
    CopyBitmap32ToClipboard(glass, form->Handle());
    form->acEditPaste->Execute();
    ASSERT_NE(doc->GetFloatingLayer(), nullptr);
    // The outline stretched larger does not change the crop's size.
    doc->SelectionBand->SetLocation(TFloatRect{0, 0, 4, 3});
    form->acEffectCrop->Execute();
    EXPECT_EQ(doc->GetFloatingLayer(), nullptr);
    const TBitmap32& image = doc->ImgView32->Bitmap();
    ASSERT_EQ(image.Width(), 2);
    ASSERT_EQ(image.Height(), 1);
    EXPECT_EQ(image.Pixel(0, 0), kRed);
    EXPECT_EQ(image.Pixel(1, 0), kWhite);
    EXPECT_EQ(doc->History->Count(), 2);
    form->acEditUndo->Execute();
    EXPECT_EQ(doc->ImgView32->Bitmap().Width(), 4);
}

TEST_F(EffectsTest, RotateResizeAndCanvasChangeTheSize) {
    TChildForm* doc = Document(3, 1);
    RunDialog(
        form->acEffectRotate, [] { return ImageRotateDialog; },
        [] {
            ImageRotateDialog->SpeedButton02->Click(); // clockwise: the left end goes to the top
            ImageRotateDialog->btnOK->Click();
        });
    ASSERT_EQ(doc->ImgView32->Bitmap().Width(), 1);
    ASSERT_EQ(doc->ImgView32->Bitmap().Height(), 3);
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(0, 0), kBlue);
    EXPECT_EQ(doc->History->Count(), 2);

    RunDialog(
        form->acEffectResize, [] { return ImageResizeForm; },
        [] {
            ImageResizeForm->SpinEdit1->SetValue(2); // linked: 2 x 6
            ImageResizeForm->btnOK->Click();
        });
    ASSERT_EQ(doc->ImgView32->Bitmap().Width(), 2);
    ASSERT_EQ(doc->ImgView32->Bitmap().Height(), 6);
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(1, 1), kBlue);
    EXPECT_EQ(doc->History->Count(), 3);

    RunDialog(
        form->acEffectResizeCanvas, [] { return ImageCropForm; },
        [] {
            ImageCropForm->SetAnchor(9);
            ImageCropForm->cbSizeLink->SetChecked(false);
            ImageCropForm->SpinEdit1->SetValue(3);
            ImageCropForm->SpinEdit2->SetValue(7);
            ImageCropForm->BitBtn1->Click();
        });
    const TBitmap32& image = doc->ImgView32->Bitmap();
    ASSERT_EQ(image.Width(), 3);
    ASSERT_EQ(image.Height(), 7);
    EXPECT_EQ(image.Pixel(0, 0), kWhite);
    EXPECT_EQ(image.Pixel(1, 1), kBlue); // drawn at (1, 1)
    EXPECT_EQ(doc->History->Count(), 4);

    RunDialog(
        form->acEffectResize, [] { return ImageResizeForm; }, [] { ImageResizeForm->btnCancel->Click(); });
    EXPECT_EQ(doc->ImgView32->Bitmap().Width(), 3);
    EXPECT_EQ(doc->History->Count(), 4);
}

TEST_F(EffectsTest, AQuarterTurnOfTheSelectionTurnsItsOutlineAndRecordsNothing) {
    TChildForm* doc = Document(3, 1);
    form->acEditSelectAll->Execute();
    TBitmapLayer* layer = doc->GetFloatingLayer();
    ASSERT_NE(layer, nullptr);
    RunDialog(
        form->acEffectRotate, [] { return ImageRotateDialog; },
        [] {
            ImageRotateDialog->SpeedButton01->Click();
            ImageRotateDialog->btnOK->Click();
        });
    EXPECT_EQ(layer->Bitmap().Width(), 1);
    EXPECT_EQ(layer->Bitmap().Height(), 3);
    // Counter-clockwise: the left end goes to the bottom.
    EXPECT_EQ(layer->Bitmap().Pixel(0, 2), kBlue);
    const TFloatRect loc = doc->SelectionBand->Location();
    EXPECT_EQ(loc.Right - loc.Left, 1.0);
    EXPECT_EQ(loc.Bottom - loc.Top, 3.0);
    EXPECT_EQ(doc->ImgView32->Bitmap().Width(), 3);
    EXPECT_EQ(doc->History->Count(), 0);
}
