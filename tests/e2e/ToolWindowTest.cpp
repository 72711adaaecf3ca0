// The real program's tool window: docked into the main window at start-up with the stored
// colours, which the real exit writes back unchanged.
#include <windows.h>

#include <gtest/gtest.h>

#include "E2eSupport.h"

using namespace e2e;

namespace {
class ToolWindowTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegTree(kSettingsKey); }
    void TearDown() override { DeleteRegTree(kSettingsKey); }
    TProgramFolder folder;
};

struct TSearch {
    const wchar_t* Caption;
    HWND Found = nullptr;
};

BOOL CALLBACK MatchCaption(HWND wnd, LPARAM lp) {
    auto* s = reinterpret_cast<TSearch*>(lp);
    wchar_t text[64] = {};
    GetWindowTextW(wnd, text, 64);
    if (lstrcmpW(text, s->Caption) != 0)
        return TRUE;
    s->Found = wnd;
    return FALSE;
}

// The descendant of a window with this caption, or null.
HWND FindDescendant(HWND root, const wchar_t* caption) {
    TSearch search{caption};
    EnumChildWindows(root, MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}
} // namespace

TEST_F(ToolWindowTest, TheToolWindowIsDockedAtStartUpAndItsStoredColoursSurviveTheExit) {
    WriteRegString(kSettingsKey, L"Language", L"English");
    WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
    WriteRegDword(kSettingsKey, L"ForgColor", 0x0000FF);
    WriteRegDword(kSettingsKey, L"HistoryColor2", 0x00FF00);
    TProcess program(folder.Exe());
    const HWND main = MainWindowOf(program.Id());
    ASSERT_TRUE(main);
    HWND tool = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (tool = FindDescendant(main, L"Tool Window")) != nullptr; }));
    // Found as soon as it is made; shown and docked at its width by the start-up timer.
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(tool) != FALSE; }));
    RECT r{};
    EXPECT_TRUE(WaitFor([&] { return GetWindowRect(tool, &r) && r.right - r.left == 190; }));
    EXPECT_EQ(r.right - r.left, 190);
    ASSERT_TRUE(ExitProgram(program, main));
    const auto pen = ReadRegValue(kSettingsKey, L"ForgColor");
    ASSERT_TRUE(pen.has_value());
    EXPECT_EQ(pen->Number, 0x0000FFu);
    const auto history = ReadRegValue(kSettingsKey, L"HistoryColor2");
    ASSERT_TRUE(history.has_value());
    EXPECT_EQ(history->Number, 0x00FF00u);
}
