// The language chosen at the first start, and the main window translated by its file.
#include <windows.h>

#include <gtest/gtest.h>
#include <memory>

#include "E2eSupport.h"

using namespace e2e;

namespace {
class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegTree(kSettingsKey);
        // A marked caption shows that the caption came from this file.
        const std::wstring korea = folder.Path() + L"Language\\Korea.dat";
        std::string text = ReadTextFile(korea);
        const std::string designed = "[MainForm]\nCaption=Tolvex";
        const auto at = text.find(designed);
        ASSERT_NE(at, std::string::npos);
        text.insert(at + designed.size(), " \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4"); // " 한국어"
        WriteTextFile(korea, text);
    }
    void TearDown() override {
        DeleteRegTree(kSettingsKey);
        DeleteRegTree(kButtonKey);
    }
    std::unique_ptr<TProcess> Start() { return std::make_unique<TProcess>(folder.Exe()); }
    static std::wstring Caption(HWND w) {
        wchar_t text[256] = {};
        GetWindowTextW(w, text, 256);
        return text;
    }
    TProgramFolder folder;
};
} // namespace

// These run in a second pass of the test program with a Korean system locale.
using KoreanSystemLanguageTest = LanguageTest;

TEST_F(KoreanSystemLanguageTest, TheFirstStartChoosesKoreaAndTranslatesTheMainWindow) {
    ASSERT_EQ(GetSystemDefaultLCID(), 1042u);
    auto p = Start();
    const HWND main = MainWindowOf(p->Id());
    ASSERT_TRUE(main);
    WaitFor([&] { return Caption(main) == L"Tolvex \uD55C\uAD6D\uC5B4"; });
    EXPECT_EQ(Caption(main), L"Tolvex \uD55C\uAD6D\uC5B4");
    PostMessageW(main, WM_CLOSE, 0, 0); // the next hide stores the choice
    ASSERT_TRUE(WaitFor([&] { return ReadRegValue(kSettingsKey, L"Language").has_value(); }));
    EXPECT_EQ(ReadRegValue(kSettingsKey, L"Language")->Text, L"Korea");
    EXPECT_TRUE(ExitProgram(*p, main));
}

TEST_F(KoreanSystemLanguageTest, WithEnglishStoredTheMainWindowKeepsItsDesignedTexts) {
    WriteRegString(kSettingsKey, L"Language", L"English");
    auto p = Start();
    const HWND main = MainWindowOf(p->Id());
    ASSERT_TRUE(main);
    // The translation runs at the first activation, before the launcher is written.
    ASSERT_TRUE(WaitFor([&] { return FileExists(folder.Path() + L"tvl.exe"); }));
    EXPECT_EQ(Caption(main), L"Tolvex");
    EXPECT_TRUE(ExitProgram(*p, main));
}

TEST_F(LanguageTest, AnotherSystemLocaleChoosesEnglish) {
    ASSERT_NE(GetSystemDefaultLCID(), 1042u);
    auto p = Start();
    const HWND main = MainWindowOf(p->Id());
    ASSERT_TRUE(main);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return ReadRegValue(kSettingsKey, L"Language").has_value(); }));
    EXPECT_EQ(ReadRegValue(kSettingsKey, L"Language")->Text, L"English");
    EXPECT_EQ(Caption(main), L"Tolvex");
    EXPECT_TRUE(ExitProgram(*p, main));
}
