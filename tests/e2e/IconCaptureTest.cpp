// The real program's icon capture: its global hotkey, a pick over a dialog of another
// program, the "Icon List" dialog answered from outside, the chosen icon saved as a
// numbered 32 x 32 picture.
#include <windows.h>

#include <commctrl.h>

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
// The centre of the launcher's main icon, opaque; its corners are transparent.
constexpr TColor32 kLauncherCentre = Color32(0x16, 0x3C, 0x8C);

struct TIconDialogSearch {
    DWORD ProcessId;
    HWND Found = nullptr;
};
BOOL CALLBACK FindIconDialog(HWND wnd, LPARAM lParam) {
    auto* search = reinterpret_cast<TIconDialogSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t caption[32] = {};
    GetWindowTextW(wnd, caption, 32);
    if (pid == search->ProcessId && IsWindowVisible(wnd) && lstrcmpW(caption, L"Icon List") == 0) {
        search->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

class IconCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegTree(kSettingsKey);
        output = TempFolder() + L"tolvex-e2e-icon-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(output.c_str(), nullptr);
        ClearOutput();
        WriteRegDword(kSettingsKey, L"OutputType", 2);
        WriteRegString(kSettingsKey, L"OutputFolder", output);
        WriteRegDword(kSettingsKey, L"SaveImageType", 0);
        WriteRegDword(kSettingsKey, L"CaptureDelay", 50);
        WriteRegString(kSettingsKey, L"isSound", L"FALSE");
        WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
    }
    void TearDown() override {
        ClearOutput();
        RemoveDirectoryW(output.c_str());
        DeleteRegTree(kSettingsKey);
        DeleteRegTree(kButtonKey);
    }
    void ClearOutput() {
        for (const std::wstring& name : FilesIn(output))
            DeleteFileW((output + name).c_str());
    }
    std::wstring output;
};
} // namespace

TEST_F(IconCaptureTest, TheIconHotkeyPickAndOkSaveTheChosenIconOfTheTypedProgram) {
    TProcess target(EnvPath("TOLVEX_HELPERS_DIR") + L"\\PickerTarget.exe", L"600");
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        dialog = FindWindowW(picker_target::kClassName, picker_target::kTitle);
        return dialog && IsWindowVisible(dialog);
    }));
    TProgramFolder folder;
    TProcess program(folder.Exe());
    HWND mainWindow = MainWindowOf(program.Id());
    ASSERT_TRUE(mainWindow);
    // The launcher the program writes at start-up holds two icons.
    const std::wstring launcher = folder.Path() + L"tvl.exe";
    ASSERT_TRUE(WaitFor([&] { return FileExists(launcher); }));

    const RECT dialogRect = WindowRectOf(dialog);
    picker_driver::PressCtrlShift(VK_F8);
    const POINT probe{dialogRect.left + 20, dialogRect.bottom - 20};
    const auto seen =
        TPickerDriver(program.Id(), CursorForProbe(probe), dialogRect, TPickEnd::LeftClick, 0x00FFFF).Join();
    EXPECT_TRUE(seen.Framed);
    EXPECT_EQ(seen.RingColor, static_cast<COLORREF>(0x00FFFF));

    TIconDialogSearch search{program.Id()};
    ASSERT_TRUE(WaitFor([&] {
        EnumWindows(FindIconDialog, reinterpret_cast<LPARAM>(&search));
        return search.Found != nullptr;
    }));
    HWND edit = FindWindowExW(search.Found, nullptr, L"Edit", nullptr);
    HWND list = FindWindowExW(search.Found, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_TRUE(edit && list);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(launcher.c_str()));
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }));
    HWND ok = FindWindowExW(search.Found, nullptr, L"Button", L"OK");
    PostMessageW(search.Found, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ok), BN_CLICKED),
                 reinterpret_cast<LPARAM>(ok));

    TBitmap32 image;
    ASSERT_TRUE(WaitFor([&] {
        std::wstring error;
        return LoadImageFile(output + L"Capture_1.bmp", image, error);
    })) << testing::PrintToString(FilesIn(output));
    ASSERT_EQ(image.Width(), 32);
    ASSERT_EQ(image.Height(), 32);
    EXPECT_EQ(image.Pixel(0, 0) | 0xFF000000, Color32(255, 255, 255));
    EXPECT_EQ(image.Pixel(16, 16) | 0xFF000000, kLauncherCentre);
    EXPECT_TRUE(ExitProgram(program, mainWindow));
    target.Kill();
}
