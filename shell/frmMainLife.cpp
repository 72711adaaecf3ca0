// The main window's life: creation and first activation, the start-up timer, the
// second-start hand-over, show and hide, the global hotkeys, the window's own messages,
// and the real exit.
#include <windows.h>

#include <shellapi.h>

#include <map>

#include "capture/unitCaptureLib.h"
#include "core/StoredValues.h"
#include "editor/frmTool.h"
#include "forms/Actions.h"
#include "forms/Application.h"
#include "forms/Controls.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/Files.h"
#include "forms/Timer.h"
#include "forms/TrayIcon.h"
#include "shell/PrevInstance.h"
#include "shell/SLanguage.h"
#include "shell/frmMain.h"
#include "shell/frmOption.h"
#include "shell/unitUtils.h"

namespace {
// The custom cursors: screen cursor id and resource name, in id order.
constexpr std::pair<int, const wchar_t*> kCursors[] = {
    {crWrite, L"WRITE"}, {crMove, L"MOVE"},           {crErase, L"ERASE"},   {crSpuit, L"SPUIT"},
    {crText, L"TEXT"},   {crCapture, L"CAPTURE"},     {crScroll, L"SCROLL"}, {crZoom, L"ZOOM"},
    {crFill, L"FILL"},   {crHighlight, L"HIGHLIGHT"}, {crSelect, L"SELECT"}, {crStemp, L"STEMP"},
};

std::map<int, HCURSOR>& CursorTable() {
    static std::map<int, HCURSOR> table;
    return table;
}

// The atom names of the hotkey table, rows 1 to 9.
std::wstring HotKeyAtomName(int i) {
    return L"Tolvex HotKey " + std::to_wstring(i);
}

std::wstring LauncherFileName() {
    return ProgramFolder() + L"tvl.exe";
}

// What made a save of the settings fail, by which its reports are told apart.
std::wstring StoreErrorCause(const std::exception_ptr& e) {
    try {
        std::rethrow_exception(e);
    } catch (const EAppStorageError& failure) {
        return failure.Cause();
    } catch (...) {
        return ExceptionMessage(e);
    }
}

// Said after the reason why the settings file could not be read at start-up.
constexpr std::wstring_view kRunsOnDefaults =
    L"Tolvex runs on its default settings and leaves the file as it is.";
} // namespace

HCURSOR ScreenCursor(int id) {
    const auto it = CursorTable().find(id);
    return it == CursorTable().end() ? nullptr : it->second;
}

void TMainForm::LoadCustomCursors() {
    for (const auto& [id, name] : kCursors)
        CursorTable()[id] = LoadCursorW(GetModuleHandleW(nullptr), name);
}

void TMainForm::FormCreate(TObject*) {
    ReallyClose = false;
    TaskbarCreatedMsg = RegisterWindowMessageW(L"TaskbarCreated");
    // The INI file beside the program selects its back end; the program never creates it.
    JvFormStorage1.SetStorage(
        &ChooseAppStorage(JvAppRegistryStorage1, JvAppIniFileStorage1, ProgramIniFileName()));
}

void TMainForm::FormShow(TObject*) {
    // The store restores at the main window's first show, before its first activation.
    if (!JvFormStorage1.Restored())
        JvFormStorage1.RestoreFormPlacement();
}

void TMainForm::FormActivate(TObject*) {
    OnActivate = nullptr; // the start-up work runs once
    LastCaptureRect = RECT{0, 0, 0, 0};
    LoadCustomCursors();
    RegisterHotKeys();
    RegisterDropTarget();

    StartFlags = 0;
    if (!FileExists(LauncherFileName()))
        StartFlags += 1;
    int argc = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        if (argc > 1 && std::wstring(argv[1]) == L"Control")
            StartFlags += 2;
        LocalFree(argv);
    }

    if (ReadString(SettingName::kLanguage) != L"English")
        ApplyLanguage(this);
    else
        ApplyLanguage(nullptr); // only the file name is set; the designed texts stay
    LoadMessages();
    if (ToolForm)
        ApplyLanguage(ToolForm);
    Timer1->SetEnabled(true);
}

void TMainForm::Timer1Timer(TObject*) {
    Timer1->SetEnabled(false);
    DockToolWindow();
    ReportUnreadableSettings();
    if (StartFlags == 1) {
        // The launcher goes through a temporary file, so a failed write never leaves a
        // truncated tvl.exe behind that later starts would take as present.
        const HRSRC res = FindResourceW(GetModuleHandleW(nullptr), L"TVL", L"DATA");
        const HGLOBAL data = res ? LoadResource(GetModuleHandleW(nullptr), res) : nullptr;
        const void* bytes = data ? LockResource(data) : nullptr;
        if (!bytes)
            RaiseLastOSError(L"The launcher resource is missing");
        const DWORD size = SizeofResource(GetModuleHandleW(nullptr), res);
        WriteFileAtomic(LauncherFileName(), {static_cast<const std::uint8_t*>(bytes), size});
        if (ReadBool(SettingName::kIsIEButton))
            RegisterBrowserButton();
    } else if (StartFlags == 2) {
        acCaptureControl->Execute();
    }
}

void TMainForm::ApplicationEvents1Message(MSG& msg, bool& handled) {
    if (msg.message != RegisterWindowMessageW(PrevInstanceName.c_str()))
        return;
    handled = true;
    // The broadcast reaches every top-level window of the program; only the copy sent to
    // the main window carries out the hand-over, so each second start acts once.
    if (msg.hwnd != Handle())
        return;
    const std::wstring argument = TakeHandOverArgument(msg.wParam);
    if (argument.empty())
        acShow->Execute();
    else if (argument == L"Control")
        acCaptureControl->Execute();
}

void TMainForm::acShowExecute(TObject* sender) {
    if (sender != RxTrayIcon1 && !ReadBool(SettingName::kIsAfterVisible))
        return;
    ShowWindow(Handle(), SW_SHOW);
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
}

void TMainForm::acHideExecute(TObject*) {
    // The settings are written at every hide; a store that cannot be written never keeps
    // the window (and so a capture) from going on.
    SaveSettingsAndGoOn();
    ShowWindow(Handle(), SW_HIDE);
}

void TMainForm::SaveSettingsAndGoOn() {
    try {
        JvFormStorage1.SaveFormPlacement();
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        ReportStoreError(StoreErrorCause(failure), ExceptionMessage(failure));
    }
}

void TMainForm::ReportStoreError(const std::wstring& cause, const std::wstring& message) {
    // A store that fails at every hide would otherwise ask for a click before every capture.
    if (!reportedStoreErrors_.insert(cause).second)
        return;
    MessageDlg(message, TMsgDlgType::Error, mbOK);
}

void TMainForm::ReportUnreadableSettings() {
    if (JvFormStorage1.Storage() != &JvAppIniFileStorage1 || JvAppIniFileStorage1.LoadError().empty())
        return;
    const std::wstring& cause = JvAppIniFileStorage1.LoadError();
    ReportStoreError(cause, cause + L" " + std::wstring(kRunsOnDefaults));
}

void TMainForm::acFileExitExecute(TObject*) {
    ReallyClose = true;
    Close();
}

void TMainForm::FormCloseQuery(TObject*, bool& canClose) {
    if (!ReallyClose) {
        acHide->Execute();
        canClose = false;
        return;
    }
    ReallyClose = false; // a refused exit needs a new Exit command
    if (!MDIChildren().empty()) {
        CloseResult = 1;
        acFileCloseAll->Execute();
        if (CloseResult == 2) {
            canClose = false;
            return;
        }
    }
    StoreToolColors();
    canClose = true;
    // Settings are stored at every real exit; a store that cannot be written is reported,
    // but does not keep the user from leaving.
    try {
        JvFormStorage1.SaveFormPlacement();
    } catch (...) {
        reportedStoreErrors_.insert(StoreErrorCause(std::current_exception()));
        Application->HandleException(std::current_exception());
    }
}

void TMainForm::FormDestroy(TObject*) {
    // The exit's own failed save was said already; the same cause is not said twice.
    try {
        JvFormStorage1.SaveIfNotSavedSinceRestore();
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        ReportStoreError(StoreErrorCause(failure), ExceptionMessage(failure));
    }
    DeleteFilesInFolder(UndoFolder());
    UnregisterHotKeys();
    RevokeDropTarget();
    RxTrayIcon1->SetActive(false);
}

TAction* TMainForm::HotKeyAction(int i) const {
    switch (i) {
    case 1:
        return acCaptureControl;
    case 2:
        return acCaptureWindow;
    case 3:
        return acCaptureRegion;
    case 4:
        return acCaptureRect;
    case 5:
        return acCaptureScreen;
    case 6:
        return acCaptureContinuity;
    case 7:
        return acCaptureRecapture;
    case 8:
        return acShow;
    case 9:
        return acHide;
    default:
        return nullptr;
    }
}

std::vector<TAction*> TMainForm::RegisterHotKeys() {
    std::vector<TAction*> failed;
    for (int i = 1; i <= 9; ++i) {
        TAction* action = HotKeyAction(i);
        const TShortCut s = action->ShortCut;
        HotKeyIds[static_cast<std::size_t>(i - 1)] = GlobalAddAtomW(HotKeyAtomName(i).c_str());
        // A command without a shortcut has no hotkey.
        if (s == 0)
            continue;
        // A hotkey this window holds already is taken anew, not counted as taken by another.
        UnregisterHotKey(Handle(), HotKeyIds[static_cast<std::size_t>(i - 1)]);
        if (!RegisterHotKey(Handle(), HotKeyIds[static_cast<std::size_t>(i - 1)],
                            ShortCutToHotKeyModifiers(static_cast<std::uint8_t>(s >> 8)), s & 0xFF))
            failed.push_back(action);
    }
    return failed;
}

void TMainForm::UnregisterHotKeys() {
    for (const WORD id : HotKeyIds)
        UnregisterHotKey(Handle(), id);
}

LRESULT TMainForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_HOTKEY) {
        if (OptionForm)
            return 0;
        for (int i = 1; i <= 9; ++i) {
            if (wParam != HotKeyIds[static_cast<std::size_t>(i - 1)])
                continue;
            TAction* action = HotKeyAction(i);
            if (HotKeyMatches(action->ShortCut, static_cast<std::uint32_t>(lParam)))
                action->Execute();
            break;
        }
        return 0;
    }
    if (msg == TaskbarCreatedMsg && TaskbarCreatedMsg != 0) {
        try {
            RxTrayIcon1->SetActive(false);
            RxTrayIcon1->SetActive(true);
        } catch (...) {
        }
        return 0;
    }
    if (msg == WM_QUERYENDSESSION) {
        ReallyClose = true;
        return 1;
    }
    if (msg == WM_ENDSESSION && !wParam) {
        // Another program refused the log-off: the session goes on, and so does the close
        // box's hide to the tray.
        ReallyClose = false;
        return 0;
    }
    if (msg == WM_ENDSESSION) {
        // The session ends now: store what a real exit stores, the tool window's colours
        // included. Log-off never waits on a message, so a failure here goes unsaid (also
        // by the destroy path that may follow).
        try {
            StoreToolColors();
            JvFormStorage1.SaveFormPlacement();
        } catch (...) {
            reportedStoreErrors_.insert(StoreErrorCause(std::current_exception()));
        }
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
}

void TMainForm::ApplyLanguage(TForm* form) {
    ChooseLanguage(JvFormStorage1, *SLanguage);
    if (form) {
        SLanguage->Apply(*form);
        if (form == this)
            DrawMenuBar(Handle());
    }
}

void TMainForm::LoadMessages() {
    LoadMessageTexts(*SLanguage, *this);
}

void TMainForm::acToolLanguageExecute(TObject* sender) {
    JvFormStorage1.SetStoredValue(SettingName::kLanguage,
                                  std::wstring(sender == acToolKorea ? kLanguageKorea : kLanguageEnglish));
    ApplyLanguage(this);
    LoadMessages();
    if (ToolForm)
        ApplyLanguage(ToolForm);
}
