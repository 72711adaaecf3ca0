// The real program with a settings file it cannot use: the close box and the captures go
// on, the failure is said once, and the file is never written over.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include "E2eSupport.h"
#include "tests/support/PickerDriver.h"

using namespace e2e;

namespace {
using picker_driver::PressCtrlShift;

// The visible message boxes of a process.
std::vector<HWND> MessageBoxesOf(DWORD processId) {
    std::vector<HWND> boxes;
    for (HWND w : FindWindows(L"#32770", processId))
        if (IsWindowVisible(w))
            boxes.push_back(w);
    return boxes;
}

// The text a message box shows (its static controls).
std::wstring BoxText(HWND box) {
    std::wstring text;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(c, cls, 32);
        if (CompareStringOrdinal(cls, -1, L"Static", -1, TRUE) != CSTR_EQUAL)
            continue;
        wchar_t buf[1024] = {};
        GetWindowTextW(c, buf, 1024);
        text += buf;
    }
    return text;
}

// Waits for one message box of the process, answers it with OK and returns its text.
std::optional<std::wstring> AnswerMessageBox(DWORD processId, int timeoutMs = deadlines::kStateMs) {
    HWND box = nullptr;
    if (!WaitFor(
            [&] {
                const auto boxes = MessageBoxesOf(processId);
                box = boxes.empty() ? nullptr : boxes.front();
                return box != nullptr;
            },
            timeoutMs))
        return std::nullopt;
    const std::wstring text = BoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); });
    return text;
}

// The document windows inside the main window's document area.
std::vector<HWND> DocumentsOf(HWND main) {
    std::vector<HWND> docs;
    const HWND area = FindWindowExW(main, nullptr, L"MDIClient", nullptr);
    for (HWND w = area ? GetWindow(area, GW_CHILD) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT))
        if (GetWindow(w, GW_OWNER) == nullptr)
            docs.push_back(w);
    return docs;
}

class SettingsFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        DeleteRegTree(kSettingsKey);
        ini = folder.Path() + L"Tolvex.ini";
    }
    void TearDown() override {
        RemoveDirectoryW(ini.c_str());
        DeleteRegTree(kSettingsKey);
        DeleteRegTree(kButtonKey);
        CoUninitialize();
    }
    // The hotkeys are registered at the first activation.
    HWND Start(TProcess& p) { return MainWindowReadyForHotkeys(p); }
    TProgramFolder folder;
    std::wstring ini;
};

bool Contains(const std::optional<std::wstring>& text, const std::wstring& part) {
    return text && text->find(part) != std::wstring::npos;
}
} // namespace

TEST_F(SettingsFailureTest, AnUnreadableSettingsFileIsSaidOnceAtStartUpAndCapturesStillArrive) {
    // A byte-order mark of UTF-16 with an odd number of bytes: no text in any encoding.
    const std::string unreadable = "\xFF\xFE\x41";
    WriteTextFile(ini, unreadable);
    TProcess p(folder.Exe());
    const HWND main = Start(p);
    ASSERT_TRUE(main);
    const auto report = AnswerMessageBox(p.Id());
    EXPECT_TRUE(Contains(report, L"Tolvex.ini")) << "the file is named";
    EXPECT_TRUE(Contains(report, L"not text")) << "and the reason";
    ASSERT_TRUE(WaitForStartUp(main));

    // The defaults: a hide before the capture, which saves, and a new document.
    PressCtrlShift(VK_F5);
    ASSERT_TRUE(WaitFor([&] { return DocumentsOf(main).size() == 1; }));
    PressCtrlShift(VK_F5);
    ASSERT_TRUE(WaitFor([&] { return DocumentsOf(main).size() == 2; }));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    QuietPeriod();
    EXPECT_TRUE(MessageBoxesOf(p.Id()).empty()) << "the cause was said at start-up";
    EXPECT_EQ(ReadTextFile(ini), unreadable);
    p.Kill();
}

TEST_F(SettingsFailureTest, TheCloseBoxWithASettingsFileThatCannotBeWrittenSaysSoOnceAndOnlyHides) {
    WriteTextFile(ini, "");
    TProcess p(folder.Exe());
    const HWND main = Start(p);
    ASSERT_TRUE(main);
    PressCtrlShift(VK_F5);
    ASSERT_TRUE(WaitFor([&] { return DocumentsOf(main).size() == 1; }));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    const HWND doc = DocumentsOf(main).front();

    // A folder now stands where the settings file was: no save can replace it.
    ASSERT_TRUE(DeleteFileW(ini.c_str()));
    ASSERT_TRUE(CreateDirectoryW(ini.c_str(), nullptr));
    PostMessageW(main, WM_CLOSE, 0, 0);
    const auto report = AnswerMessageBox(p.Id());
    EXPECT_TRUE(Contains(report, L"Tolvex.ini"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    EXPECT_TRUE(p.Running());
    EXPECT_TRUE(IsWindow(doc)) << "the unsaved capture is still open";

    // Shown again by a second start, closed through the system menu: hidden, not said again.
    TProcess second(folder.Exe());
    ASSERT_TRUE(second.WaitExit().has_value());
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    QuietPeriod();
    EXPECT_TRUE(MessageBoxesOf(p.Id()).empty());
    EXPECT_TRUE(IsWindow(doc));
    p.Kill();
}
