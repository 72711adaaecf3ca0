// The folder browser: the real shell dialog driven from a timer while it runs its own loop.
#include "shell/components/BrwsFldr.h"

#include <windows.h>

#include <shlobj.h>

#include <functional>

#include "../forms/FormsTestSupport.h"
#include "../forms/ScratchFolder.h"
#include "forms/Form.h"

namespace {
class BrowseForFolderTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        TFormDesign d;
        d.Caption = L"Asks for a folder";
        d.Width = 300;
        d.Height = 200;
        form = CreateForm<TForm>(nullptr, L"AskingForm", d);
        form->Show();
        browser = form->Make<TBrowseForFolder>();
    }
    void TearDown() override {
        if (timer)
            KillTimer(nullptr, timer);
        Step() = nullptr;
        form.reset();
        FormsTest::TearDown();
    }

    // Runs the dialog; the step is called every 50 ms with the dialog once it shows, and
    // the dialog is cancelled after 10 s so that no step can hang the test.
    bool Run(std::function<void(HWND dialog)> step) {
        Step() = std::move(step);
        Started() = GetTickCount();
        timer = SetTimer(nullptr, 0, 50, Tick);
        const bool result = browser->Execute();
        KillTimer(nullptr, timer);
        timer = 0;
        return result;
    }
    static std::function<void(HWND)>& Step() {
        static std::function<void(HWND)> step;
        return step;
    }
    static DWORD& Started() {
        static DWORD started = 0;
        return started;
    }
    static BOOL CALLBACK FindDialogProc(HWND wnd, LPARAM data) {
        wchar_t name[16] = {};
        GetClassNameW(wnd, name, 16);
        if (std::wstring(name) == L"#32770" && IsWindowVisible(wnd)) {
            *reinterpret_cast<HWND*>(data) = wnd;
            return FALSE;
        }
        return TRUE;
    }
    static HWND FindDialog() {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        const HWND dialog = FindDialog();
        if (!dialog)
            return;
        if (GetTickCount() - Started() > deadlines::kStateTicks) {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        if (Step())
            Step()(dialog);
    }
    static bool OkEnabled(HWND dialog) { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; }

    TFormPtr<TForm> form;
    TBrowseForFolder* browser = nullptr;
    UINT_PTR timer = 0;
};
} // namespace

TEST_F(BrowseForFolderTest, AnExistingFolderCanBeConfirmedAndIsPreselectedNextTime) {
    const TScratchFolder folder(L"tolvex-browse-");
    const std::wstring path = folder.File(L"").substr(0, folder.File(L"").size() - 1);
    bool askingFormDisabled = false;
    RECT bounds{};
    // The tree may reach the folder some ticks after it was asked to: OK is pressed only
    // once the dialog reports the folder as its selection.
    std::wstring selected;
    browser->OnSelChanged = [&](TObject*, const std::wstring& p, bool&) { selected = p; };
    bool asked = false;
    ASSERT_TRUE(Run([&](HWND dialog) {
        if (!asked) {
            askingFormDisabled = !IsWindowEnabled(form->Handle());
            GetWindowRect(dialog, &bounds);
            asked = true;
        }
        if (CompareStringOrdinal(selected.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL) {
            if (OkEnabled(dialog))
                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        } else {
            // Asked again until the tree shows it: a request made while the tree is still
            // filling itself can be lost.
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        }
    }));
    browser->OnSelChanged = nullptr;
    EXPECT_EQ(CompareStringOrdinal(browser->Path.c_str(), -1, path.c_str(), -1, TRUE), CSTR_EQUAL)
        << testing::PrintToString(browser->Path);
    EXPECT_TRUE(askingFormDisabled);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    // Centred on the primary screen (div truncating).
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    EXPECT_EQ(bounds.left, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2);
    EXPECT_EQ(bounds.top, GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2);

    // The next run starts at the folder chosen before.
    std::wstring firstSelection;
    browser->OnSelChanged = [&](TObject*, const std::wstring& p, bool&) {
        if (firstSelection.empty())
            firstSelection = p;
    };
    EXPECT_FALSE(Run([&](HWND dialog) {
        if (!firstSelection.empty())
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ(CompareStringOrdinal(firstSelection.c_str(), -1, path.c_str(), -1, TRUE), CSTR_EQUAL);
    EXPECT_EQ(CompareStringOrdinal(browser->Path.c_str(), -1, path.c_str(), -1, TRUE), CSTR_EQUAL);
}

TEST_F(BrowseForFolderTest, ItemsOutsideTheFileSystemAndVetoedFoldersCannotBeConfirmed) {
    browser->Path = L"C:\\windows";
    int moves = 0;
    browser->OnSetPosition = [&](TObject*, int& left, int& top, int, int) {
        ++moves;
        left = 7;
        top = 9;
    };
    bool computerOk = true;
    bool vetoedOk = true;
    bool vetoSeen = false;
    RECT bounds{};
    bool computerDone = false;
    browser->OnSelChanged = [&](TObject*, const std::wstring& p, bool& enableOk) {
        if (!p.empty() && computerDone) {
            vetoSeen = true;
            enableOk = false;
        }
    };
    // One step per tick, so that every selection has settled before the button is read.
    int step = 0;
    EXPECT_FALSE(Run([&](HWND dialog) {
        switch (step++) {
        case 0: {
            GetWindowRect(dialog, &bounds);
            ITEMIDLIST* computer = nullptr;
            SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
            SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
            CoTaskMemFree(computer);
            break;
        }
        case 1:
            computerOk = OkEnabled(dialog);
            computerDone = true;
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(L"C:\\"));
            break;
        default:
            vetoedOk = OkEnabled(dialog);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }));
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(bounds.left, 7);
    EXPECT_EQ(bounds.top, 9);
    EXPECT_FALSE(computerOk);
    EXPECT_TRUE(vetoSeen);
    EXPECT_FALSE(vetoedOk);
    EXPECT_EQ(browser->Path, L"C:\\windows"); // a cancelled run keeps the path
}
