// The control capture of the real program over a browser page view in another process:
// with the auto-scroll switch on the whole page is written, with it off only the view.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>
#include <memory>
#include <optional>

#include "E2eSupport.h"
#include "core/Bitmap32.h"
#include "forms/Handles.h"
#include "forms/ImageCodecs.h"
#include "tests/support/FakeWebView.h"
#include "tests/support/PickerChecks.h"
#include "tests/support/PickerDriver.h"

using namespace e2e;
using namespace picker_checks;
using picker_driver::TPickEnd;
using picker_driver::TPickerDriver;

namespace {

class WebPageCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        DeleteRegTree(kSettingsKey);
        output = folder.Path() + L"shots";
        WriteRegDword(kSettingsKey, L"OutputType", 2);
        WriteRegString(kSettingsKey, L"OutputFolder", output);
        WriteRegDword(kSettingsKey, L"SaveImageType", 0);
        WriteRegDword(kSettingsKey, L"CaptureDelay", 50);
        WriteRegDword(kSettingsKey, L"ScrollDelay", 20);
        WriteRegString(kSettingsKey, L"isSound", L"FALSE");
        WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
    }
    void TearDown() override {
        if (view && viewWindow)
            PostMessageW(viewWindow, WM_CLOSE, 0, 0);
        DeleteRegTree(kSettingsKey);
        DeleteRegTree(kButtonKey);
        if (comReady)
            CoUninitialize();
    }

    // The page view: 200 x 100 with a body 183 wide, 350 rows high, at the top.
    bool ShowView() {
        const std::wstring tag = std::to_wstring(GetCurrentProcessId());
        const std::wstring title = L"Fake page e2e " + tag;
        const std::wstring event = L"TolvexE2eWebView-" + tag;
        ready.Reset(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
        view = std::make_unique<TProcess>(EnvPath("TOLVEX_HELPERS_DIR") + L"\\FakeWebView.exe",
                                          L"view \"" + title + L"\" " + event + L" 200 100 183 100 350 0");
        if (WaitForSingleObject(ready.Get(), deadlines::kStateMs) != WAIT_OBJECT_0)
            return false;
        viewWindow = FindWindowW(fake_web::kViewClass, title.c_str());
        return viewWindow != nullptr;
    }

    // Starts the program with the switch as given, picks the view, and reads the picture.
    std::optional<TBitmap32> CaptureView(bool autoScroll) {
        WriteRegString(kSettingsKey, L"acCaptureAutoScroll_Checked", autoScroll ? L"TRUE" : L"FALSE");
        TProcess program(folder.Exe());
        const HWND main = MainWindowOf(program.Id());
        if (!main || !WaitFor([&] { return FileExists(folder.Path() + L"tvl.exe"); }) ||
            !WaitForStartUp(main))
            return std::nullopt;
        RECT viewRect;
        GetWindowRect(viewWindow, &viewRect);
        picker_driver::PressCtrlShift(VK_F1);
        const auto seen =
            TPickerDriver(program.Id(), CursorForProbe(CenterOf(viewRect)), viewRect, TPickEnd::LeftClick)
                .Join();
        EXPECT_TRUE(seen.Framed);
        std::optional<TBitmap32> image;
        WaitFor([&] {
            TBitmap32 read;
            std::wstring error;
            if (!LoadImageFile(output + L"\\Capture_1.bmp", read, error))
                return false;
            image = std::move(read);
            return true;
        });
        EXPECT_TRUE(ExitProgram(program, main));
        DeleteFileW((output + L"\\Capture_1.bmp").c_str());
        return image;
    }

    bool comReady = false;
    TProgramFolder folder;
    std::wstring output;
    std::unique_ptr<TProcess> view;
    HWND viewWindow = nullptr;
    TKernelHandle ready;
};

} // namespace

TEST_F(WebPageCaptureTest, WithTheSwitchOnTheWholePageIsWrittenAndWithItOffOnlyTheView) {
    ASSERT_TRUE(ShowView());
    const auto page = CaptureView(true);
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(page->Width(), 183);
    EXPECT_EQ(page->Height(), 350);
    // Every row of the page, top to bottom, in its own colour.
    for (int y : {0, 99, 100, 249, 349})
        EXPECT_EQ(page->Pixel(5, y) & 0xFFFFFFu, fake_web::RowColour(0, y)) << "row " << y;

    const auto shown = CaptureView(false);
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->Width(), 200);
    EXPECT_EQ(shown->Height(), 100);
}
