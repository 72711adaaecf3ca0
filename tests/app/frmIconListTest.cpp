// The icon capture: the program file of a window's process, the "Icon List" dialog that
// lists the icons of a program file, and the command that picks a window and delivers the
// chosen icon as a 32 x 32 picture.
#include "capture/frmIconList.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "capture/frmCapture.h"
#include "capture/unitProcessInfo.h"
#include "core/StoredValues.h"
#include "forms/Actions.h"
#include "forms/Dialogs.h"
#include "forms/FilenameEdit.h"
#include "forms/Files.h"
#include "forms/Graphics.h"
#include "forms/Image.h"
#include "forms/ImageCodecs.h"
#include "forms/ListView.h"
#include "forms/StdCtrls.h"
#include "shell/frmMain.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/support/HelperProcess.h"
#include "tests/support/PickerChecks.h"
#include "tests/support/PickerDriver.h"
#include "tests/support/PickerTargetLayout.h"

namespace {
using helper_process::WinePath;

// The launcher holds two icons: MAINICON (listed first) and 101.
std::wstring LauncherExe() {
    const char* helpers = std::getenv("TOLVEX_HELPERS_DIR");
    return WinePath(helpers ? helpers : ".") + L"\\..\\launcher\\tvl.exe";
}
std::wstring SourceFile(const wchar_t* relative) {
    const char* source = std::getenv("TOLVEX_SOURCE_DIR");
    return WinePath(source ? source : ".") + L"\\" + relative;
}
// The centre pixel of the launcher's main 32 x 32 icon, opaque; its corners are transparent.
constexpr TColor32 kLauncherCentre = Color32(0x16, 0x3C, 0x8C);

bool SameFile(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

// The helper's dialog: the one other tests started, or one of our own for as long as the
// object lives. Ours is gone before the next test, which may start the helper itself and
// must not find two dialogs in one place.
class TTargetDialog {
public:
    TTargetDialog() {
        dialog_ = FindWindowW(picker_target::kClassName, picker_target::kTitle);
        if (dialog_)
            return;
        own_ = std::make_unique<helper_process::TProcess>(L"\"" + helper_process::HelperExe(L"PickerTarget") +
                                                          L"\" 600");
        picker_driver::WaitUntil([&] {
            dialog_ = FindWindowW(picker_target::kClassName, picker_target::kTitle);
            return dialog_ && IsWindowVisible(dialog_);
        });
    }
    TTargetDialog(const TTargetDialog&) = delete;
    TTargetDialog& operator=(const TTargetDialog&) = delete;
    ~TTargetDialog() {
        if (!own_)
            return;
        own_.reset();
        picker_driver::WaitUntil(
            [] { return !FindWindowW(picker_target::kClassName, picker_target::kTitle); });
    }
    HWND Handle() const { return dialog_; }

private:
    std::unique_ptr<helper_process::TProcess> own_;
    HWND dialog_ = nullptr;
};

class IconListTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        dialog = CreateForm<TIconListForm>(nullptr);
    }
    // The dialog as after its first activation, which would load its FileName again when
    // a selection activates the hidden dialog.
    void Activated() { dialog->OnActivate = nullptr; }
    void TearDown() override {
        OpenDialogHook = nullptr;
        dialog.reset();
        FormsTest::TearDown();
    }
    std::vector<std::wstring> Captions() const {
        std::vector<std::wstring> captions;
        for (int i = 0; i < dialog->IconView->Count(); ++i)
            captions.push_back(dialog->IconView->ItemCaption(i));
        return captions;
    }
    // What the dialog shows at the top left, as a 32-bit picture.
    TBitmap32 Shown() const {
        TBitmap bitmap;
        bitmap.Assign(dialog->SelectImage->Picture().Bitmap());
        TBitmap32 image;
        AssignToBitmap32(bitmap, image);
        return image;
    }

    TFormPtr<TIconListForm> dialog;
};

} // namespace

TEST(ProcessInfo, TheProgramFileOfAWindowIsFoundForThisProgramAndForAnotherProcess) {
    HWND own = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(own);
    EXPECT_TRUE(SameFile(GetWindowProcessFileName(own), ProgramFileName()))
        << testing::PrintToString(GetWindowProcessFileName(own));
    DestroyWindow(own);

    const TTargetDialog target;
    HWND other = target.Handle();
    ASSERT_TRUE(other) << "the PickerTarget helper did not show its dialog";
    const std::wstring file = GetWindowProcessFileName(other);
    EXPECT_TRUE(FileExists(file)) << testing::PrintToString(file);
    EXPECT_TRUE(SameFile(ExtractFileName(file), L"PickerTarget.exe")) << testing::PrintToString(file);
    // The image-name query alone gives the whole path, as the capture uses it.
    DWORD otherId = 0;
    GetWindowThreadProcessId(other, &otherId);
    EXPECT_TRUE(SameFile(GetProcessFileNameByQuery(otherId), file));
    EXPECT_TRUE(SameFile(GetProcessFileNameByQuery(GetCurrentProcessId()), ProgramFileName()));
    EXPECT_EQ(GetProcessFileNameByQuery(3), L"");
}

TEST(ProcessInfo, TheProcessListGivesTheFileNameAndUnknownProcessesGiveNothing) {
    EXPECT_TRUE(
        SameFile(GetProcessFileNameByToolHelp(GetCurrentProcessId()), ExtractFileName(ProgramFileName())));
    // Process ids are multiples of four: 3 never names a process.
    EXPECT_EQ(GetProcessFileNameByToolHelp(3), L"");
    EXPECT_EQ(GetProcessFileNameByPsApi(3), L"");
    EXPECT_EQ(GetProcessFileName(3), L"");
    EXPECT_EQ(GetWindowProcessFileName(nullptr), L"");
    EXPECT_EQ(GetWindowProcessFileName(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x7FFFFFF0))), L"");
}

TEST(IconPictureOfIcon, MaskedPixelsStayWhiteAndColoursKeepTheirChannels) {
    // A 32 x 32 icon without alpha: transparent but for a red 4 x 2 block at (3, 5).
    const TBitmap32 pixels = [] {
        TBitmap32 p(32, 32, 0);
        for (int y = 5; y < 7; ++y)
            for (int x = 3; x < 7; ++x)
                p.SetPixel(x, y, Color32(255, 0, 0, 0));
        return p;
    }();
    BITMAPINFO info = TopDownBitmapInfo(32, 32);
    void* bits = nullptr;
    const TGdiObject color(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(color);
    std::memcpy(bits, pixels.Bits(), 32 * 32 * 4);
    std::vector<std::uint8_t> maskBits(32 * 4, 0xFF); // rows of 32 bits, 1 = transparent
    for (int y = 5; y < 7; ++y)
        maskBits[static_cast<std::size_t>(y) * 4] = 0xE1; // x 3..6 clear: 1110 0001
    const TGdiObject mask(CreateBitmap(32, 32, 1, 1, maskBits.data()));
    ICONINFO iconInfo{TRUE, 0, 0, static_cast<HBITMAP>(mask.Get()), static_cast<HBITMAP>(color.Get())};
    const TIconHandle icon(CreateIconIndirect(&iconInfo));
    ASSERT_TRUE(icon);

    TBitmap bitmap;
    IconToBitmap(icon.Get(), bitmap);
    ASSERT_EQ(bitmap.Width(), 32);
    ASSERT_EQ(bitmap.Height(), 32);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    TBitmap32 image;
    AssignToBitmap32(bitmap, image);
    EXPECT_EQ(image.Pixel(0, 0), Color32(255, 255, 255));
    EXPECT_EQ(image.Pixel(2, 5), Color32(255, 255, 255));
    EXPECT_EQ(image.Pixel(3, 5), Color32(255, 0, 0));
    EXPECT_EQ(image.Pixel(6, 6), Color32(255, 0, 0));
    EXPECT_EQ(image.Pixel(7, 6), Color32(255, 255, 255));
    EXPECT_EQ(image.Pixel(3, 7), Color32(255, 255, 255));
}

TEST_F(IconListTest, TheFirstActivationListsTheProgramsIconsAndShowsTheFirstAtOnce) {
    dialog->FileName = LauncherExe();
    dialog->Show();
    ASSERT_TRUE(PumpUntil([&] { return dialog->IconView->Count() > 0; })) << "no activation";
    EXPECT_EQ(dialog->FilenameEdit1->FileName(), LauncherExe());
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"0", L"1"}));
    EXPECT_EQ(dialog->IconView->SelectedIndex(), 0);
    ASSERT_TRUE(dialog->HasSelectedIcon());
    const TBitmap32 shown = Shown();
    ASSERT_EQ(shown.Width(), 32);
    EXPECT_EQ(shown.Pixel(0, 0), Color32(255, 255, 255));
    EXPECT_EQ(shown.Pixel(16, 16), kLauncherCentre);
    // A later activation loads nothing again.
    dialog->FilenameEdit1->SetFileName(SourceFile(L"resources\\tvl.ico"));
    EXPECT_EQ(dialog->IconView->Count(), 1);
    dialog->Hide();
    dialog->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(dialog->Handle()) != FALSE; }));
    PumpQuietPeriod();
    EXPECT_EQ(dialog->IconView->Count(), 1);
}

TEST_F(IconListTest, TypingKeepsTheListUntilTheTextNamesAFileAndADeselectionKeepsTheShownIcon) {
    Activated();
    dialog->LoadIcons(LauncherExe());
    EXPECT_EQ(dialog->IconView->Count(), 2);
    EXPECT_EQ(dialog->IconView->SelectedIndex(), -1);
    EXPECT_FALSE(dialog->HasSelectedIcon());

    dialog->FilenameEdit1->SetFileName(SourceFile(L"resources\\tvl_butto"));
    EXPECT_EQ(dialog->IconView->Count(), 2);
    dialog->FilenameEdit1->SetFileName(SourceFile(L"resources\\tvl_button.ico"));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"0"}));
    EXPECT_EQ(dialog->IconView->SelectedIndex(), 0);
    ASSERT_TRUE(dialog->HasSelectedIcon());

    const TBitmap32 before = Shown();
    dialog->IconView->SetSelectedIndex(-1);
    EXPECT_TRUE(dialog->HasSelectedIcon());
    const TBitmap32 after = Shown();
    ASSERT_EQ(after.Width(), before.Width());
    EXPECT_TRUE(std::equal(before.Bits(), before.Bits() + 32 * 32, after.Bits()));
}

TEST_F(IconListTest, AFileWithoutIconsGivesAnEmptyListAndNothingToDeliver) {
    Activated();
    dialog->FilenameEdit1->SetFileName(LauncherExe());
    ASSERT_EQ(dialog->IconView->Count(), 2);
    // A text file holds no icons: the list empties, the last icon stays shown.
    dialog->FilenameEdit1->SetFileName(SourceFile(L"README.md"));
    EXPECT_EQ(dialog->IconView->Count(), 0);
    EXPECT_EQ(dialog->IconView->SelectedIndex(), -1);

    TFormPtr<TIconListForm> fresh = CreateForm<TIconListForm>(nullptr);
    fresh->OnActivate = nullptr;
    fresh->FilenameEdit1->SetFileName(SourceFile(L"README.md"));
    EXPECT_EQ(fresh->IconView->Count(), 0);
    EXPECT_FALSE(fresh->HasSelectedIcon());
}

TEST_F(IconListTest, TheBrowseButtonOffersIconFilesAndListsTheChosenIconFile) {
    Activated();
    std::wstring offeredName, offeredFilter;
    OpenDialogHook = [&](std::wstring& name, const std::wstring& filter) {
        offeredName = name;
        offeredFilter = filter;
        name = SourceFile(L"resources\\tolvex.ico");
        return true;
    };
    dialog->FilenameEdit1->SetFileName(LauncherExe());
    ASSERT_EQ(dialog->FilenameEdit1->FileName(), LauncherExe());
    dialog->FilenameEdit1->BrowseButton()->Click();
    EXPECT_EQ(offeredName, LauncherExe());
    EXPECT_NE(offeredFilter.find(L"|*.cpl;*.dll;*.drv;*.exe;*.ico;*.ocx|"), std::wstring::npos);
    EXPECT_EQ(dialog->FilenameEdit1->FileName(), SourceFile(L"resources\\tolvex.ico"));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"0"}));
}

TEST_F(IconListTest, TheListFillsWithoutAnActivationAndTypingKeepsTheFocusInTheFileBox) {
    dialog->FileName = LauncherExe();
    // Shown as the system may show it behind a program that keeps the foreground.
    if (dialog->OnShow)
        dialog->OnShow(dialog.get());
    ShowWindow(dialog->Handle(), SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return dialog->IconView->Count() > 0; }));
    EXPECT_EQ(dialog->IconView->SelectedIndex(), 0);

    const HWND box = dialog->FilenameEdit1->Handle();
    SetForegroundWindow(dialog->Handle());
    SetFocus(box);
    ASSERT_EQ(GetFocus(), box);
    dialog->FilenameEdit1->SetFileName(SourceFile(L"resources\\tvl_button.ico"));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"0"}));
    EXPECT_EQ(GetFocus(), box);
    // After the browse button the chosen file is done with: the list takes the focus.
    OpenDialogHook = [&](std::wstring& name, const std::wstring&) {
        name = LauncherExe();
        return true;
    };
    dialog->FilenameEdit1->BrowseButton()->Click();
    EXPECT_EQ(dialog->IconView->Count(), 2);
    EXPECT_EQ(GetFocus(), dialog->IconView->Handle());
}

TEST_F(IconListTest, TheDialogHasItsDesignedClientSize) {
    RECT client;
    GetClientRect(dialog->Handle(), &client);
    EXPECT_EQ(client.right, 394);
    EXPECT_EQ(client.bottom, 255);
    EXPECT_EQ(dialog->Caption(), L"Icon List");
}

namespace {
// Finds the visible "Icon List" dialog of this process.
BOOL CALLBACK FindIconDialog(HWND wnd, LPARAM lParam) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t caption[32] = {};
    GetWindowTextW(wnd, caption, 32);
    if (pid == GetCurrentProcessId() && IsWindowVisible(wnd) && lstrcmpW(caption, L"Icon List") == 0) {
        *reinterpret_cast<HWND*>(lParam) = wnd;
        return FALSE;
    }
    return TRUE;
}

// Answers the icon dialog from another thread as a user would: types a program's name
// into the file edit, waits for its icons, then presses OK or Cancel.
class TIconDialogDriver {
public:
    TIconDialogDriver(std::wstring typed, bool ok)
        : thread_([this, typed = std::move(typed), ok] { Run(typed, ok); }) {}
    TIconDialogDriver(const TIconDialogDriver&) = delete;
    TIconDialogDriver& operator=(const TIconDialogDriver&) = delete;
    ~TIconDialogDriver() { Join(); }
    void Join() {
        if (thread_.joinable())
            thread_.join();
    }
    std::atomic<bool> Seen{false};
    std::atomic<int> Listed{-1};

private:
    void Run(const std::wstring& typed, bool ok) {
        HWND dialog = nullptr;
        if (!picker_driver::WaitUntil([&] {
                dialog = nullptr;
                EnumWindows(FindIconDialog, reinterpret_cast<LPARAM>(&dialog));
                return dialog != nullptr;
            }))
            return;
        Seen = true;
        HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        HWND list = FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr);
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        picker_driver::WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; });
        Listed = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        HWND button = FindWindowExW(dialog, nullptr, L"Button", ok ? L"OK" : L"Cancel");
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
    std::thread thread_;
};

class IconCaptureTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        targetDialog = std::make_unique<TTargetDialog>();
        target = targetDialog->Handle();
        ASSERT_TRUE(target) << "the PickerTarget helper did not show its dialog";
        SetWindowPos(target, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        folder = helper_process::ReportPath(L"tolvex-icon");
        folder.resize(folder.size() - 4);
        folder += L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        ClearFolder();
        form = CreateForm<TMainForm>();
        form->OnActivate = nullptr;
        auto& store = form->JvFormStorage1;
        store.SetStoredValue(SettingName::kIsBeforeHide, false);
        store.SetStoredValue(SettingName::kIsAfterVisible, false);
        store.SetStoredValue(SettingName::kIsSound, false);
        store.SetStoredValue(SettingName::kCaptureDelay, std::int32_t{0});
        store.SetStoredValue(SettingName::kOutputType, std::int32_t{2});
        store.SetStoredValue(SettingName::kSaveImageType, std::int32_t{0});
        store.SetStoredValue(SettingName::kOutputFolder, folder);
        MessageDlgHook = [this](const std::wstring& text, TMsgDlgType, TMsgDlgButtons) {
            messages.push_back(text);
            return mrOk;
        };
    }
    void TearDown() override {
        MessageDlgHook = nullptr;
        form.reset();
        ClearFolder();
        RemoveDirectoryW(folder.c_str());
        targetDialog.reset();
        FormsTest::TearDown();
    }
    void ClearFolder() {
        for (const std::wstring& f : picker_checks::FilesIn(folder))
            DeleteFileW((folder + f).c_str());
    }
    // Runs the icon command, picking the helper's dialog, while the dialog driver answers.
    void RunIconCapture(TIconDialogDriver& answer) {
        const RECT dialogRect = picker_checks::WindowRectOf(target);
        const POINT probe{dialogRect.left + 20, dialogRect.bottom - 20};
        picker_driver::TPickerDriver driver(GetCurrentProcessId(), picker_checks::CursorForProbe(probe),
                                            dialogRect, picker_driver::TPickEnd::LeftClick, 0x00FFFF);
        form->acCaptureIcon->Execute();
        picked = driver.Join();
        answer.Join();
    }

    std::unique_ptr<TTargetDialog> targetDialog;
    HWND target = nullptr;
    std::wstring folder;
    TFormPtr<TMainForm> form;
    std::vector<std::wstring> messages;
    picker_driver::TPickSeen picked;
};
} // namespace

TEST_F(IconCaptureTest, TheChosenIconOfThePickedProgramIsDeliveredAsThirtyTwoSquareOnWhite) {
    TIconDialogDriver answer(LauncherExe(), true);
    RunIconCapture(answer);
    EXPECT_TRUE(picked.Framed);
    EXPECT_EQ(picked.RingColor, static_cast<COLORREF>(0x00FFFF)); // yellow
    EXPECT_TRUE(answer.Seen);
    EXPECT_EQ(answer.Listed.load(), 2);
    EXPECT_TRUE(messages.empty()) << testing::PrintToString(messages);
    EXPECT_EQ(form->CaptureMode, TCaptureMode::Idle);
    EXPECT_EQ(IconListForm, nullptr);
    EXPECT_EQ(CaptureForm, nullptr);
    const auto files = picker_checks::FilesIn(folder);
    ASSERT_EQ(files.size(), 1u);
    TBitmap32 image;
    std::wstring error;
    ASSERT_TRUE(LoadImageFile(folder + files[0], image, error)) << testing::PrintToString(error);
    ASSERT_EQ(image.Width(), 32);
    ASSERT_EQ(image.Height(), 32);
    EXPECT_EQ(image.Pixel(0, 0) | 0xFF000000, Color32(255, 255, 255));
    EXPECT_EQ(image.Pixel(16, 16) | 0xFF000000, kLauncherCentre);
}

TEST_F(IconCaptureTest, CancelInTheIconDialogDeliversNothingAndShowsNothing) {
    TIconDialogDriver answer(LauncherExe(), false);
    const RECT before = form->LastCaptureRect;
    RunIconCapture(answer);
    EXPECT_TRUE(answer.Seen);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(picker_checks::FilesIn(folder).empty());
    EXPECT_TRUE(picker_checks::SameRect(form->LastCaptureRect, before));
    EXPECT_EQ(IconListForm, nullptr);
}

TEST_F(IconCaptureTest, AWindowWhoseProgramFileCannotBeFoundFailsWithoutDialog) {
    EXPECT_FALSE(form->CaptureWindowIcon(nullptr));
    EXPECT_FALSE(form->CaptureWindowIcon(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x7FFFFFF0))));
    EXPECT_EQ(IconListForm, nullptr);
    EXPECT_TRUE(picker_checks::FilesIn(folder).empty());
}
