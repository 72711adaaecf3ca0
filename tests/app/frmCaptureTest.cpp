// The window picker over a dialog of another process (the PickerTarget helper): which
// window each capture mode frames and picks, the frame's colour, the cursor over a browser
// view, how a pick ends; and the control and window captures of the main window that copy
// the picked window, including a window that is gone before the copy.
#include "capture/frmCapture.h"

#include <windows.h>

#include <objbase.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/CaptureHost.h"
#include "capture/frmTarget.h"
#include "core/Bitmap32.h"
#include "core/StoredValues.h"
#include "core/WindowClimb.h"
#include "forms/Actions.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/ImageCodecs.h"
#include "forms/Timer.h"
#include "shell/frmMain.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/support/FakeWebView.h"
#include "tests/support/HelperProcess.h"
#include "tests/support/PickerChecks.h"
#include "tests/support/PickerDriver.h"
#include "tests/support/PickerTargetLayout.h"

using namespace picker_checks;
using picker_driver::TPickEnd;
using picker_driver::TPickerDriver;

namespace {

class TTestHost : public ICaptureHost {
public:
    TCaptureMode Mode = TCaptureMode::Control;
    bool AutoScroll = true;
    bool Fails = false; // the main window cannot answer
    HCURSOR CaptureCursor = LoadCursorW(nullptr, IDC_CROSS);
    HCURSOR ScrollCursor = LoadCursorW(nullptr, IDC_SIZEALL);
    TCaptureMode CurrentCaptureMode() const override {
        if (Fails)
            throw Exception(L"no capture mode");
        return Mode;
    }
    bool AutoScrollChecked() const override { return AutoScroll; }
    HCURSOR PickerCursor(bool scroll) const override { return scroll ? ScrollCursor : CaptureCursor; }
};

// A top-level window of this test program, painted in one colour. The vanishing kind, once armed, destroys
// itself as soon as it is activated, as a window that closes at the moment the capture brings it to the
// front.
class TOwnWindow {
public:
    TOwnWindow(const wchar_t* className, RECT bounds, bool vanishOnActivate = false) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = vanishOnActivate ? VanishingProc : DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = className;
        RegisterClassExW(&wc);
        wnd_ =
            CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, className, L"", WS_POPUP | WS_VISIBLE,
                            bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    TOwnWindow(const TOwnWindow&) = delete;
    TOwnWindow& operator=(const TOwnWindow&) = delete;
    ~TOwnWindow() {
        if (IsWindow(wnd_))
            DestroyWindow(wnd_);
    }
    HWND Handle() const { return wnd_; }
    static inline bool VanishArmed = false;

private:
    static LRESULT CALLBACK VanishingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && VanishArmed) {
            VanishArmed = false;
            DestroyWindow(wnd);
            return 0;
        }
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
    HWND wnd_ = nullptr;
};

// A browser view of 200 x 150 at (700, 500) whose page is 350 rows long and 183 wide.
fake_web::TPageLayout ViewLayout() {
    fake_web::TPageLayout layout;
    layout.Width = 200;
    layout.Height = 150;
    layout.ClientWidth = 183;
    layout.Body = {150, 350, 0, 0, false};
    return layout;
}

// Starts the helper's dialog once for all tests of the program.
class PickerTarget {
public:
    static PickerTarget& Get() {
        static PickerTarget target;
        return target;
    }
    bool Ready() const { return dialog_ && button_; }
    HWND Dialog() const { return dialog_; }
    HWND Button() const { return button_; }
    RECT DialogRect() const { return WindowRectOf(dialog_); }
    RECT ButtonRect() const { return WindowRectOf(button_); }

private:
    PickerTarget() : process_(L"\"" + helper_process::HelperExe(L"PickerTarget") + L"\" 600") {
        picker_driver::WaitUntil([&] {
            dialog_ = FindWindowW(picker_target::kClassName, picker_target::kTitle);
            return dialog_ && IsWindowVisible(dialog_);
        });
        button_ = dialog_ ? GetDlgItem(dialog_, picker_target::kButtonId) : nullptr;
    }
    helper_process::TProcess process_;
    HWND dialog_ = nullptr;
    HWND button_ = nullptr;
};

class PickerTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        ASSERT_TRUE(target.Ready()) << "the PickerTarget helper did not show its dialog";
        // Nothing of another test may stand over the dialog.
        SetWindowPos(target.Dialog(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        PumpPending();
    }
    void TearDown() override {
        picker.reset();
        // The frame's release is deferred.
        EXPECT_TRUE(PumpUntil([] { return TargetForm == nullptr; }));
        FormsTest::TearDown();
    }

    // Shows a picker (not modally) and waits until its frame lies over expected.
    bool PickerFrames(POINT probe, const RECT& expected) {
        if (!picker) {
            picker = CreateForm<TCaptureForm>(host);
            picker->Show();
        }
        return PumpUntil([&] {
            return PickerAt(CursorForProbe(probe)) && TargetForm && TargetForm->Visible() &&
                   SameRect(WindowRectOf(TargetForm->Handle()), expected);
        });
    }
    // Whether the arrow sits at the pointer, with the pointer at cursor.
    bool PickerAt(POINT cursor) const {
        return picker_driver::KeepPointerAt(cursor) && WindowRectOf(picker->Handle()).left == cursor.x - 5 &&
               WindowRectOf(picker->Handle()).top == cursor.y - 9;
    }

    PickerTarget& target = PickerTarget::Get();
    TTestHost host;
    TFormPtr<TCaptureForm> picker;
};

} // namespace

TEST_F(PickerTest, ControlModeFramesTheButtonInLimeWindowAndIconModesClimbToTheDialogInRedAndYellow) {
    const POINT overButton = CenterOf(target.ButtonRect());
    host.Mode = TCaptureMode::Control;
    ASSERT_TRUE(PickerFrames(overButton, target.ButtonRect()));
    EXPECT_EQ(picker->SelectedWindow, target.Button());
    EXPECT_EQ(picker->LastWindow, target.Button());
    EXPECT_EQ(TargetForm->Color(), 0x00FF00);
    picker.reset();

    host.Mode = TCaptureMode::Window;
    ASSERT_TRUE(PickerFrames(overButton, target.DialogRect()));
    EXPECT_EQ(picker->SelectedWindow, target.Dialog());
    EXPECT_EQ(TargetForm->Color(), 0x0000FF);
    picker.reset();

    host.Mode = TCaptureMode::Icon;
    ASSERT_TRUE(PickerFrames(overButton, target.DialogRect()));
    EXPECT_EQ(picker->SelectedWindow, target.Dialog());
    EXPECT_EQ(TargetForm->Color(), 0x00FFFF);
}

TEST_F(PickerTest, TheArrowSitsAtThePointerAndTheFrameMovesOnlyWhenTheWindowUnderThePointChanges) {
    const RECT button = target.ButtonRect();
    ASSERT_TRUE(PickerFrames({button.left + 10, button.top + 10}, button));
    const RECT arrow = WindowRectOf(picker->Handle());
    EXPECT_EQ(arrow.left, button.left + 10 + 1);
    EXPECT_EQ(arrow.top, button.top + 10 + 1);
    EXPECT_TRUE(GetWindowLongW(picker->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Hidden from outside, the frame stays hidden while the pointer moves within the
    // button: it is not placed and shown again on every tick.
    ShowWindow(TargetForm->Handle(), SW_HIDE);
    const POINT within = CursorForProbe({button.left + 40, button.top + 20});
    ASSERT_TRUE(PumpUntil([&] { return PickerAt(within); }));
    PumpQuietPeriod();
    EXPECT_FALSE(TargetForm->Visible());

    // Onto the dialog: framed anew.
    const RECT dialog = target.DialogRect();
    ASSERT_TRUE(PickerFrames({button.right + 20, button.bottom + 20}, dialog));
    EXPECT_EQ(picker->SelectedWindow, target.Dialog());
}

TEST_F(PickerTest, TheFrameRingIsNeverPickedOrFramedItself) {
    host.Mode = TCaptureMode::Control;
    const RECT button = target.ButtonRect();
    ASSERT_TRUE(PickerFrames(CenterOf(button), button));
    // The probe on the ring's left band, top band and inner corner in turn.
    for (const POINT onRing :
         {POINT{button.left, (button.top + button.bottom) / 2},
          POINT{(button.left + button.right) / 2, button.top + 1}, POINT{button.left + 1, button.top + 1}}) {
        const POINT cursor = CursorForProbe(onRing);
        ASSERT_TRUE(PumpUntil([&] { return PickerAt(cursor); }));
        PumpQuietPeriod();
        EXPECT_EQ(picker->SelectedWindow, target.Button());
        EXPECT_EQ(picker->LastWindow, target.Button());
        EXPECT_TRUE(SameRect(button, WindowRectOf(TargetForm->Handle())));
    }
}

TEST_F(PickerTest, OverABrowserViewTheScrollCursorShowsOnlyWithTheAutoScrollSwitchOn) {
    const fake_web::TFakeView view(ViewLayout(), L"", 700, 500);
    const RECT viewRect = WindowRectOf(view.Wnd());
    host.AutoScroll = true;
    ASSERT_TRUE(PickerFrames({780, 560}, viewRect));
    EXPECT_EQ(picker->Cursor(), host.ScrollCursor);
    ASSERT_TRUE(PickerFrames(CenterOf(target.ButtonRect()), target.ButtonRect()));
    EXPECT_EQ(picker->Cursor(), host.CaptureCursor);
    picker.reset();

    host.AutoScroll = false;
    ASSERT_TRUE(PickerFrames({780, 560}, viewRect));
    EXPECT_EQ(picker->Cursor(), host.CaptureCursor);
}

TEST_F(PickerTest, AFailingTickEndsThePickWithOneErrorBoxInsteadOfOneEveryTick) {
    ASSERT_TRUE(PickerFrames(CenterOf(target.ButtonRect()), target.ButtonRect()));
    host.Fails = true;
    ASSERT_TRUE(PumpUntil([&] { return !errors.empty(); }));
    PumpQuietPeriod();
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(picker->SelectedWindow, nullptr);
    EXPECT_FALSE(picker->Visible());
}

namespace {
// The main window with the settings of a capture that saves BMP files into a folder of
// its own and shows nothing; message boxes are recorded instead of shown.
class MainCaptureTest : public PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        // The page capture of a browser view talks to the view's objects.
        comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        folder = helper_process::ReportPath(L"tolvex-picker");
        folder.resize(folder.size() - 4); // no ".txt": a folder
        folder += L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        ClearFolder();
        form = CreateForm<TMainForm>();
        form->OnActivate = nullptr; // no start-up work of the real program
        auto& store = form->JvFormStorage1;
        store.SetStoredValue(SettingName::kIsBeforeHide, false);
        store.SetStoredValue(SettingName::kIsAfterVisible, false);
        store.SetStoredValue(SettingName::kIsSound, false);
        store.SetStoredValue(SettingName::kCaptureDelay, std::int32_t{0});
        store.SetStoredValue(SettingName::kOutputType, std::int32_t{2});
        store.SetStoredValue(SettingName::kSaveImageType, std::int32_t{0});
        store.SetStoredValue(SettingName::kOutputFolder, folder);
        MessageDlgHook = [this](const std::wstring& text, TMsgDlgType type, TMsgDlgButtons) {
            messages.push_back(text);
            types.push_back(type);
            return mrOk;
        };
    }
    void TearDown() override {
        MessageDlgHook = nullptr;
        form.reset();
        ClearFolder();
        RemoveDirectoryW(folder.c_str());
        if (comReady)
            CoUninitialize();
        PickerTest::TearDown();
    }

    void ClearFolder() {
        for (const std::wstring& f : Files())
            DeleteFileW((folder + f).c_str());
    }
    std::vector<std::wstring> Files() const { return picker_checks::FilesIn(folder); }
    TBitmap32 Picture(const std::wstring& name) const {
        TBitmap32 image;
        std::wstring error;
        EXPECT_TRUE(LoadImageFile(folder + name, image, error)) << testing::PrintToString(error);
        return image;
    }
    // The one picture the capture saved.
    TBitmap32 OnlyPicture() const {
        const auto files = Files();
        EXPECT_EQ(files.size(), 1u);
        return files.size() == 1 ? Picture(files[0]) : TBitmap32{};
    }
    // Runs a capture command while the driver picks at cursor.
    picker_driver::TPickSeen RunPick(TAction* command, POINT cursor, const RECT& frame, TPickEnd end,
                                     COLORREF ring = CLR_INVALID) {
        TPickerDriver driver(GetCurrentProcessId(), cursor, frame, end, ring);
        command->Execute();
        return driver.Join();
    }

    bool comReady = false;
    std::wstring folder;
    TFormPtr<TMainForm> form;
    std::vector<std::wstring> messages;
    std::vector<TMsgDlgType> types;
};

} // namespace

TEST_F(MainCaptureTest, AControlCaptureSavesThePickedButtonAloneWithoutArrowOrRing) {
    const RECT button = target.ButtonRect();
    const auto seen = RunPick(form->acCaptureControl, CursorForProbe(CenterOf(button)), button,
                              TPickEnd::LeftClick, 0x00FF00);
    EXPECT_TRUE(seen.Framed);
    EXPECT_EQ(seen.RingColor, static_cast<COLORREF>(0x00FF00));
    EXPECT_EQ(form->CaptureMode, TCaptureMode::Idle);
    EXPECT_TRUE(messages.empty()) << testing::PrintToString(messages);
    const TBitmap32 image = OnlyPicture();
    ASSERT_EQ(image.Width(), button.right - button.left);
    ASSERT_EQ(image.Height(), button.bottom - button.top);
    EXPECT_TRUE(AllPixelsAre(image, {0, 0, image.Width(), image.Height()}, picker_target::kButtonColor));
    // One monitor: the virtual desktop starts at the screen's origin.
    EXPECT_TRUE(SameRect(form->LastCaptureRect, button));
}

TEST_F(MainCaptureTest, AWindowCaptureSavesTheWholeDialogWithoutArrowOrRing) {
    const RECT dialog = target.DialogRect();
    const RECT button = target.ButtonRect();
    const auto seen = RunPick(form->acCaptureWindow, CursorForProbe(CenterOf(button)), dialog,
                              TPickEnd::LeftClick, 0x0000FF);
    EXPECT_TRUE(seen.Framed);
    EXPECT_EQ(seen.RingColor, static_cast<COLORREF>(0x0000FF));
    EXPECT_TRUE(messages.empty());
    const TBitmap32 image = OnlyPicture();
    ASSERT_EQ(image.Width(), dialog.right - dialog.left);
    ASSERT_EQ(image.Height(), dialog.bottom - dialog.top);
    // The arrow stood over the button; the ring on the dialog's outer two pixels.
    const RECT buttonInPicture{button.left - dialog.left, button.top - dialog.top, button.right - dialog.left,
                               button.bottom - dialog.top};
    EXPECT_TRUE(AllPixelsAre(image, buttonInPicture, picker_target::kButtonColor));
    for (const POINT p :
         {POINT{0, 0}, POINT{1, 150}, POINT{200, 1}, POINT{image.Width() - 1, image.Height() - 2}})
        EXPECT_NE(WinColor(image.Pixel(p.x, p.y)), 0x0000FF) << p.x << ", " << p.y;
    EXPECT_TRUE(SameRect(form->LastCaptureRect, dialog));
}

TEST_F(MainCaptureTest, EscOrTheRightButtonCaptureNothingShowNothingAndKeepTheLastArea) {
    const RECT button = target.ButtonRect();
    form->LastCaptureRect = RECT{1, 2, 3, 4};
    for (const TPickEnd end : {TPickEnd::Escape, TPickEnd::RightClick}) {
        const auto seen = RunPick(form->acCaptureControl, CursorForProbe(CenterOf(button)), button, end);
        EXPECT_TRUE(seen.Framed);
        EXPECT_TRUE(seen.PickerGone);
        EXPECT_EQ(form->CaptureMode, TCaptureMode::Idle);
    }
    EXPECT_TRUE(Files().empty());
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(SameRect(form->LastCaptureRect, RECT{1, 2, 3, 4}));
    EXPECT_EQ(CaptureForm, nullptr);
}

TEST_F(MainCaptureTest, APickedWindowThatIsGoneBeforeTheCopyFailsWithTheMessageAndSavesNothing) {
    const TOwnWindow vanishing(L"TolvexTestVanishing", {700, 200, 900, 350}, true);
    const RECT rect = WindowRectOf(vanishing.Handle());
    TOwnWindow::VanishArmed = true;
    const auto seen = RunPick(form->acCaptureWindow, CursorForProbe({800, 280}), rect, TPickEnd::LeftClick);
    EXPECT_TRUE(seen.Framed);
    EXPECT_FALSE(IsWindow(vanishing.Handle()));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], form->msgCaptureFail);
    EXPECT_EQ(messages[0], L"Capture fail!");
    EXPECT_EQ(types[0], TMsgDlgType::Error);
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(form->CaptureMode, TCaptureMode::Idle);
}

TEST_F(MainCaptureTest, TheCopyOfAWindowWithoutHandleOrAreaFailsAndDeliversNothing) {
    form->CaptureMode = TCaptureMode::Control;
    form->LastCaptureRect = RECT{1, 2, 3, 4};
    HWND gone = nullptr;
    {
        const TOwnWindow window(L"TolvexTestGone", {700, 200, 800, 300});
        gone = window.Handle();
    }
    EXPECT_FALSE(form->CaptureTargetWindow(gone));
    EXPECT_TRUE(SameRect(form->LastCaptureRect, RECT{1, 2, 3, 4}));

    const TOwnWindow empty(L"TolvexTestEmpty", {700, 200, 700, 300});
    EXPECT_FALSE(form->CaptureTargetWindow(empty.Handle()));
    EXPECT_TRUE(Files().empty());
    form->CaptureMode = TCaptureMode::Idle;
}

TEST_F(MainCaptureTest, ABrowserViewGivesItsWholePageOnlyInAControlCaptureWithTheSwitchOn) {
    fake_web::TFakeView view(ViewLayout(), L"", 700, 500);
    ASSERT_TRUE(PumpUntil([&] { return view.Shown(); }));
    form->CaptureMode = TCaptureMode::Control;
    form->acCaptureAutoScroll->SetChecked(true);
    EXPECT_TRUE(form->CaptureTargetWindow(view.Wnd()));
    // The last area is the view on the screen, not the page.
    EXPECT_TRUE(SameRect(form->LastCaptureRect, RECT{700, 500, 900, 650}));
    form->acCaptureAutoScroll->SetChecked(false);
    EXPECT_TRUE(form->CaptureTargetWindow(view.Wnd()));
    form->CaptureMode = TCaptureMode::Window;
    form->acCaptureAutoScroll->SetChecked(true);
    EXPECT_TRUE(form->CaptureTargetWindow(view.Wnd()));
    const TSize expected[] = {{183, 350}, {200, 150}, {200, 150}};
    for (int i = 0; i < 3; ++i) {
        const TBitmap32 image = Picture(L"Capture_" + std::to_wstring(i + 1) + L".bmp");
        EXPECT_EQ(image.Width(), expected[i].Width) << i;
        EXPECT_EQ(image.Height(), expected[i].Height) << i;
    }

    // A page that cannot be read is a failure, with the area recorded all the same.
    fake_web::TPageLayout unreadable = ViewLayout();
    unreadable.NoBody = true;
    fake_web::TFakeView broken(unreadable, L"", 650, 450);
    ASSERT_TRUE(PumpUntil([&] { return broken.Shown(); }));
    form->CaptureMode = TCaptureMode::Control;
    EXPECT_FALSE(form->CaptureTargetWindow(broken.Wnd()));
    EXPECT_TRUE(SameRect(form->LastCaptureRect, RECT{650, 450, 850, 600}));
    EXPECT_EQ(Files().size(), 3u);
    form->CaptureMode = TCaptureMode::Idle;
}
