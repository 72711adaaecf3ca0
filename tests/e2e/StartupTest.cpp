// The real program's start-up, single instance, settings back ends, launcher and exit.
#include <windows.h>

#include <gtest/gtest.h>
#include <sstream>
#include <utility>

#include "E2eSupport.h"
#include "core/StoredValues.h"

using namespace e2e;

namespace {
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegTree(kSettingsKey);
        DeleteRegTree(kButtonKey);
    }
    void TearDown() override {
        DeleteRegTree(kSettingsKey);
        DeleteRegTree(kButtonKey);
    }
    // Starts the program and waits for its main window (and for the start-up timer, which
    // writes the launcher on a first start).
    HWND Start(TProcess& p) {
        HWND w = MainWindowOf(p.Id());
        if (w)
            WaitFor([&] { return FileExists(folder.Path() + L"tvl.exe"); });
        return w;
    }
    TProgramFolder folder;
};

std::vector<std::string> IniKeys(const std::string& text, std::string& section) {
    std::vector<std::string> keys;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 2 && line.front() == '[')
            section = line;
        else if (const auto eq = line.find('='); eq != std::string::npos)
            keys.push_back(line.substr(0, eq));
    }
    return keys;
}
} // namespace

TEST_F(StartupTest, ASecondStartNeverOpensASecondWindowAndShowsTheHiddenOneAgain) {
    TProcess first(folder.Exe());
    const HWND main = Start(first);
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));

    // The close box only hides the window to the tray.
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    EXPECT_TRUE(first.Running());

    TProcess second(folder.Exe());
    const auto code = second.WaitExit();
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_EQ(FindWindows(L"TolvexForm").size(), 1u);

    // Another argument does nothing visible.
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    TProcess third(folder.Exe(), L"Anything");
    ASSERT_TRUE(third.WaitExit().has_value());
    QuietPeriod();
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(ExitProgram(first, main));
}

TEST_F(StartupTest, AHandOverWithoutArgumentKeepsTheWindowHiddenWhenShowingAfterCapturesIsOff) {
    WriteRegString(kSettingsKey, L"isAfterVisible", L"FALSE");
    TProcess first(folder.Exe());
    const HWND main = Start(first);
    ASSERT_TRUE(main);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    TProcess second(folder.Exe());
    ASSERT_TRUE(second.WaitExit().has_value());
    QuietPeriod();
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(ExitProgram(first, main));
}

TEST_F(StartupTest, WithAnIniFileTheSettingsGoThereInTheSaveOrderAndNotIntoTheRegistry) {
    WriteTextFile(folder.Path() + L"Tolvex.ini", "");
    TProcess p(folder.Exe());
    const HWND main = Start(p);
    ASSERT_TRUE(main);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !ReadTextFile(folder.Path() + L"Tolvex.ini").empty(); }));

    std::string section;
    const auto keys = IniKeys(ReadTextFile(folder.Path() + L"Tolvex.ini"), section);
    EXPECT_EQ(section, "[Tolvex]");
    const auto expected = SaveOrderKeys(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    ASSERT_EQ(keys.size(), expected.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(std::wstring(keys[i].begin(), keys[i].end()), expected[i]) << "key " << i;
    EXPECT_TRUE(ExitProgram(p, main));
    EXPECT_FALSE(RegKeyExists(kSettingsKey));
    // The first start's browser button is still registered, by its own key.
    EXPECT_TRUE(RegKeyExists(kButtonKey));
}

TEST_F(StartupTest, WithoutAnIniFileTheRegistryHoldsTheValuesWithTheirTypes) {
    TProcess p(folder.Exe());
    const HWND main = Start(p);
    ASSERT_TRUE(main);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return ReadRegValue(kSettingsKey, L"OutputFolder").has_value(); }));

    const auto dword = [](const wchar_t* name) { return ReadRegValue(kSettingsKey, name); };
    EXPECT_EQ(dword(L"CaptureDelay")->Type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(dword(L"CaptureDelay")->Number, 500u);
    EXPECT_EQ(dword(L"isBeforeHide")->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(dword(L"isBeforeHide")->Text, L"TRUE");
    EXPECT_EQ(dword(L"FormVersion")->Type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(dword(L"NormPos")->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(dword(L"acCaptureControl_ShortCut")->Number, 24688u);
    EXPECT_EQ(dword(L"acCaptureAutoScroll_Checked")->Text, L"TRUE");
    EXPECT_EQ(dword(L"OutputFolder")->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RegValueNames(kSettingsKey).size(),
              SaveOrderKeys(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)).size());
    EXPECT_TRUE(ExitProgram(p, main));
}

TEST_F(StartupTest, TheFirstStartWritesTheLauncherAndTheBrowserButtonAndLaterStartsDoNeither) {
    {
        TProcess p(folder.Exe());
        const HWND main = Start(p);
        ASSERT_TRUE(main);
        ASSERT_TRUE(WaitFor([&] { return RegKeyExists(kButtonKey); }));
        EXPECT_TRUE(ExitProgram(p, main));
    }
    const std::wstring exec = folder.Path() + L"tvl.exe";
    ASSERT_TRUE(FileExists(exec));
    const auto names = RegValueNames(kButtonKey);
    EXPECT_EQ(names.size(), 8u);
    EXPECT_EQ(ReadRegValue(kButtonKey, L"ButtonText")->Text, L"Tolvex");
    EXPECT_EQ(ReadRegValue(kButtonKey, L"ClSid")->Text, L"{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}");
    EXPECT_EQ(ReadRegValue(kButtonKey, L"Exec")->Text, exec);
    EXPECT_EQ(ReadRegValue(kButtonKey, L"Icon")->Text, exec + L",101");
    EXPECT_EQ(ReadRegValue(kButtonKey, L"HotIcon")->Text, exec + L",101");

    // A later start finds the launcher and registers nothing.
    DeleteRegTree(kButtonKey);
    TProcess again(folder.Exe());
    const HWND main = MainWindowOf(again.Id());
    ASSERT_TRUE(main);
    // The start-up timer docks the tool window and would register the button beside it.
    ASSERT_TRUE(WaitForStartUp(main));
    QuietPeriod();
    EXPECT_FALSE(RegKeyExists(kButtonKey));

    EXPECT_TRUE(ExitProgram(again, main));

    // The launcher it wrote is a runnable program. Beside a stand-in that records how it
    // is started, it starts "Tolvex.exe" of its own folder, hidden, in that folder, with
    // its argument, or with "Control" when it has none.
    TProgramFolder recorded;
    ASSERT_TRUE(CopyFileW((EnvPath("TOLVEX_HELPERS_DIR") + L"\\StartRecorder.exe").c_str(),
                          recorded.Exe().c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(exec.c_str(), (recorded.Path() + L"tvl.exe").c_str(), FALSE));
    std::string folderText;
    for (wchar_t c : recorded.Path().substr(0, recorded.Path().size() - 1))
        folderText.push_back(static_cast<char>(c));
    const std::wstring report = recorded.Path() + L"started.txt";
    for (const auto& [argument, expected] : {std::pair{L"Show", "Show"}, std::pair{L"", "Control"}}) {
        DeleteFileW(report.c_str());
        TProcess launcher(recorded.Path() + L"tvl.exe", argument);
        const auto code = launcher.WaitExit();
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0u);
        ASSERT_TRUE(WaitFor([&] { return FileExists(report); })) << "the launcher started nothing";
        std::istringstream lines(ReadTextFile(report));
        std::string given, current, show;
        std::getline(lines, given);
        std::getline(lines, current);
        std::getline(lines, show);
        EXPECT_EQ(given, expected);
        EXPECT_EQ(lstrcmpiA(current.c_str(), folderText.c_str()), 0) << current;
        EXPECT_EQ(show, "0") << "SW_HIDE";
    }
}

TEST_F(StartupTest, TheBrowserButtonIsNotRegisteredWhenItsSettingIsOff) {
    WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
    TProcess p(folder.Exe());
    const HWND main = Start(p);
    ASSERT_TRUE(main);
    ASSERT_TRUE(FileExists(folder.Path() + L"tvl.exe"));
    QuietPeriod();
    EXPECT_FALSE(RegKeyExists(kButtonKey));
    EXPECT_TRUE(ExitProgram(p, main));
}

TEST_F(StartupTest, TheUndoFolderIsEmptiedOfItsFilesAtExit) {
    const std::wstring undo = TempFolder() + L"~Vrim\\";
    CreateDirectoryW(undo.c_str(), nullptr);
    CreateDirectoryW((undo + L"keep").c_str(), nullptr);
    WriteTextFile(undo + L"~46000.5.bmp", "state");
    TProcess p(folder.Exe());
    const HWND main = Start(p);
    ASSERT_TRUE(main);
    EXPECT_TRUE(ExitProgram(p, main));
    EXPECT_FALSE(FileExists(undo + L"~46000.5.bmp"));
    EXPECT_NE(GetFileAttributesW((undo + L"keep").c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirectoryW((undo + L"keep").c_str());
}
