// The options dialog of the real program, opened from its tool bar: a shortcut changed
// there takes over the global hotkey at once and is stored at the exit.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "E2eSupport.h"
#include "tests/support/PickerDriver.h"

using namespace e2e;
using picker_driver::PressCtrlShift;
using picker_driver::SendKeys;

namespace {
HWND WindowWithCaption(DWORD processId, const std::wstring& caption) {
    for (HWND w : FindWindows(L"TolvexForm", processId)) {
        wchar_t text[64] = {};
        GetWindowTextW(w, text, 64);
        if (caption == text && IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

constexpr int kOptionsButton = 13; // New ... Delete, two separators, then Options
constexpr WORD kCtrlShiftF5 = (HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8 | VK_F5;
constexpr WORD kCtrlAltK = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'K';

class OptionsE2eTest : public ::testing::Test {
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
        WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
        WriteRegString(kSettingsKey, L"Language", L"English");
    }
    void TearDown() override {
        DeleteRegTree(kSettingsKey);
        DeleteRegTree(kButtonKey);
        CoUninitialize();
    }
    std::wstring Shot(int n) const { return output + L"\\Capture_" + std::to_wstring(n) + L".png"; }

    TProgramFolder folder;
    std::wstring output;
};
} // namespace

TEST_F(OptionsE2eTest, AShortcutChangedInTheOptionsTakesOverTheHotkeyAndIsStoredAtTheExit) {
    TProcess p(folder.Exe());
    const HWND main = MainWindowOf(p.Id());
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    ASSERT_TRUE(WaitForStartUp(main));
    const std::vector<HWND> bars = ToolBarsTopDown(main);
    ASSERT_FALSE(bars.empty());
    ASSERT_TRUE(ClickToolButton(p, bars.front(), kOptionsButton));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = WindowWithCaption(p.Id(), L"Option")) != nullptr; }));

    // The fifth field is Full Screen's; no hotkey works while the dialog is open.
    const std::vector<HWND> fields = ChildrenOfClass(dialog, HOTKEY_CLASSW);
    ASSERT_EQ(fields.size(), 11u);
    EXPECT_EQ(SendMessageW(fields[4], HKM_GETHOTKEY, 0, 0) & 0xFFFF, kCtrlShiftF5);
    SendMessageW(fields[4], HKM_SETHOTKEY, kCtrlAltK, 0);
    PressCtrlShift(VK_F5);
    QuietPeriod();
    EXPECT_FALSE(FileExists(Shot(1)));

    const HWND ok = ChildWithText(dialog, L"Button", L"OK");
    ASSERT_TRUE(ok);
    PostMessageW(ok, BM_CLICK, 0, 0);
    // The hotkeys come back before the dialog is destroyed.
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));

    // Only the new combination captures now.
    PressCtrlShift(VK_F5);
    QuietPeriod();
    EXPECT_FALSE(FileExists(Shot(1)));
    SendKeys({VK_CONTROL, VK_MENU, 'K'});
    EXPECT_TRUE(WaitFor([&] { return FileExists(Shot(1)); }));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_TRUE(ExitProgram(p, main));

    const auto stored = ReadRegValue(kSettingsKey, L"acCaptureScreen_ShortCut");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Number, 0xC000u | 'K');
}
