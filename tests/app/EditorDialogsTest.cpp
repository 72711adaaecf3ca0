#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "LanguageTestSupport.h"
#include "core/Bitmap32.h"
#include "core/StoredValues.h"
#include "editor/dlgImageCrop.h"
#include "editor/dlgImageEffect.h"
#include "editor/dlgImageResize.h"
#include "editor/dlgImageRotate.h"
#include "forms/BitBtn.h"
#include "forms/Dialogs.h"
#include "forms/ImgView32.h"
#include "forms/Label.h"
#include "forms/StdCtrls.h"
#include "forms/Timer.h"
#include "forms/TrackBar.h"
#include "shell/frmMain.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/support/CommonControls6.h"
#include "tests/support/ImageListPixels.h"

namespace {
constexpr TColor32 kRed = 0xFFFF0000;
constexpr TColor32 kGreen = 0xFF00FF00;
constexpr TColor32 kBlue = 0xFF0000FF;
constexpr TColor32 kWhite = 0xFFFFFFFF;
constexpr TColor32 kFill = 0xFF102030;

// A row of pixels as a bitmap one pixel high.
TBitmap32 Row(std::initializer_list<TColor32> pixels) {
    TBitmap32 b(static_cast<int>(pixels.size()), 1);
    int x = 0;
    for (TColor32 c : pixels)
        b.SetPixel(x++, 0, c);
    return b;
}

// The shipped bytes of a language file, from the program folder of the build.
std::string ShippedLanguageBytes(const wchar_t* name) {
    const char* dist = std::getenv("TOLVEX_DIST_DIR");
    if (!dist)
        return {};
    const std::vector<std::uint8_t> bytes = ReadFileBytes(
        L"Z:" + std::wstring(dist, dist + std::char_traits<char>::length(dist)) + L"\\Language\\" + name);
    return std::string(bytes.begin(), bytes.end());
}

class EditorDialogsTest : public FormsTest {
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
    // Runs a dialog modally; the step runs once it is up. A dialog still open after 10 s is
    // cancelled, so that no test can hang in it.
    template <class TResult>
    TResult RunModal(const std::function<TForm*()>& dialog, const std::function<void()>& step,
                     const std::function<TResult()>& run) {
        auto* timer = main->Make<TTimer>(L"", 20, true);
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
        TResult result = run();
        timer->SetEnabled(false);
        EXPECT_TRUE(done);
        return result;
    }
    TFormPtr<TMainForm> main;
};

} // namespace

TEST_F(EditorDialogsTest, TheEffectPreviewFollowsTheTrackBarFromTheUntouchedSource) {
    auto dialog = CreateForm<TImageEffectDialog>(main.get());
    const TBitmap32 source = Row({0x80000000, 0xFFC8C8C8});
    dialog->SetPicture(source);
    dialog->SetEffect(L"Brightness", L"Bright");
    EXPECT_EQ(dialog->Caption(), L"Bright");
    EXPECT_EQ(dialog->TrackBar1->Min(), -100);
    EXPECT_EQ(dialog->TrackBar1->Max(), 100);
    // Position 0 raises no change: the preview is the picture, the label its design text.
    EXPECT_EQ(dialog->Image32->Bitmap(), source);
    EXPECT_EQ(dialog->Label1->Caption(), L"0");
    dialog->TrackBar1->SetPosition(50);
    // 0 + 0.5 gives 127.5, the even 128; 200 + 127.5 is above 255. Alpha stays.
    EXPECT_EQ(dialog->Image32->Bitmap(), Row({0x80808080, 0xFFFFFFFF}));
    EXPECT_EQ(dialog->Label1->Caption(), L"50");
    // Back to 0 gives the source again: the preview never builds on itself.
    dialog->TrackBar1->SetPosition(0);
    EXPECT_EQ(dialog->Image32->Bitmap(), source);
    EXPECT_EQ(dialog->SourceBitmap, source);
}

TEST_F(EditorDialogsTest, TheEffectPreviewLiesInItsLoweredFrame) {
    auto dialog = CreateForm<TImageEffectDialog>(main.get());
    const RECT frame = dialog->Bevel1->BoundsRect();
    const RECT preview = dialog->Image32->BoundsRect();
    RECT both{};
    UnionRect(&both, &frame, &preview);
    EXPECT_TRUE(EqualRect(&both, &frame));
    EXPECT_FALSE(EqualRect(&frame, &preview));
    const LONG_PTR style = GetWindowLongPtrW(dialog->Bevel1->Handle(), GWL_STYLE);
    EXPECT_NE(style & SS_SUNKEN, 0);
    EXPECT_EQ(style & WS_TABSTOP, 0);
    // The frame lies below the preview, so it never paints over the picture.
    bool previewAbove = false;
    for (HWND w = GetWindow(dialog->Bevel1->Handle(), GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        previewAbove = previewAbove || w == dialog->Image32->Handle();
    EXPECT_TRUE(previewAbove);
}

TEST_F(EditorDialogsTest, EffectsWithAStartValueOpenWithTheirPreviewComputed) {
    auto dialog = CreateForm<TImageEffectDialog>(main.get());
    TBitmap32 picture(2, 2);
    picture.SetPixel(0, 0, kRed);
    picture.SetPixel(1, 0, kGreen);
    picture.SetPixel(0, 1, kBlue);
    picture.SetPixel(1, 1, kWhite);
    dialog->SetPicture(picture);
    dialog->SetEffect(L"Mosaic", L"Mosic");
    EXPECT_EQ(dialog->TrackBar1->Position(), 5);
    EXPECT_EQ(dialog->Label1->Caption(), L"5");
    EXPECT_EQ(dialog->Image32->Bitmap(), TBitmap32(2, 2, kRed));
    dialog->TrackBar1->SetPosition(1);
    EXPECT_EQ(dialog->Image32->Bitmap(), picture);

    auto gamma = CreateForm<TImageEffectDialog>(main.get());
    gamma->SetPicture(picture);
    gamma->SetEffect(L"Gamma", L"Gamma");
    EXPECT_EQ(gamma->TrackBar1->Max(), 500);
    EXPECT_EQ(gamma->Image32->Bitmap(), picture); // gamma 1 is the identity
    EXPECT_EQ(gamma->Label1->Caption(), L"1");
    gamma->TrackBar1->SetPosition(0); // gamma 0 makes every colour white
    EXPECT_EQ(gamma->Image32->Bitmap(), TBitmap32(2, 2, kWhite));

    // An unknown effect leaves the designed caption and range.
    auto unknown = CreateForm<TImageEffectDialog>(main.get());
    unknown->SetPicture(picture);
    unknown->SetEffect(L"Blur", L"Blur");
    EXPECT_EQ(unknown->Caption(), L"Effect");
    EXPECT_EQ(unknown->TrackBar1->Min(), -100);
    unknown->TrackBar1->SetPosition(30);
    EXPECT_EQ(unknown->Image32->Bitmap(), picture);
}

TEST_F(EditorDialogsTest, TheGammaAmountReadsAsAShortDecimal) {
    EXPECT_EQ(EffectAmountText(L"Gamma", 100, L'.'), L"1");
    EXPECT_EQ(EffectAmountText(L"Gamma", 150, L'.'), L"1.5");
    EXPECT_EQ(EffectAmountText(L"Gamma", 25, L','), L"0,25");
    EXPECT_EQ(EffectAmountText(L"Gamma", 505, L'.'), L"5.05");
    EXPECT_EQ(EffectAmountText(L"Gamma", 0, L'.'), L"0");
    EXPECT_EQ(EffectAmountText(L"Noise", 150, L'.'), L"150");
}

TEST_F(EditorDialogsTest, TheEffectDialogGivesThePreviewOnOkAndNothingOnCancel) {
    const TBitmap32 picture = Row({0xFF000000, 0xFF646464});
    const auto ok = RunModal<std::optional<TBitmap32>>(
        [] { return ImageEffectDialog; },
        [] {
            ImageEffectDialog->TrackBar1->SetPosition(-100); // contrast -1: every entry is 128
            ImageEffectDialog->BitBtn2->Click();
        },
        [&] { return RunImageEffectDialog(main.get(), L"Contrast", L"Contrast", picture); });
    ASSERT_TRUE(ok);
    EXPECT_EQ(*ok, Row({0xFF808080, 0xFF808080}));
    EXPECT_EQ(ImageEffectDialog, nullptr);

    const auto cancelled = RunModal<std::optional<TBitmap32>>(
        [] { return ImageEffectDialog; },
        [] {
            ImageEffectDialog->TrackBar1->SetPosition(40);
            ImageEffectDialog->BitBtn1->Click();
        },
        [&] { return RunImageEffectDialog(main.get(), L"Brightness", L"Brightness", picture); });
    EXPECT_FALSE(cancelled);
}

TEST_F(EditorDialogsTest, TheSizeFieldsKeepTheProportionOfTheStartingSize) {
    auto dialog = CreateForm<TImageResizeForm>(main.get());
    dialog->LoadSize(200, 75);
    EXPECT_EQ(dialog->NewWidth(), 200);
    EXPECT_EQ(dialog->NewHeight(), 75);
    dialog->SpinEdit1->SetValue(50); // 18.75
    EXPECT_EQ(dialog->NewHeight(), 19);
    dialog->SpinEdit1->SetValue(100); // 37.5 goes to the even 38
    EXPECT_EQ(dialog->NewHeight(), 38);
    dialog->SpinEdit2->SetValue(150);
    EXPECT_EQ(dialog->NewWidth(), 400);
    // An emptied field waits; the other keeps its value.
    dialog->SpinEdit1->SetCaption(L"");
    EXPECT_EQ(dialog->NewHeight(), 150);
    // Without the link each side is free.
    dialog->cbSizeLink->SetChecked(false);
    dialog->SpinEdit1->SetValue(30);
    EXPECT_EQ(dialog->NewHeight(), 150);
    dialog->btnOK->Click();
    EXPECT_EQ(dialog->ModalResult, mrOk);
    EXPECT_EQ(dialog->NewWidth(), 30);
}

TEST_F(EditorDialogsTest, APercentageBecomesPixelsOnOkFromEachStartingSide) {
    auto dialog = CreateForm<TImageResizeForm>(main.get());
    dialog->LoadSize(201, 101);
    EXPECT_FALSE(dialog->SpinEdit3->Enabled());
    dialog->rbPersent->SetChecked(true);
    EXPECT_TRUE(dialog->SpinEdit3->Enabled());
    EXPECT_FALSE(dialog->SpinEdit1->Enabled());
    EXPECT_FALSE(dialog->cbSizeLink->Enabled());
    EXPECT_EQ(dialog->SpinEdit3->Value(), 50);
    dialog->btnOK->Click();
    EXPECT_EQ(dialog->ModalResult, mrOk);
    EXPECT_EQ(dialog->NewWidth(), 100);
    EXPECT_EQ(dialog->NewHeight(), 50);

    auto tiny = CreateForm<TImageResizeForm>(main.get());
    tiny->LoadSize(1, 1);
    tiny->rbPersent->SetChecked(true);
    tiny->SpinEdit3->SetValue(1000);
    tiny->btnOK->Click();
    EXPECT_EQ(tiny->NewWidth(), 10);
    EXPECT_EQ(tiny->NewHeight(), 10);

    // 1 per cent of 50 leaves no pixel: the dialog stays open with the sizes as they were.
    auto empty = CreateForm<TImageResizeForm>(main.get());
    empty->LoadSize(50, 80);
    empty->rbPersent->SetChecked(true);
    empty->SpinEdit3->SetValue(1);
    empty->btnOK->Click();
    EXPECT_EQ(empty->ModalResult, mrNone);
    EXPECT_EQ(empty->NewWidth(), 50);
    // Switching back to pixels gives the fields back.
    empty->rbSize->SetChecked(true);
    EXPECT_TRUE(empty->SpinEdit1->Enabled());
    EXPECT_FALSE(empty->SpinEdit3->Enabled());
}

TEST_F(EditorDialogsTest, OkRefusesAnEmptyOrNonNumberSizeBoxByNameAndPutsTheFocusBackIntoIt) {
    std::vector<std::wstring> said;
    MessageDlgHook = [&](const std::wstring& m, TMsgDlgType, TMsgDlgButtons) {
        said.push_back(m);
        return mrOk;
    };
    auto resize = CreateForm<TImageResizeForm>(main.get());
    auto canvas = CreateForm<TImageCropForm>(main.get());
    const std::pair<TImageSizeForm*, TButton*> dialogs[] = {{resize.get(), resize->btnOK},
                                                            {canvas.get(), canvas->BitBtn1}};
    for (const auto& [dialog, ok] : dialogs) {
        said.clear();
        dialog->LoadSize(40, 30);
        dialog->Show();
        // Each refused box is named, and the dialog stays open with the focus in that box.
        const auto refused = [&](TSpinEdit* box, const wchar_t* text, const std::wstring& name) {
            box->SetCaption(text);
            // A click on OK takes the focus from the box first.
            SetFocus(box->Handle());
            SetFocus(ok->Handle());
            ok->Click();
            EXPECT_EQ(dialog->ModalResult, mrNone) << testing::PrintToString(std::wstring(text));
            ASSERT_FALSE(said.empty());
            EXPECT_EQ(said.back(), L"The box \"" + name + L"\" needs a whole number from " +
                                       std::to_wstring(box->MinValue()) + L" to " +
                                       std::to_wstring(box->MaxValue()) + L".");
            EXPECT_EQ(GetFocus(), box->Handle());
            said.clear();
        };
        dialog->cbSizeLink->SetChecked(false);
        refused(dialog->SpinEdit1, L"", L"Width");
        dialog->SpinEdit1->SetValue(40);
        refused(dialog->SpinEdit2, L"12px", L"Height");
        refused(dialog->SpinEdit2, L"0", L"Height");
        dialog->SpinEdit2->SetCaption(L" 7 ");
        dialog->rbPersent->SetChecked(true);
        refused(dialog->SpinEdit3, L"", L"Persent");
        dialog->SpinEdit3->SetCaption(L"50");
        ok->Click();
        EXPECT_EQ(dialog->ModalResult, mrOk);
        EXPECT_EQ(dialog->NewWidth(), 20);
        EXPECT_EQ(dialog->NewHeight(), 15);
        EXPECT_TRUE(said.empty());
    }
    MessageDlgHook = nullptr;
}

TEST_F(EditorDialogsTest, ResizeResamplesThePictureOnOkAndGivesNothingOnCancel) {
    const TBitmap32 picture = Row({kRed, kBlue});
    const auto ok = RunModal<std::optional<TBitmap32>>(
        [] { return ImageResizeForm; },
        [] {
            ImageResizeForm->SpinEdit1->SetValue(4); // the link makes the height 2
            ImageResizeForm->btnOK->Click();
        },
        [&] { return RunImageResizeForm(main.get(), picture); });
    ASSERT_TRUE(ok);
    TBitmap32 expected(4, 2, kRed);
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x)
            expected.SetPixel(x, y, kBlue);
    EXPECT_EQ(*ok, expected);
    EXPECT_EQ(ImageResizeForm, nullptr);

    const auto cancelled = RunModal<std::optional<TBitmap32>>(
        [] { return ImageResizeForm; }, [] { ImageResizeForm->btnCancel->Click(); },
        [&] { return RunImageResizeForm(main.get(), picture); });
    EXPECT_FALSE(cancelled);
}

TEST_F(EditorDialogsTest, EnterInPercentageModeConfirmsWithThePercentageApplied) {
    const TBitmap32 picture(4, 2, kRed);
    const auto ok =
        RunModal<std::optional<TBitmap32>>([] { return ImageResizeForm; },
                                           [] {
                                               ImageResizeForm->rbPersent->SetChecked(true);
                                               ImageResizeForm->SpinEdit3->SetValue(150);
                                               const HWND edit = ImageResizeForm->SpinEdit3->Handle();
                                               SetFocus(edit);
                                               PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
                                           },
                                           [&] { return RunImageResizeForm(main.get(), picture); });
    ASSERT_TRUE(ok);
    EXPECT_EQ(*ok, TBitmap32(6, 3, kRed));
}

TEST_F(EditorDialogsTest, TheAnchorGridShowsTheDirectionPicturesAroundTheDownButton) {
    EXPECT_EQ(AnchorMarkIndex(1, 1), 4);
    EXPECT_EQ(AnchorMarkIndex(2, 1), 5);
    EXPECT_EQ(AnchorMarkIndex(4, 1), 7);
    EXPECT_EQ(AnchorMarkIndex(5, 1), 8);
    EXPECT_EQ(AnchorMarkIndex(3, 1), -1);
    EXPECT_EQ(AnchorMarkIndex(9, 1), -1);
    EXPECT_EQ(AnchorMarkIndex(1, 9), -1);
    EXPECT_EQ(AnchorMarkIndex(5, 9), 0);
    for (int button = 1; button <= 9; ++button)
        EXPECT_EQ(AnchorMarkIndex(button, 5), button - 1);

    const TCommonControls6Scope controls6;
    ASSERT_TRUE(controls6.Active());
    auto dialog = CreateForm<TImageCropForm>(main.get());
    for (int i = 0; i < 9; ++i)
        ASSERT_NE(dialog->AnchorImage(i), nullptr);
    // The picture index each button shows (-1: none), as the buttons paint it.
    const auto shown = [&] {
        std::array<int, 9> indexes{};
        for (std::size_t b = 0; b < 9; ++b) {
            BUTTON_IMAGELIST info{};
            SendMessageW(dialog->SpeedButtons[b]->Handle(), BCM_GETIMAGELIST, 0,
                         reinterpret_cast<LPARAM>(&info));
            indexes[b] = -1;
            for (int i = 0; i < 9; ++i)
                if (info.himl && info.himl == dialog->AnchorImage(i))
                    indexes[b] = i;
            EXPECT_TRUE(dialog->SpeedButtons[b]->Caption().empty());
        }
        return indexes;
    };
    EXPECT_EQ(dialog->Anchor(), 1);
    EXPECT_EQ(shown(), (std::array{4, 5, -1, 7, 8, -1, -1, -1, -1}));
    // A click on another anchor moves the pictures with it.
    SendMessageW(dialog->SpeedButtons[8]->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog->Anchor(), 9);
    EXPECT_EQ(shown(), (std::array{-1, -1, -1, -1, 0, 1, -1, 3, 4}));
    dialog->SetAnchor(5);
    EXPECT_EQ(shown(), (std::array{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    // The nine pictures differ from each other: no two directions look alike.
    for (int i = 0; i < 9; ++i)
        for (int j = i + 1; j < 9; ++j)
            EXPECT_NE(ImageListPixels(dialog->AnchorImage(i)), ImageListPixels(dialog->AnchorImage(j)))
                << i << " " << j;
}

TEST_F(EditorDialogsTest, TheCanvasGrowsAroundTheAnchorInTheFillColour) {
    TBitmap32 picture(3, 3, kRed);
    const auto centred =
        RunModal<std::optional<TBitmap32>>([] { return ImageCropForm; },
                                           [] {
                                               ImageCropForm->SetAnchor(5);
                                               ImageCropForm->SpinEdit1->SetValue(4); // linked: 4 x 4
                                               ImageCropForm->BitBtn1->Click();
                                           },
                                           [&] { return RunImageCropForm(main.get(), picture, kFill); });
    ASSERT_TRUE(centred);
    ASSERT_EQ(centred->Width(), 4);
    ASSERT_EQ(centred->Height(), 4);
    // Half of 4 less half of 3 is 1: the picture lies at (1, 1), the fill above and left.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(centred->Pixel(x, y), x >= 1 && y >= 1 ? kRed : kFill) << x << "," << y;

    const TBitmap32 wide(100, 50, kBlue);
    const auto corner =
        RunModal<std::optional<TBitmap32>>([] { return ImageCropForm; },
                                           [] {
                                               ImageCropForm->SetAnchor(9);
                                               ImageCropForm->cbSizeLink->SetChecked(false);
                                               ImageCropForm->SpinEdit1->SetValue(120);
                                               ImageCropForm->SpinEdit2->SetValue(60);
                                               ImageCropForm->BitBtn1->Click();
                                           },
                                           [&] { return RunImageCropForm(main.get(), wide, kFill); });
    ASSERT_TRUE(corner);
    EXPECT_EQ(corner->Pixel(19, 9), kFill);
    EXPECT_EQ(corner->Pixel(20, 10), kBlue);
    EXPECT_EQ(corner->Pixel(119, 59), kBlue);
    EXPECT_EQ(corner->Pixel(119, 9), kFill);

    const auto cancelled = RunModal<std::optional<TBitmap32>>(
        [] { return ImageCropForm; }, [] { ImageCropForm->BitBtn2->Click(); },
        [&] { return RunImageCropForm(main.get(), picture, kFill); });
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(ImageCropForm, nullptr);
}

TEST_F(EditorDialogsTest, RotateTurnsAndMirrorsThePreviewStepByStep) {
    auto dialog = CreateForm<TImageRotateDialog>(main.get());
    const TBitmap32 picture = Row({kRed, kGreen, kBlue});
    dialog->SetPicture(picture);
    // Clockwise: the left end of the row comes to the top.
    dialog->SpeedButton02->Click();
    ASSERT_EQ(dialog->Image32->Bitmap().Width(), 1);
    ASSERT_EQ(dialog->Image32->Bitmap().Height(), 3);
    EXPECT_EQ(dialog->Image32->Bitmap().Pixel(0, 0), kRed);
    EXPECT_EQ(dialog->Image32->Bitmap().Pixel(0, 2), kBlue);
    dialog->SpeedButton05->Click(); // upside down
    EXPECT_EQ(dialog->Image32->Bitmap().Pixel(0, 0), kBlue);
    dialog->SpeedButton05->Click();
    dialog->SpeedButton01->Click(); // and back
    EXPECT_EQ(dialog->Image32->Bitmap(), picture);
    dialog->SpeedButton04->Click();
    EXPECT_EQ(dialog->Image32->Bitmap(), Row({kBlue, kGreen, kRed}));
    // Four counter-clockwise turns change nothing.
    for (int i = 0; i < 4; ++i)
        dialog->SpeedButton01->Click();
    EXPECT_EQ(dialog->Image32->Bitmap(), Row({kBlue, kGreen, kRed}));
}

TEST_F(EditorDialogsTest, RotateGivesTheTurnedPictureOnOkAndNothingOnCancel) {
    const TBitmap32 picture = Row({kRed, kGreen, kBlue});
    // Two quarter turns are half a turn: the row reversed.
    const auto half =
        RunModal<std::optional<TBitmap32>>([] { return ImageRotateDialog; },
                                           [] {
                                               ImageRotateDialog->SpeedButton02->Click();
                                               ImageRotateDialog->SpeedButton02->Click();
                                               ImageRotateDialog->btnOK->Click();
                                           },
                                           [&] { return RunImageRotateDialog(main.get(), picture); });
    ASSERT_TRUE(half);
    EXPECT_EQ(*half, Row({kBlue, kGreen, kRed}));

    const auto threeQuarters =
        RunModal<std::optional<TBitmap32>>([] { return ImageRotateDialog; },
                                           [] {
                                               for (int i = 0; i < 3; ++i)
                                                   ImageRotateDialog->SpeedButton02->Click();
                                               ImageRotateDialog->btnOK->Click();
                                           },
                                           [&] { return RunImageRotateDialog(main.get(), picture); });
    ASSERT_TRUE(threeQuarters);
    ASSERT_EQ(threeQuarters->Height(), 3);
    EXPECT_EQ(threeQuarters->Pixel(0, 0), kBlue); // 270 clockwise is 90 counter-clockwise

    const auto cancelled =
        RunModal<std::optional<TBitmap32>>([] { return ImageRotateDialog; },
                                           [] {
                                               ImageRotateDialog->SpeedButton04->Click();
                                               // Esc cancels, as the Cancel button does.
                                               const HWND button = ImageRotateDialog->btnOK->Handle();
                                               SetFocus(button);
                                               PostMessageW(button, WM_KEYDOWN, VK_ESCAPE, 0);
                                           },
                                           [&] { return RunImageRotateDialog(main.get(), picture); });
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(ImageRotateDialog, nullptr);
}

TEST_F(EditorDialogsTest, TheDialogsTakeTheStoredLanguageWhenCreated) {
    const std::string korean = ShippedLanguageBytes(L"Korea.dat");
    ASSERT_FALSE(korean.empty());
    const TScopedLanguageFile file(L"Korea.dat", korean);
    main->JvFormStorage1.SetStoredValue(SettingName::kLanguage, std::wstring(L"Korea"));
    auto resize = CreateForm<TImageResizeForm>(main.get());
    EXPECT_EQ(resize->Caption(), L"\uC774\uBBF8\uC9C0 \uD06C\uAE30 \uC870\uC815");
    EXPECT_EQ(resize->btnOK->Caption(), L"\uD655\uC778");
    auto rotate = CreateForm<TImageRotateDialog>(main.get());
    EXPECT_EQ(rotate->btnCancel->Caption(), L"\uCDE8\uC18C");
    EXPECT_EQ(rotate->SpeedButton04->Hint(), L"\uC88C\uC6B0\uB85C \uB4A4\uC9D1\uAE30");
    // The refusal of a size box comes from the language file too, naming the box as the
    // dialog shows it.
    main->LoadMessages();
    std::vector<std::wstring> said;
    MessageDlgHook = [&](const std::wstring& m, TMsgDlgType, TMsgDlgButtons) {
        said.push_back(m);
        return mrOk;
    };
    auto canvas = CreateForm<TImageCropForm>(main.get());
    for (TImageSizeForm* dialog :
         {static_cast<TImageSizeForm*>(resize.get()), static_cast<TImageSizeForm*>(canvas.get())}) {
        dialog->LoadSize(40, 30);
        dialog->SpinEdit1->SetCaption(L"");
        dialog->Show();
        (dialog == resize.get() ? static_cast<TButton*>(resize->btnOK) : canvas->BitBtn1)->Click();
        EXPECT_EQ(dialog->ModalResult, mrNone);
    }
    const std::wstring refusal =
        L"\u201C\uB108\uBE44\u201D \uCE78\uC5D0\uB294 1\uBD80\uD130 " +
        std::to_wstring(resize->SpinEdit1->MaxValue()) +
        L"\uAE4C\uC9C0\uC758 \uC815\uC218\uB97C \uB123\uC5B4\uC57C \uD569\uB2C8\uB2E4.";
    EXPECT_EQ(said, (std::vector<std::wstring>{refusal, refusal}));
    MessageDlgHook = nullptr;
    main->JvFormStorage1.SetStoredValue(SettingName::kLanguage, std::wstring(L"English"));
    auto effect = CreateForm<TImageEffectDialog>(main.get());
    EXPECT_EQ(effect->BitBtn1->Caption(), L"Cancel");
}
