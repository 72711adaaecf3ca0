// The real program's control and window captures, started by their global hotkeys and
// picked with the mouse over a dialog of another program, saved as numbered files.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include "E2eSupport.h"
#include "core/Bitmap32.h"
#include "forms/ImageCodecs.h"
#include "tests/support/PickerChecks.h"
#include "tests/support/PickerDriver.h"
#include "tests/support/PickerTargetLayout.h"

using namespace e2e;
using namespace picker_checks;
using picker_driver::TPickEnd;
using picker_driver::TPickerDriver;

namespace {

// The pointer position that puts the picker's probe point at the middle of a rectangle.
POINT PointerOver(const RECT& r) {
    return CursorForProbe(CenterOf(r));
}

class PickerCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Reading PNG files goes through the system's imaging components.
        comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        DeleteRegTree(kSettingsKey);
        output = TempFolder() + L"tolvex-e2e-picker-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(output.c_str(), nullptr);
        ClearOutput();
        WriteRegDword(kSettingsKey, L"OutputType", 2);
        WriteRegString(kSettingsKey, L"OutputFolder", output);
        WriteRegDword(kSettingsKey, L"CaptureDelay", 50);
        WriteRegString(kSettingsKey, L"isSound", L"FALSE");
        WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
    }
    void TearDown() override {
        ClearOutput();
        RemoveDirectoryW(output.c_str());
        DeleteRegTree(kSettingsKey);
        DeleteRegTree(kButtonKey);
        if (comReady)
            CoUninitialize();
    }

    // Shows the dialog to pick from, then starts the program and waits for its start-up
    // work (the hotkeys are then registered). The dialog comes first: a picker that a
    // start-up capture opens must not end up below it.
    bool Start(int saveImageType, const std::wstring& args = {}) {
        WriteRegDword(kSettingsKey, L"SaveImageType", static_cast<DWORD>(saveImageType));
        target = std::make_unique<TProcess>(EnvPath("TOLVEX_HELPERS_DIR") + L"\\PickerTarget.exe", L"600");
        WaitFor([&] {
            dialog = FindWindowW(picker_target::kClassName, picker_target::kTitle);
            return dialog && IsWindowVisible(dialog);
        });
        program = std::make_unique<TProcess>(folder.Exe(), args);
        mainWindow = MainWindowOf(program->Id());
        if (!mainWindow || !WaitFor([&] { return FileExists(folder.Path() + L"tvl.exe"); }) ||
            !WaitForStartUp(mainWindow))
            return false;
        button = dialog ? GetDlgItem(dialog, picker_target::kButtonId) : nullptr;
        return button != nullptr;
    }
    void Stop() {
        if (program && mainWindow) {
            EXPECT_TRUE(ExitProgram(*program, mainWindow));
        }
        if (target)
            target->Kill();
    }

    std::vector<std::wstring> OutputFiles() const { return picker_checks::FilesIn(output); }
    void ClearOutput() {
        for (const std::wstring& name : OutputFiles())
            DeleteFileW((output + name).c_str());
    }
    // The picture saved under the name, once it is there and complete.
    std::optional<TBitmap32> SavedPicture(const std::wstring& name) const {
        std::optional<TBitmap32> image;
        WaitFor([&] {
            TBitmap32 read;
            std::wstring error;
            if (!LoadImageFile(output + name, read, error))
                return false;
            image = std::move(read);
            return true;
        });
        return image;
    }

    bool comReady = false;
    TProgramFolder folder;
    std::wstring output;
    std::unique_ptr<TProcess> program;
    std::unique_ptr<TProcess> target;
    HWND mainWindow = nullptr;
    HWND dialog = nullptr;
    HWND button = nullptr;
};

} // namespace

TEST_F(PickerCaptureTest, TheControlHotkeyAndAClickOverTheButtonSaveThePictureOfTheButtonAlone) {
    ASSERT_TRUE(Start(0));
    const RECT buttonRect = WindowRectOf(button);
    picker_driver::PressCtrlShift(VK_F1);
    const auto seen =
        TPickerDriver(program->Id(), PointerOver(buttonRect), buttonRect, TPickEnd::LeftClick, 0x00FF00)
            .Join();
    EXPECT_TRUE(seen.Framed);
    EXPECT_EQ(seen.RingColor, static_cast<COLORREF>(0x00FF00));

    const auto image = SavedPicture(L"Capture_1.bmp");
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->Width(), buttonRect.right - buttonRect.left);
    ASSERT_EQ(image->Height(), buttonRect.bottom - buttonRect.top);
    // The arrow stood in the middle of the button and the ring on its edge: neither shows.
    EXPECT_TRUE(AllPixelsAre(*image, {0, 0, image->Width(), image->Height()}, picker_target::kButtonColor));
    Stop();
}

TEST_F(PickerCaptureTest, TheWindowHotkeySavesTheWholeDialogAndEscOrTheRightButtonSaveNothing) {
    ASSERT_TRUE(Start(3));
    const RECT dialogRect = WindowRectOf(dialog);
    const RECT buttonRect = WindowRectOf(button);

    // Cancelled picks first: nothing is written, and the next capture still starts.
    for (const TPickEnd end : {TPickEnd::Escape, TPickEnd::RightClick}) {
        picker_driver::PressCtrlShift(VK_F2);
        const auto seen = TPickerDriver(program->Id(), PointerOver(buttonRect), dialogRect, end).Join();
        EXPECT_TRUE(seen.Framed);
        EXPECT_TRUE(seen.PickerGone);
    }
    QuietPeriod();
    EXPECT_TRUE(OutputFiles().empty());

    picker_driver::PressCtrlShift(VK_F2);
    const auto seen =
        TPickerDriver(program->Id(), PointerOver(buttonRect), dialogRect, TPickEnd::LeftClick, 0x0000FF)
            .Join();
    EXPECT_TRUE(seen.Framed);
    EXPECT_EQ(seen.RingColor, static_cast<COLORREF>(0x0000FF));
    const auto image = SavedPicture(L"Capture_1.png");
    ASSERT_TRUE(image.has_value()) << testing::PrintToString(OutputFiles());
    ASSERT_EQ(image->Width(), dialogRect.right - dialogRect.left);
    ASSERT_EQ(image->Height(), dialogRect.bottom - dialogRect.top);
    const RECT buttonInPicture{buttonRect.left - dialogRect.left, buttonRect.top - dialogRect.top,
                               buttonRect.right - dialogRect.left, buttonRect.bottom - dialogRect.top};
    EXPECT_TRUE(AllPixelsAre(*image, buttonInPicture, picker_target::kButtonColor));
    for (const POINT p : {POINT{0, 0}, POINT{1, 150}, POINT{image->Width() - 1, image->Height() - 2}})
        EXPECT_NE(WinColor(image->Pixel(p.x, p.y)), 0x0000FF) << p.x << ", " << p.y;
    EXPECT_EQ(OutputFiles().size(), 1u);
    Stop();
}

TEST_F(PickerCaptureTest, AStartWithControlASecondStartWithControlAndTheLauncherEachRunAControlCapture) {
    // With the launcher present, the argument starts a control capture right after start-up.
    WriteTextFile(folder.Path() + L"tvl.exe", "launcher");
    ASSERT_TRUE(Start(0, L"Control"));
    const RECT buttonRect = WindowRectOf(button);
    auto seen = TPickerDriver(program->Id(), PointerOver(buttonRect), buttonRect, TPickEnd::LeftClick).Join();
    EXPECT_TRUE(seen.Framed);
    auto image = SavedPicture(L"Capture_1.bmp");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->Width(), buttonRect.right - buttonRect.left);

    // A second start hands the argument over and ends; the running program picks.
    TProcess second(folder.Exe(), L"Control");
    EXPECT_TRUE(second.WaitExit().has_value());
    seen = TPickerDriver(program->Id(), PointerOver(buttonRect), buttonRect, TPickEnd::LeftClick).Join();
    EXPECT_TRUE(seen.Framed);
    image = SavedPicture(L"Capture_2.bmp");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->Height(), buttonRect.bottom - buttonRect.top);

    // The browser button's road: the launcher, run without an argument, starts the program
    // with "Control", which the running one takes over and picks.
    const std::wstring launcher = folder.Path() + L"tvl.exe";
    ASSERT_TRUE(CopyFileW((EnvPath("TOLVEX_HELPERS_DIR") + L"\\..\\launcher\\tvl.exe").c_str(),
                          launcher.c_str(), FALSE));
    TProcess click(launcher);
    EXPECT_TRUE(click.WaitExit().has_value());
    seen = TPickerDriver(program->Id(), PointerOver(buttonRect), buttonRect, TPickEnd::LeftClick).Join();
    EXPECT_TRUE(seen.Framed);
    image = SavedPicture(L"Capture_3.bmp");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->Width(), buttonRect.right - buttonRect.left);
    Stop();
}
