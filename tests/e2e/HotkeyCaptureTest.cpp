// Whole-screen captures of the real program, started by its global hotkeys.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include "E2eSupport.h"
#include "core/Bitmap32.h"
#include "forms/ImageCodecs.h"
#include "tests/support/PickerDriver.h"

using namespace e2e;

namespace {
// Global hotkeys fire whatever has the focus.
using picker_driver::PressCtrlShift;

class HotkeyCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        DeleteRegTree(kSettingsKey);
        output = folder.Path() + L"shots";
        WriteRegDword(kSettingsKey, L"OutputType", 2);
        WriteRegString(kSettingsKey, L"OutputFolder", output);
        WriteRegDword(kSettingsKey, L"SaveImageType", 3);
        WriteRegDword(kSettingsKey, L"CaptureDelay", 150);
        WriteRegString(kSettingsKey, L"isSound", L"FALSE");
    }
    void TearDown() override {
        DeleteRegTree(kSettingsKey);
        DeleteRegTree(kButtonKey);
        CoUninitialize();
    }
    // The hotkeys are registered at the first activation.
    HWND Start(TProcess& p) { return MainWindowReadyForHotkeys(p); }
    std::wstring Shot(int n, const wchar_t* ext = L"png") const {
        return output + L"\\Capture_" + std::to_wstring(n) + L"." + ext;
    }
    static TBitmap32 Load(const std::wstring& path) {
        TBitmap32 image;
        std::wstring error;
        EXPECT_TRUE(LoadImageFile(path, image, error)) << std::string(error.begin(), error.end());
        return image;
    }
    TProgramFolder folder;
    std::wstring output;
};
} // namespace

TEST_F(HotkeyCaptureTest, FullScreenWritesNumberedPicturesOfTheScreensSize) {
    TProcess p(folder.Exe());
    const HWND main = Start(p);
    ASSERT_TRUE(main);
    PressCtrlShift(VK_F5);
    ASSERT_TRUE(WaitFor([&] { return FileExists(Shot(1)); }));
    PressCtrlShift(VK_F5);
    ASSERT_TRUE(WaitFor([&] { return FileExists(Shot(2)); }));
    const TBitmap32 image = Load(Shot(1));
    EXPECT_EQ(image.Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(image.Height(), GetSystemMetrics(SM_CYSCREEN));
    // The main window comes back after each capture.
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_TRUE(ExitProgram(p, main));
}

TEST_F(HotkeyCaptureTest, RepeatLastCaptureDoesNothingBeforeAnyCaptureAndTakesTheSameAreaAfterOne) {
    WriteRegDword(kSettingsKey, L"SaveImageType", 0);
    TProcess p(folder.Exe());
    const HWND main = Start(p);
    ASSERT_TRUE(main);
    PressCtrlShift(VK_F9);
    QuietPeriod();
    EXPECT_FALSE(FileExists(Shot(1, L"bmp")));

    PressCtrlShift(VK_F5);
    ASSERT_TRUE(WaitFor([&] { return FileExists(Shot(1, L"bmp")); }));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    PressCtrlShift(VK_F9);
    ASSERT_TRUE(WaitFor([&] { return FileExists(Shot(2, L"bmp")); }));
    const TBitmap32 first = Load(Shot(1, L"bmp"));
    const TBitmap32 again = Load(Shot(2, L"bmp"));
    EXPECT_EQ(again.Width(), first.Width());
    EXPECT_EQ(again.Height(), first.Height());
    EXPECT_TRUE(ExitProgram(p, main));
}

TEST_F(HotkeyCaptureTest, HideAndShowHotkeysMoveTheMainWindowToTheTrayAndBack) {
    TProcess p(folder.Exe());
    const HWND main = Start(p);
    ASSERT_TRUE(main);
    PressCtrlShift(VK_F12);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    PressCtrlShift(VK_F11);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_TRUE(ExitProgram(p, main));
}

TEST_F(HotkeyCaptureTest, WithClipboardOutputTheClipboardReceivesABitmapOfTheScreensSize) {
    WriteRegDword(kSettingsKey, L"OutputType", 1);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    TProcess p(folder.Exe());
    const HWND main = Start(p);
    ASSERT_TRUE(main);
    PressCtrlShift(VK_F5);
    ASSERT_TRUE(WaitFor([&] { return IsClipboardFormatAvailable(CF_BITMAP) != FALSE; }));
    ASSERT_TRUE(WaitFor([&] { return OpenClipboard(nullptr) != FALSE; }));
    BITMAP bm{};
    if (HBITMAP h = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)))
        GetObjectW(h, sizeof(bm), &bm);
    CloseClipboard();
    EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(bm.bmHeight, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(ExitProgram(p, main));
}

TEST_F(HotkeyCaptureTest, TheMainWindowIsInThePictureOnlyWhenItIsNotHiddenBefore) {
    const COLORREF area = GetSysColor(COLOR_APPWORKSPACE);
    const TColor32 areaColour = Color32(static_cast<TColor>(area));
    const auto pixelAtDocumentArea = [&](const std::wstring& file, HWND main) {
        const TBitmap32 image = Load(file);
        RECT r;
        GetWindowRect(main, &r);
        // The middle of the window lies in its empty document area.
        return image.PixelS((r.left + r.right) / 2, (r.top + r.bottom) / 2) | 0xFF000000u;
    };

    WriteRegString(kSettingsKey, L"isBeforeHide", L"FALSE");
    {
        TProcess p(folder.Exe());
        const HWND main = Start(p);
        ASSERT_TRUE(main);
        // The capture is taken once the screen shows the window's empty document area.
        RECT r;
        GetWindowRect(main, &r);
        ASSERT_TRUE(WaitFor([&] {
            return picker_driver::ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2) == area;
        }));
        PressCtrlShift(VK_F5);
        ASSERT_TRUE(WaitFor([&] { return FileExists(Shot(1)); }));
        EXPECT_EQ(pixelAtDocumentArea(Shot(1), main), areaColour);
        EXPECT_TRUE(ExitProgram(p, main));
    }
    WriteRegString(kSettingsKey, L"isBeforeHide", L"TRUE");
    WriteRegDword(kSettingsKey, L"CaptureDelay", 400);
    {
        TProcess p(folder.Exe());
        const HWND main = Start(p);
        ASSERT_TRUE(main);
        PressCtrlShift(VK_F5);
        ASSERT_TRUE(WaitFor([&] { return FileExists(Shot(2)); }));
        EXPECT_NE(pixelAtDocumentArea(Shot(2), main), areaColour);
        EXPECT_TRUE(ExitProgram(p, main));
    }
}
