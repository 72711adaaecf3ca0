// The main window in-process: the capture delivery, the capture frame, the hotkey
// dispatch and the second-start hand-over.
#include <windows.h>

#include <objbase.h>

#include "../forms/FormsTestSupport.h"
#include "core/StoredValues.h"
#include "editor/frmChild.h"
#include "editor/frmTool.h"
#include "forms/Actions.h"
#include "forms/ComCtrls.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/Files.h"
#include "forms/FormStorage.h"
#include "forms/Graphics.h"
#include "forms/ImgView32.h"
#include "shell/PrevInstance.h"
#include "shell/frmMain.h"
#include "shell/frmOption.h"

namespace {
class MainFormTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        form = CreateForm<TMainForm>();
        form->CaptureSleep = [](DWORD) {};
        ShutterSoundHook = [this] { ++sounds; };
        MessageDlgHook = [this](const std::wstring& m, TMsgDlgType, TMsgDlgButtons) {
            messages.push_back(m);
            return mrOk;
        };
        folder = TempFolder() + L"tolvex-delivery-" + std::to_wstring(GetTickCount()) + L"\\";
        Set(SettingName::kIsSound, false);
        Set(SettingName::kIsBeforeHide, false);
        Set(SettingName::kIsAfterVisible, false);
    }
    void TearDown() override {
        form.reset();
        ShutterSoundHook = nullptr;
        MessageDlgHook = nullptr;
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        DeleteTree(folder);
        CoUninitialize();
        FormsTest::TearDown();
    }
    void Set(std::wstring_view name, TStoredValue v) {
        form->JvFormStorage1.SetStoredValue(name, std::move(v));
    }
    static void DeleteTree(const std::wstring& dir) {
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileW((dir + L"*").c_str(), &d);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring n = d.cFileName;
                if (n == L"." || n == L"..")
                    continue;
                if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    DeleteTree(dir + n + L"\\");
                else
                    DeleteFileW((dir + n).c_str());
            } while (FindNextFileW(h, &d));
            FindClose(h);
        }
        RemoveDirectoryW(dir.c_str());
    }
    static TBitmap Picture(int w, int h) {
        TBitmap b(w, h, TPixelFormat::pf24bit);
        return b;
    }
    std::string Magic(const std::wstring& path) {
        const auto bytes = ReadFileBytes(path);
        return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(
                                                              std::min<std::size_t>(bytes.size(), 4)));
    }

    TFormPtr<TMainForm> form;
    std::wstring folder;
    int sounds = 0;
    std::vector<std::wstring> messages;
};
} // namespace

TEST_F(MainFormTest, TheAutoSaveCreatesTheFolderAndNumbersThePicturesInTheChosenType) {
    Set(SettingName::kOutputType, 2);
    Set(SettingName::kOutputFolder, folder + L"a\\b");
    Set(SettingName::kSaveImageType, 3);
    form->NewCapture(Picture(7, 5));
    form->NewCapture(Picture(7, 5));
    EXPECT_EQ(Magic(folder + L"a\\b\\Capture_1.png"), "\x89PNG");
    EXPECT_TRUE(FileExists(folder + L"a\\b\\Capture_2.png"));
    Set(SettingName::kSaveImageType, 0);
    form->NewCapture(Picture(7, 5));
    EXPECT_EQ(Magic(folder + L"a\\b\\Capture_1.bmp").substr(0, 2), "BM");
    // A 24-bit file: the header's bit count at offset 28.
    EXPECT_EQ(ReadFileBytes(folder + L"a\\b\\Capture_1.bmp")[28], 24);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainFormTest, AnUnknownImageTypeSavesAJpegInsteadOfDroppingTheCapture) {
    Set(SettingName::kOutputType, 2);
    Set(SettingName::kOutputFolder, folder);
    Set(SettingName::kSaveImageType, 7);
    form->NewCapture(Picture(3, 3));
    EXPECT_EQ(Magic(folder + L"Capture_1.jpg").substr(0, 2), "\xFF\xD8");
}

TEST_F(MainFormTest, TheAutoSaveTakesTheFirstFreeNumberAndNeverOverwritesAnything) {
    Set(SettingName::kOutputType, 2);
    Set(SettingName::kOutputFolder, folder);
    Set(SettingName::kSaveImageType, 2);
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* n : {L"Capture_1.jpg", L"Capture_2.jpg", L"Capture_4.jpg"})
        WriteFileAtomic(folder + n, std::vector<std::uint8_t>{'x'});
    CreateDirectoryW((folder + L"Capture_3.jpg").c_str(), nullptr); // a folder bears the name
    form->NewCapture(Picture(3, 3));
    EXPECT_EQ(ReadFileBytes(folder + L"Capture_1.jpg").size(), 1u);
    EXPECT_TRUE(FileExists(folder + L"Capture_5.jpg"));
}

TEST_F(MainFormTest, AMissingOrUncreatableFolderIsReportedAndNothingIsWritten) {
    Set(SettingName::kOutputType, 2);
    Set(SettingName::kOutputFolder, std::wstring());
    form->NewCapture(Picture(3, 3));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"'' folder not found!");

    // A file stands where the folder should be.
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteFileAtomic(folder + L"file", std::vector<std::uint8_t>{'x'});
    Set(SettingName::kOutputFolder, folder + L"file");
    form->NewCapture(Picture(3, 3));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], L"'" + folder + L"file' folder not found!");
}

TEST_F(MainFormTest, TheShutterSoundPlaysOnlyWhenSwitchedOn) {
    Set(SettingName::kOutputType, 2);
    Set(SettingName::kOutputFolder, folder);
    form->NewCapture(Picture(2, 2));
    EXPECT_EQ(sounds, 0);
    Set(SettingName::kIsSound, true);
    form->NewCapture(Picture(2, 2));
    EXPECT_EQ(sounds, 1);
}

TEST_F(MainFormTest, TheClipboardDeliveryPutsAStandardBitmapOfThePicturesSize) {
    Set(SettingName::kOutputType, 1);
    form->NewCapture(Picture(9, 4));
    ASSERT_TRUE(OpenClipboard(nullptr));
    BITMAP bm{};
    if (HBITMAP h = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)))
        GetObjectW(h, sizeof(bm), &bm);
    CloseClipboard();
    EXPECT_EQ(bm.bmWidth, 9);
    EXPECT_EQ(bm.bmHeight, 4);
}

TEST_F(MainFormTest, TheFrameRefusesASecondCaptureAndIsIdleAgainAfterAFailure) {
    int works = 0;
    form->RunCapture(TCaptureMode::Region, TMainForm::TCaptureErrors::PassOn, nullptr, [&] {
        ++works;
        EXPECT_EQ(form->CaptureMode, TCaptureMode::Region);
        // A hotkey dispatched from a selection window's loop meanwhile is dropped.
        form->RunCapture(TCaptureMode::Screen, TMainForm::TCaptureErrors::ReportFailure, nullptr,
                         [&] { ++works; });
    });
    EXPECT_EQ(works, 1);
    EXPECT_THROW(form->RunCapture(TCaptureMode::Region, TMainForm::TCaptureErrors::PassOn, nullptr,
                                  [] { throw Exception(L"grab failed"); }),
                 Exception);
    EXPECT_EQ(form->CaptureMode, TCaptureMode::Idle);
}

TEST_F(MainFormTest, AFailedWholeScreenDeliveryIsReportedAndTheWindowComesBack) {
    Set(SettingName::kIsBeforeHide, true);
    Set(SettingName::kIsAfterVisible, true);
    form->Show();
    // The delivery raises, as a clipboard that cannot be opened or a file that cannot be
    // written does.
    form->RunCapture(TCaptureMode::Screen, TMainForm::TCaptureErrors::ReportFailure, nullptr,
                     [] { throw Exception(L"Cannot write"); });
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"Capture fail!");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->CaptureMode, TCaptureMode::Idle);
}

TEST_F(MainFormTest, TheAllScreensCaptureOpensADocumentOfTheVirtualScreensSizeAndRecordsTheArea) {
    Set(SettingName::kOutputType, 0);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    form->acCaptureDualScreen->Execute();
    EXPECT_EQ(form->CaptureMode, TCaptureMode::Idle);
    TChildForm* doc = form->ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Caption(), L"*New");
    EXPECT_EQ(doc->ImgView32->Bitmap().Width(), width);
    EXPECT_EQ(doc->ImgView32->Bitmap().Height(), height);
    EXPECT_EQ(form->LastCaptureRect.left, 0);
    EXPECT_EQ(form->LastCaptureRect.top, 0);
    EXPECT_EQ(form->LastCaptureRect.right, width);
    EXPECT_EQ(form->LastCaptureRect.bottom, height);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainFormTest, RepeatLastCaptureIsEnabledOnlyWithALastArea) {
    form->acCaptureRecapture->Update();
    EXPECT_FALSE(form->acCaptureRecapture->Enabled());
    form->LastCaptureRect = RECT{10, 10, 10, 50};
    form->acCaptureRecapture->Update();
    EXPECT_FALSE(form->acCaptureRecapture->Enabled());
    form->LastCaptureRect = RECT{10, 10, 20, 50};
    form->acCaptureRecapture->Update();
    EXPECT_TRUE(form->acCaptureRecapture->Enabled());
}

TEST_F(MainFormTest, AHotkeyRunsItsCommandOnlyWithItsOwnModifiersAndNotWhileTheOptionsAreOpen) {
    form->RegisterHotKeys();
    int runs = 0;
    form->acCaptureScreen->OnExecute = [&](TObject*) { ++runs; };
    const WPARAM id = form->HotKeyIds[4];
    const auto post = [&](UINT mods, UINT key) {
        SendMessageW(form->Handle(), WM_HOTKEY, id, MAKELPARAM(mods, key));
    };
    post(MOD_CONTROL | MOD_SHIFT, VK_F5);
    EXPECT_EQ(runs, 1);
    post(MOD_CONTROL, VK_F5);
    post(MOD_CONTROL | MOD_SHIFT, VK_F6);
    EXPECT_EQ(runs, 1);
    // Any object stands in for the options dialog: only its presence counts.
    OptionForm = reinterpret_cast<TOptionForm*>(form.get());
    post(MOD_CONTROL | MOD_SHIFT, VK_F5);
    OptionForm = nullptr;
    EXPECT_EQ(runs, 1);
    form->UnregisterHotKeys();
}

TEST_F(MainFormTest, TheHandOverActsOnceOnTheMainWindowsCopyOfTheBroadcast) {
    InitPrevInstance(L"Tolvex");
    int controls = 0;
    form->acCaptureControl->OnExecute = [&](TObject*) { ++controls; };
    MSG msg{};
    msg.message = PrevInstanceMessage;
    bool handled = false;
    // The copy that reached another window of the program is swallowed untouched.
    const ATOM atom = GlobalAddAtomW(L"Control");
    msg.hwnd = nullptr;
    msg.wParam = atom;
    form->ApplicationEvents1Message(msg, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(controls, 0);
    msg.hwnd = form->Handle();
    form->ApplicationEvents1Message(msg, handled);
    EXPECT_EQ(controls, 1);
    wchar_t name[16];
    EXPECT_EQ(GlobalGetAtomNameW(atom, name, 16), 0u); // the atom is gone

    // "control" in other letters is no command; atom 0 is a start without argument.
    msg.wParam = GlobalAddAtomW(L"control");
    form->ApplicationEvents1Message(msg, handled);
    EXPECT_EQ(controls, 1);
    form->Hide();
    form->JvFormStorage1.SetStoredValue(SettingName::kIsAfterVisible, true);
    msg.wParam = 0;
    form->ApplicationEvents1Message(msg, handled);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(MainFormTest, HideToolbarTwiceLeavesTheBarVisibleAndTheEntryUnchecked) {
    form->Show();
    form->acToolHideToolbar->Execute();
    EXPECT_FALSE(form->ToolBar1->Visible());
    EXPECT_TRUE(form->acToolHideToolbar->Checked());
    form->acToolHideToolbar->Execute();
    EXPECT_TRUE(form->ToolBar1->Visible());
    EXPECT_FALSE(form->acToolHideToolbar->Checked());
}

TEST_F(MainFormTest, LogOffAnswersAtOnceMarksTheRealExitAndStoresWhatTheExitStoresSilently) {
    auto tool = CreateForm<TToolForm>(*form);
    ToolForm = tool.get();
    ToolForm->SetPenColor(0x0000FF);
    EXPECT_EQ(SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_TRUE(form->ReallyClose);
    form->JvFormStorage1.SetStoredValue(SettingName::kCaptureDelay, 250);
    SendMessageW(form->Handle(), WM_ENDSESSION, TRUE, 0);
    ToolForm = nullptr;
    const auto stored = [](const wchar_t* name) {
        DWORD value = 0;
        DWORD size = sizeof(value);
        const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Tolvex", name, RRF_RT_REG_DWORD,
                                            nullptr, &value, &size);
        return status == ERROR_SUCCESS ? static_cast<long long>(value) : -1LL;
    };
    EXPECT_EQ(stored(L"CaptureDelay"), 250);
    // The tool window's colours go too, as at the exit.
    EXPECT_EQ(stored(L"ForgColor"), 0x0000FF);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(MainFormTest, ACancelledLogOffLeavesTheCloseBoxHidingToTheTray) {
    form->Show();
    int exits = 0; // the close goes on to the exit only after the close query allowed it
    form->OnClose = [&](TObject*, TCloseAction& action) {
        ++exits;
        action = TCloseAction::None;
    };
    SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, 0);
    SendMessageW(form->Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(form->ReallyClose);
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(exits, 0);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(MainFormTest, ACommandWithoutShortcutGetsNoHotkey) {
    form->acCaptureScreen->ShortCut = 0;
    form->RegisterHotKeys();
    EXPECT_FALSE(UnregisterHotKey(form->Handle(), form->HotKeyIds[4]));
    EXPECT_TRUE(UnregisterHotKey(form->Handle(), form->HotKeyIds[0]));
    form->UnregisterHotKeys();
}

// ---- Settings that cannot be saved ----

TEST_F(MainFormTest, AnUnreadableSettingsFileIsSaidOnceAtStartUpAndNeverStopsAHideOrACapture) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring ini = folder + L"Tolvex.ini";
    // A byte-order mark of UTF-16 with an odd number of bytes: no text in any encoding.
    const std::vector<std::uint8_t> unreadable{0xFF, 0xFE, 0x41};
    WriteFileAtomic(ini, unreadable);
    form->JvFormStorage1.SetStorage(
        &ChooseAppStorage(form->JvAppRegistryStorage1, form->JvAppIniFileStorage1, ini));
    form->Timer1Timer(nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"\"" + ini + L"\""), std::wstring::npos) << "the file is named";
    EXPECT_NE(messages[0].find(L"not text"), std::wstring::npos) << "and the reason";

    // Every hide saves and fails for the cause already said: the window hides all the same.
    Set(SettingName::kIsBeforeHide, true);
    Set(SettingName::kOutputType, 2);
    Set(SettingName::kOutputFolder, folder);
    Set(SettingName::kSaveImageType, 3);
    form->Show();
    form->acCaptureScreen->Execute();
    EXPECT_TRUE(FileExists(folder + L"Capture_1.png"));
    form->acHide->Execute();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    // The rectangle dialog's save inside a capture goes on too.
    EXPECT_NO_THROW(form->SaveStore());
    EXPECT_EQ(messages.size(), 1u);

    // The real exit still says that it could not save, and only once.
    form->JvFormStorage1.RestoreFormPlacement();
    form->acFileExit->Execute();
    form.reset();
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(ReadFileBytes(ini), unreadable);
}

TEST_F(MainFormTest, ALogOffWhoseSaveFailsSaysNothingAlsoWhenTheWindowGoes) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring ini = folder + L"Tolvex.ini";
    WriteFileAtomic(ini, std::vector<std::uint8_t>{0xFF, 0xFE, 0x41});
    form->JvFormStorage1.SetStorage(
        &ChooseAppStorage(form->JvAppRegistryStorage1, form->JvAppIniFileStorage1, ini));
    form->JvFormStorage1.RestoreFormPlacement();
    SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, 0);
    SendMessageW(form->Handle(), WM_ENDSESSION, TRUE, 0);
    form.reset();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(errors.empty());
}

// ---- Auto-save names ----

TEST_F(MainFormTest, ANameThatCannotBeLookedUpOrNoFreeNameStopsTheAutoSaveWithItsReason) {
    Set(SettingName::kOutputType, 2);
    Set(SettingName::kOutputFolder, folder);
    Set(SettingName::kSaveImageType, 3);
    std::vector<std::wstring> looked;
    form->AutoSaveNameLookup = [&](const std::wstring& name) -> DWORD {
        looked.push_back(name);
        return looked.size() == 1 ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    };
    // The whole-screen commands say the reason, not only that the capture failed.
    form->RunCapture(TCaptureMode::Screen, TMainForm::TCaptureErrors::ReportFailure, nullptr,
                     [&] { form->NewCapture(Picture(3, 3)); });
    EXPECT_EQ(looked.size(), 2u) << "the search stops at the name it could not look up";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"The capture was not saved: Tolvex could not look up the name \"" + folder +
                               L"\\Capture_2.png\": " + SysErrorMessage(ERROR_ACCESS_DENIED));

    // Every number taken: the search gives up after the last one.
    looked.clear();
    form->AutoSaveNameLookup = [&](const std::wstring& name) -> DWORD {
        looked.push_back(name);
        return ERROR_SUCCESS;
    };
    try {
        form->NewCapture(Picture(3, 3));
        ADD_FAILURE() << "delivered without a free name";
    } catch (const ECaptureDeliveryError& e) {
        EXPECT_EQ(e.Message(), L"The capture was not saved: the folder \"" + folder +
                                   L"\" already holds every name from Capture_1.png to Capture_100000.png.");
    }
    EXPECT_EQ(looked.size(), 100000u);
    EXPECT_EQ(looked.back(), folder + L"\\Capture_100000.png");
    EXPECT_FALSE(FileExists(folder + L"Capture_1.png")) << "nothing written";
}
