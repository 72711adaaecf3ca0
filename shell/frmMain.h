#pragma once
// The main window: frame of the document windows with the tab strip, the two tool bars,
// the status bar, the dock area of the tool window, the tray icon and the tray menu; the
// command set with its global hotkeys; start-up, show and hide, the real exit; the
// settings store; and the capture delivery.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "capture/CaptureDialogHost.h"
#include "capture/CaptureHost.h"
#include "core/CaptureMode.h"
#include "core/Geometry.h"
#include "core/LanguageText.h"
#include "core/ShortCut.h"
#include "editor/DocumentHost.h"
#include "editor/ToolHost.h"
#include "forms/Exceptions.h"
#include "forms/Form.h"
#include "forms/FormStorage.h"

class TAction;
class TChildForm;
class TTabSheet;
class TDockPanel;
class TDropFileTarget;
class TFileDialog;
class TFullVrimForm;
class TActionList;
class TBarPopupMenu;
class TBitmap;
class TMainMenu;
class TMenuItem;
class TPageControl;
class TCoolBar;
class TPopupMenu;
class TSLanguage;
class TStatusBar;
class TTimer;
class TToolBar;
class TTrayIcon;

// Ids of the custom cursors in the screen cursor table, loaded at the first activation.
enum TCursorId : int {
    crWrite = 2101,
    crMove = 2102,
    crErase = 2103,
    crSpuit = 2104,
    crText = 2105,
    crCapture = 2106,
    crScroll = 2107,
    crZoom = 2108,
    crFill = 2109,
    crHighlight = 2110,
    crSelect = 2111,
    crStemp = 2112,
};
// The cursor loaded under one of those ids (null before the first activation).
HCURSOR ScreenCursor(int id);

// A capture that could not be delivered, with the reason for the user: the capture
// commands show its message as it stands.
class ECaptureDeliveryError : public Exception {
public:
    using Exception::Exception;
};

// The main window also holds the message texts (msgNewCapture ...), which every
// subsystem shows; LoadMessages fills them from the language file.
class TMainForm : public TForm,
                  public TMessageTexts,
                  public ICaptureHost,
                  public ICaptureDialogHost,
                  public IToolHost,
                  public IDocumentHost {
public:
    TMainForm();
    ~TMainForm() override;

    // ---- State ----
    bool ReallyClose = false;
    UINT TaskbarCreatedMsg = 0;
    int StartFlags = 0;
    int CloseResult = 0;
    RECT LastCaptureRect{};
    TCaptureMode CaptureMode = TCaptureMode::Idle;
    std::array<WORD, 9> HotKeyIds{}; // entries 1 to 9 of the hotkey table

    // ---- Components ----
    TActionList* ActionList1;
    TAction *acFileNew, *acFileOpen, *acFileAddImage, *acFileSave, *acFileSaveAs, *acFileClose,
        *acFileCloseAll, *acFileExit;
    TAction *acEditUndo, *acEditRedo, *acEditCut, *acEditCopy, *acEditPaste, *acEditDelete, *acEditSelectAll;
    TAction *acCaptureControl, *acCaptureWindow, *acCaptureRegion, *acCaptureRect, *acCaptureScreen,
        *acCaptureDualScreen, *acCaptureContinuity, *acCaptureIcon, *acCaptureRecapture, *acCaptureAutoScroll;
    TAction *acEffectAutoContrast, *acEffectBrightness, *acEffectContrast, *acEffectGamma, *acEffectInvert,
        *acEffectGray, *acEffectMosic, *acEffectNoise, *acEffectRotate, *acEffectCrop, *acEffectResize,
        *acEffectResizeCanvas;
    TAction *acToolHideToolbar, *acToolHideToolbar2, *acToolHideStatusbar, *acToolShowTool, *acToolKorea,
        *acToolEnglish, *acToolOption;
    TAction *acWinCascade, *acWinTile, *acWinMin, *acWinMax;
    TAction *acHelp, *acQnA, *acDonate, *acAbout;
    TAction *acShow, *acHide, *acPageLeft, *acPageRight;

    TMainMenu* MainMenu1;
    HIMAGELIST ImageList1 = nullptr;
    TCoolBar* CoolBar1;
    TToolBar* ToolBar1;
    TToolBar* ToolBar2;
    TPageControl* PageControl1;
    TPopupMenu* PopupMenu1;
    TDockPanel* DockPanelLeft;  // the left dock area of the tool window, with its splitter
    TDockPanel* DockPanelRight; // the right one, where the tool window may be docked too
    TStatusBar* StatusBar1;
    TTimer* Timer1;
    TTrayIcon* RxTrayIcon1;
    TBarPopupMenu* BarPopupMenu1;
    TSLanguage* SLanguage;

    TFormStorage JvFormStorage1;
    TAppRegistryStorage JvAppRegistryStorage1;
    TAppIniFileStorage JvAppIniFileStorage1;

    // ---- Handlers ----
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormActivate(TObject* sender);
    void Timer1Timer(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormDestroy(TObject* sender);
    void acFileExitExecute(TObject* sender);
    void ApplicationEvents1Message(MSG& msg, bool& handled);
    void acShowExecute(TObject* sender);
    void acHideExecute(TObject* sender);
    void acToolHideBarExecute(TObject* sender);
    void acWebPageExecute(TObject* sender);
    void acToolOptionExecute(TObject* sender);
    void acAboutExecute(TObject* sender);
    void acToolShowToolExecute(TObject* sender);

    // ---- Hotkeys ----
    // Registers the nine hotkeys; the commands whose hotkey could not be registered.
    std::vector<TAction*> RegisterHotKeys();
    void UnregisterHotKeys();
    // The command of row i (1 to 9) of the hotkey table.
    TAction* HotKeyAction(int i) const;

    // ---- Settings ----
    bool ReadBool(std::wstring_view name) const { return JvFormStorage1.ReadBool(name); }
    std::int32_t ReadInteger(std::wstring_view name) const { return JvFormStorage1.ReadInteger(name); }
    std::wstring ReadString(std::wstring_view name) const { return JvFormStorage1.ReadString(name); }
    // Saves the store where a failed save must not stop the work it goes with (a hide, a
    // capture): the failure is shown once per cause in a run, and the work goes on.
    void SaveSettingsAndGoOn();
    // Shows a settings error, unless one of the same cause was shown already in this run.
    void ReportStoreError(const std::wstring& cause, const std::wstring& message);
    // At start-up: a settings file that could not be read is reported; the program runs on
    // the defaults and never writes over the file.
    void ReportUnreadableSettings();

    // ---- Language ----
    // Settles the language, points SLanguage at its file and translates the form (none:
    // only the file is chosen).
    void ApplyLanguage(TForm* form);
    void LoadMessages();
    void acToolLanguageExecute(TObject* sender);

    // ---- What the tool window reads ----
    IToolDocument* ActiveToolDocument() override;
    void UpdateChildCursors() override;
    // Writes the tool window's colours into the settings store.
    void StoreToolColors();
    // Docks the tool window into the left dock area, 190 wide, and shows the area.
    void DockToolWindow();
    // The dock area that holds the tool window (where it docked last), or null.
    TDockPanel* ToolDockPanel() const;

    // ---- Status bar ----
    void SetStatusText(int index, const std::wstring& text);

    // ---- Capture commands ----
    void acCaptureControlExecute(TObject* sender);
    void acCaptureWindowExecute(TObject* sender);
    void acCaptureScreenExecute(TObject* sender);
    void acCaptureDualScreenExecute(TObject* sender);
    void acCaptureRecaptureExecute(TObject* sender);
    void acCaptureRecaptureUpdate(TObject* sender);
    void acCaptureAutoScrollExecute(TObject* sender);
    void acCaptureIconExecute(TObject* sender);
    void acCaptureRegionExecute(TObject* sender);
    void acCaptureRectExecute(TObject* sender);
    void acCaptureContinuityExecute(TObject* sender);

    // How a capture command's work reports a failure: the failure message with the main
    // window shown again (the whole-screen commands), or the exception passed on to the
    // error box with the window left as it is (the commands with a selection).
    enum class TCaptureErrors : std::uint8_t { ReportFailure = 0, PassOn = 1 };
    // The frame every capture command runs in: one capture at a time, the preparation
    // that comes before the hiding (false cancels), the hiding and the delay, the work
    // (which delivers through NewCapture), the main window shown again, and the mode back
    // to idle however the command ends.
    void RunCapture(TCaptureMode mode, TCaptureErrors errors, const std::function<bool()>& prepare,
                    const std::function<void()>& work);
    // Hides the main window when "isBeforeHide" is on, then waits "CaptureDelay".
    void HideAndWait();
    // The control and window captures: the picker runs, and the window it picked is copied
    // and delivered; the failure message when that copy fails.
    void CapturePickedWindow(TCaptureMode mode);
    // Copies a picked window as it shows on the screen (or, in a control capture with the
    // auto-scroll switch on, a browser view's whole page) and delivers it; false when no
    // picture could be had, the window having gone meanwhile among other causes.
    bool CaptureTargetWindow(HWND wnd);
    // The icon capture after the pick: the icons of the picked window's program file in
    // the icon dialog, the chosen one delivered; false when that file cannot be found.
    bool CaptureWindowIcon(HWND wnd);
    // Waits "CaptureDelay" (a stored delay brought into its range).
    void WaitCaptureDelay();
    // Runs the region overlay (with a fixed rectangle of that size, or a free one) and
    // returns its result; the overlay lives in FullVrimForm meanwhile.
    int RunRegionOverlay(TFullVrimForm& overlay, const TSize* fixedSize);
    // Records the overlay's selection as the last capture area and delivers it, cut out
    // of the overlay's frozen picture.
    void CutSelection(const TFullVrimForm& overlay);

    // ---- What the capture windows read ----
    TCaptureMode CurrentCaptureMode() const override { return CaptureMode; }
    bool AutoScrollChecked() const override;
    HCURSOR PickerCursor(bool scroll) const override;
    // Waits without handling messages; tests replace it.
    std::function<void(DWORD ms)> CaptureSleep;

    // ---- What the capture dialogs read and write ----
    void TranslateDialog(TForm& form) override { ApplyLanguage(&form); }
    std::int32_t StoredInteger(std::wstring_view name) const override { return ReadInteger(name); }
    void StoreInteger(std::wstring_view name, std::int32_t value) override;
    void SaveStore() override;

    // ---- Capture delivery ----
    void NewCapture(const TBitmap& bitmap);
    // Throws ECaptureDeliveryError when no free name can be found for the file, and, in a
    // timed series, when the folder cannot be had (a single capture warns of that instead).
    void SaveCaptureToFolder(const TBitmap& bitmap);
    // Looks up one auto-save name: 0 when a file or folder bears it, else the system's
    // error code (ERROR_FILE_NOT_FOUND: the name is free). Tests replace it.
    std::function<DWORD(const std::wstring& name)> AutoSaveNameLookup;
    // The first free auto-save name in the folder; throws ECaptureDeliveryError when a name
    // cannot be looked up or every number is taken.
    std::wstring FreeAutoSaveName(const std::wstring& folder, const wchar_t* ext) const;
    // Opens a captured picture as a new document.
    void NewCaptureDocument(const TBitmap& bitmap);

    // ---- Documents ----
    TFileDialog* OpenPictureDialog1 = nullptr;
    TFileDialog* SavePictureDialog1 = nullptr;
    TDropFileTarget* DropFileTarget1 = nullptr;
    // The active document window, or null.
    TChildForm* ActiveDocument() const;
    // Creates a document and its tab under the name; the new window is active.
    TChildForm* CreateDocument(const std::wstring& name);
    void acFileNewExecute(TObject* sender);
    void acFileOpenExecute(TObject* sender);
    void OpenImageFile(const std::wstring& fileName);
    void DropFileTarget1Drop(const std::vector<std::wstring>& files);
    void PageControl1Change(TObject* sender);
    // Move Left and Move Right of the tab menu: the neighbouring tab's document becomes
    // the active one; the tabs keep their order.
    void acPageLeftExecute(TObject* sender);
    void acPageRightExecute(TObject* sender);
    void acPageLeftUpdate(TObject* sender);
    void acPageRightUpdate(TObject* sender);
    void ExistMDIChild(TObject* sender);
    // Minimize All: every open document, the last in child order first.
    void acWinMinExecute(TObject* sender);
    void acFileSaveExecute(TObject* sender);
    void acFileSaveUpdate(TObject* sender);
    void acFileSaveAsExecute(TObject* sender);
    std::wstring GetSaveFileNameWithExt() const;
    void acFileCloseExecute(TObject* sender);
    void acFileCloseAllExecute(TObject* sender);
    void acFileAddImageExecute(TObject* sender);
    void acEditUndoUpdate(TObject* sender);
    void acEditRedoUpdate(TObject* sender);
    void acEditSelectionUpdate(TObject* sender);
    void acEditPasteUpdate(TObject* sender);
    // Registers the main window as the target of dropped files (at its first activation).
    void RegisterDropTarget();
    void RevokeDropTarget();

    // ---- What the documents read ----
    std::wstring NewDocumentCaption() const override { return msgNewCapture; }
    void SelectDocumentTab(TTabSheet* sheet) override;
    int DocumentCount() const override;
    std::wstring HistoryNotFoundMessage() const override { return msgHistoryNotFound; }
    std::wstring OverwriteQuestion() const override { return msgOverwriteFile; }
    std::wstring SaveAfterExitQuestion() const override { return msgSaveAfterExit; }
    int JpegQuality() const override;
    void ShowForQuestion() override;
    bool AskSaveFileName(const std::wstring& proposal, std::wstring& fileName) override;
    void SetCloseResult(int result) override { CloseResult = result; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::set<std::wstring> reportedStoreErrors_;
    void CreateActions();
    void CreateMenus();
    void CreateBars();
    void BindStore();
    void LoadCustomCursors();
    void BindDocumentActions();
    void FreeDocumentParts();
};

extern TMainForm* MainForm;

// When set, the capture delivery calls it instead of playing the shutter sound.
extern std::function<void()> ShutterSoundHook;
