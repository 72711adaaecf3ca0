// The region capture of the real program: its hotkey opens the overlay over the whole
// desktop, a drag with the real mouse selects an area, and a file of that size is written.
#include <windows.h>

#include <objbase.h>

#include <cstdlib>
#include <gtest/gtest.h>

#include "E2eSupport.h"
#include "core/Bitmap32.h"
#include "forms/ImageCodecs.h"
#include "tests/support/PickerDriver.h"

using namespace e2e;
using picker_driver::PressCtrlShift;

namespace {
// The overlay: a topmost form of the program covering the whole virtual desktop.
HWND OverlayOf(DWORD processId) {
    for (HWND w : FindWindows(L"TolvexForm", processId)) {
        RECT r;
        if (IsWindowVisible(w) && (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) && GetWindowRect(w, &r) &&
            r.right - r.left == GetSystemMetrics(SM_CXVIRTUALSCREEN) &&
            r.bottom - r.top == GetSystemMetrics(SM_CYVIRTUALSCREEN))
            return w;
    }
    return nullptr;
}
} // namespace

TEST(RegionCaptureTest, TheRegionHotkeyAndADragWriteAPictureOfTheDraggedSize) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DeleteRegTree(kSettingsKey);
    TProgramFolder folder;
    const std::wstring output = folder.Path() + L"shots";
    WriteRegDword(kSettingsKey, L"OutputType", 2);
    WriteRegString(kSettingsKey, L"OutputFolder", output);
    WriteRegDword(kSettingsKey, L"SaveImageType", 0);
    WriteRegDword(kSettingsKey, L"CaptureDelay", 100);
    WriteRegString(kSettingsKey, L"isSound", L"FALSE");
    {
        TProcess p(folder.Exe());
        const HWND main = MainWindowOf(p.Id());
        ASSERT_TRUE(main);
        WaitFor([&] { return IsWindowVisible(main) != FALSE; });
        ASSERT_TRUE(WaitForStartUp(main));
        // Away from the corners, where the magnifier panel stands.
        MoveMouse(640, 500);
        PressCtrlShift(VK_F3);
        HWND overlay = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (overlay = OverlayOf(p.Id())) != nullptr; }));
        // The drag starts once the overlay is the window under the pointer.
        ASSERT_TRUE(WaitFor([&] { return GetAncestor(WindowFromPoint({500, 400}), GA_ROOT) == overlay; }));
        MoveMouse(500, 400);
        MoveMouse(500, 400, MOUSEEVENTF_LEFTDOWN);
        MoveMouse(560, 440);
        MoveMouse(620, 480);
        MoveMouse(620, 480, MOUSEEVENTF_LEFTUP);
        const std::wstring shot = output + L"\\Capture_1.bmp";
        ASSERT_TRUE(WaitFor([&] { return FileExists(shot); }));
        EXPECT_TRUE(WaitFor([&] { return OverlayOf(p.Id()) == nullptr; }));
        TBitmap32 image;
        std::wstring error;
        ASSERT_TRUE(LoadImageFile(shot, image, error)) << std::string(error.begin(), error.end());
        EXPECT_EQ(image.Width(), 120);
        EXPECT_EQ(image.Height(), 80);
        EXPECT_TRUE(ExitProgram(p, main));
    }
    DeleteRegTree(kSettingsKey);
    CoUninitialize();
}
