// The main window's designed layout: actions, menus, tool bars, tab strip, dock area,
// status bar, tray icon and the settings store's registrations.
#include "shell/frmMain.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "core/StoredValues.h"
#include "editor/EditorDialogs.h"
#include "editor/frmChild.h"
#include "forms/Actions.h"
#include "forms/Application.h"
#include "forms/ComCtrls.h"
#include "forms/Controls.h"
#include "forms/CoolBar.h"
#include "forms/DockPanel.h"
#include "forms/Menus.h"
#include "forms/Timer.h"
#include "forms/TrayIcon.h"
#include "resources/toolbar_images.h"
#include "shell/SLanguage.h"
#include "shell/WebPages.h"
#include "shell/components/BarPopupMenu.h"

TMainForm* MainForm = nullptr;

namespace {
TFormDesign MainDesign() {
    TFormDesign d;
    d.Caption = L"Tolvex";
    d.Width = 912;
    d.Height = 762;
    d.Style = TFormStyle::MDIForm;
    d.Position = TPosition::ScreenCenter;
    d.ShowInTaskbar = true;
    d.FontName = L"MS Sans Serif";
    d.FontHeight = -11;
    return d;
}

// The text written up the tray menu's side bar.
constexpr wchar_t kTrayBarText[] = L"Tolvex  www.tolvex.net";

constexpr TShortCut Ctrl(std::uint8_t key) {
    return MakeShortCut(key, false, true, false);
}
constexpr TShortCut CtrlShift(std::uint8_t key) {
    return MakeShortCut(key, true, true, false);
}
} // namespace

TMainForm::TMainForm() : TForm(nullptr, L"MainForm", MainDesign()) {
    MainForm = this;
    // The editor's dialogs translate themselves through the main window's language.
    EditorDialogTranslator = [this](TForm& form) { ApplyLanguage(&form); };
    EditorMessages = this;
    CreateActions();
    CreateMenus();
    CreateBars();
    BindStore();
    BindDocumentActions();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TMainForm::~TMainForm() {
    if (MainForm == this) {
        MainForm = nullptr;
        EditorDialogTranslator = nullptr;
        EditorMessages = nullptr;
    }
    FreeDocumentParts();
    if (ImageList1)
        ImageList_Destroy(ImageList1);
}

void TMainForm::CreateActions() {
    ActionList1 = Make<TActionList>(L"ActionList1");
    const auto A = [this](TAction*& field, const wchar_t* name, const wchar_t* category,
                          const wchar_t* caption, TShortCut shortCut = 0) {
        field = Make<TAction>(name, category, caption, shortCut);
        ActionList1->Add(field);
        return field;
    };
    A(acFileNew, L"acFileNew", L"1. File", L"New", Ctrl('N'));
    A(acFileOpen, L"acFileOpen", L"1. File", L"Open...", Ctrl('O'));
    A(acFileAddImage, L"acFileAddImage", L"1. File", L"Add Image...", Ctrl('I'));
    A(acFileSave, L"acFileSave", L"1. File", L"Save...", Ctrl('S'));
    A(acFileSaveAs, L"acFileSaveAs", L"1. File", L"Save As...", CtrlShift('S'));
    A(acFileClose, L"acFileClose", L"1. File", L"Close");
    A(acFileCloseAll, L"acFileCloseAll", L"1. File", L"Close All");
    A(acFileExit, L"acFileExit", L"1. File", L"Exit");
    A(acEditUndo, L"acEditUndo", L"2. Edit", L"Undo", Ctrl('Z'));
    A(acEditRedo, L"acEditRedo", L"2. Edit", L"Redo", Ctrl('Y'));
    A(acEditCut, L"acEditCut", L"2. Edit", L"Cut", Ctrl('X'));
    A(acEditCopy, L"acEditCopy", L"2. Edit", L"Copy", Ctrl('C'));
    A(acEditPaste, L"acEditPaste", L"2. Edit", L"Paste", Ctrl('V'));
    A(acEditDelete, L"acEditDelete", L"2. Edit", L"Delete", VK_DELETE);
    A(acEditSelectAll, L"acEditSelectAll", L"2. Edit", L"Select All", Ctrl('A'));
    A(acCaptureControl, L"acCaptureControl", L"3. Capture", L"Selected Control", CtrlShift(VK_F1));
    A(acCaptureWindow, L"acCaptureWindow", L"3. Capture", L"Selected Window", CtrlShift(VK_F2));
    A(acCaptureRegion, L"acCaptureRegion", L"3. Capture", L"Selected Region", CtrlShift(VK_F3));
    A(acCaptureRect, L"acCaptureRect", L"3. Capture", L"Selected Rectangle", CtrlShift(VK_F4));
    A(acCaptureScreen, L"acCaptureScreen", L"3. Capture", L"Full Screen", CtrlShift(VK_F5));
    A(acCaptureDualScreen, L"acCaptureDualScreen", L"3. Capture", L"Full Screen(Dual Monitor)",
      CtrlShift(VK_F6));
    A(acCaptureContinuity, L"acCaptureContinuity", L"3. Capture", L"Continuity", CtrlShift(VK_F7));
    A(acCaptureIcon, L"acCaptureIcon", L"3. Capture", L"Window Icon", CtrlShift(VK_F8));
    A(acCaptureRecapture, L"acCaptureRecapture", L"3. Capture", L"Repeat Last Capture", CtrlShift(VK_F9));
    A(acCaptureAutoScroll, L"acCaptureAutoScroll", L"3. Capture", L"IE Auto Scroll");
    A(acEffectAutoContrast, L"acEffectAutoContrast", L"4. Effect", L"Auto Contrast");
    A(acEffectBrightness, L"acEffectBrightness", L"4. Effect", L"Brightness");
    A(acEffectContrast, L"acEffectContrast", L"4. Effect", L"Contrast");
    A(acEffectGamma, L"acEffectGamma", L"4. Effect", L"Gamma");
    A(acEffectInvert, L"acEffectInvert", L"4. Effect", L"Invert");
    A(acEffectGray, L"acEffectGray", L"4. Effect", L"Gray");
    A(acEffectMosic, L"acEffectMosic", L"4. Effect", L"Mosic");
    A(acEffectNoise, L"acEffectNoise", L"4. Effect", L"Noise");
    A(acEffectRotate, L"acEffectRotate", L"4. Effect", L"Rotate");
    A(acEffectCrop, L"acEffectCrop", L"4. Effect", L"Crop");
    A(acEffectResize, L"acEffectResize", L"4. Effect", L"Resize");
    A(acEffectResizeCanvas, L"acEffectResizeCanvas", L"4. Effect", L"Resize Canvas");
    A(acToolHideToolbar, L"acToolHideToolbar", L"5. Tools", L"Hide Toolbar");
    A(acToolHideToolbar2, L"acToolHideToolbar2", L"5. Tools", L"Hide Capture Toolbar");
    A(acToolHideStatusbar, L"acToolHideStatusbar", L"5. Tools", L"Hide Statusbar");
    A(acToolShowTool, L"acToolShowTool", L"5. Tools", L"Show Tool Window");
    A(acToolKorea, L"acToolKorea", L"5. Tools", L"Korea")->SetHint(L"");
    A(acToolEnglish, L"acToolEnglish", L"5. Tools", L"English")->SetHint(L"");
    A(acToolOption, L"acToolOption", L"5. Tools", L"Options...");
    A(acWinCascade, L"acWinCascade", L"6. Window", L"Cascade");
    A(acWinTile, L"acWinTile", L"6. Window", L"Tile");
    A(acWinMin, L"acWinMin", L"6. Window", L"Minimazed All");
    A(acWinMax, L"acWinMax", L"6. Window", L"Maximazed All");
    A(acHelp, L"acHelp", L"7. Help", L"Help");
    A(acQnA, L"acQnA", L"7. Help", L"Q&&A Board")->SetHint(L"Q&A Board");
    A(acDonate, L"acDonate", L"7. Help", L"Donate");
    A(acAbout, L"acAbout", L"7. Help", L"About");
    A(acShow, L"acShow", L"", L"Open Tolvex", CtrlShift(VK_F11))->SetHint(L"");
    A(acHide, L"acHide", L"", L"Hide Tolvex", CtrlShift(VK_F12))->SetHint(L"");
    A(acPageLeft, L"acPageLeft", L"", L"Move Left");
    A(acPageRight, L"acPageRight", L"", L"Move Right");

    acCaptureAutoScroll->SetChecked(true);
    acCaptureAutoScroll->OnExecute = [this](TObject* s) { acCaptureAutoScrollExecute(s); };
    acCaptureControl->OnExecute = [this](TObject* s) { acCaptureControlExecute(s); };
    acCaptureWindow->OnExecute = [this](TObject* s) { acCaptureWindowExecute(s); };
    acCaptureIcon->OnExecute = [this](TObject* s) { acCaptureIconExecute(s); };
    acCaptureScreen->OnExecute = [this](TObject* s) { acCaptureScreenExecute(s); };
    acCaptureDualScreen->OnExecute = [this](TObject* s) { acCaptureDualScreenExecute(s); };
    acCaptureRecapture->OnExecute = [this](TObject* s) { acCaptureRecaptureExecute(s); };
    acCaptureRecapture->OnUpdate = [this](TObject* s) { acCaptureRecaptureUpdate(s); };
    acCaptureRegion->OnExecute = [this](TObject* s) { acCaptureRegionExecute(s); };
    acCaptureRect->OnExecute = [this](TObject* s) { acCaptureRectExecute(s); };
    acCaptureContinuity->OnExecute = [this](TObject* s) { acCaptureContinuityExecute(s); };
    acFileExit->OnExecute = [this](TObject* s) { acFileExitExecute(s); };
    acShow->OnExecute = [this](TObject* s) { acShowExecute(s); };
    acHide->OnExecute = [this](TObject* s) { acHideExecute(s); };
    for (TAction* a : {acToolHideToolbar, acToolHideToolbar2, acToolHideStatusbar})
        a->OnExecute = [this](TObject* s) { acToolHideBarExecute(s); };
    acToolKorea->OnExecute = [this](TObject* s) { acToolLanguageExecute(s); };
    acToolEnglish->OnExecute = [this](TObject* s) { acToolLanguageExecute(s); };
    for (TAction* a : {acHelp, acQnA, acDonate})
        a->OnExecute = [this](TObject* s) { acWebPageExecute(s); };
    acToolOption->OnExecute = [this](TObject* s) { acToolOptionExecute(s); };
    acAbout->OnExecute = [this](TObject* s) { acAboutExecute(s); };
    acToolShowTool->OnExecute = [this](TObject* s) { acToolShowToolExecute(s); };
    acWinCascade->OnExecute = [this](TObject*) { SendMessageW(ClientHandle(), WM_MDICASCADE, 0, 0); };
    acWinTile->OnExecute = [this](TObject*) {
        SendMessageW(ClientHandle(), WM_MDITILE, MDITILE_HORIZONTAL, 0);
    };
    acWinMin->OnExecute = [this](TObject* s) { acWinMinExecute(s); };
    acWinMax->OnExecute = [this](TObject*) {
        if (TForm* doc = ActiveDocument())
            SendMessageW(ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(doc->Handle()), 0);
    };
}

void TMainForm::CreateMenus() {
    MainMenu1 = Make<TMainMenu>(L"MainMenu1");
    TMenuItem* root = MainMenu1->Items();
    const auto Sub = [this](TMenuItem* parent, const wchar_t* name, const wchar_t* caption) {
        return parent->Add(Make<TMenuItem>(name, caption));
    };
    const auto Fill = [](TMenuItem* menu, std::initializer_list<TAction*> actions) {
        for (TAction* a : actions)
            menu->AddAction(a);
    };
    Fill(Sub(root, L"File1", L"File"), {acFileNew, acFileOpen, acFileAddImage, acFileSave, acFileSaveAs,
                                        nullptr, acFileClose, acFileCloseAll, nullptr, acFileExit});
    Fill(Sub(root, L"Edit1", L"Edit"), {acEditUndo, acEditRedo, nullptr, acEditCut, acEditCopy, acEditPaste,
                                        acEditDelete, nullptr, acEditSelectAll});
    Fill(Sub(root, L"Capture1", L"Capture"),
         {acCaptureControl, acCaptureWindow, acCaptureRegion, acCaptureRect, acCaptureScreen,
          acCaptureDualScreen, acCaptureContinuity, acCaptureIcon, acCaptureRecapture, nullptr,
          acCaptureAutoScroll});
    Fill(Sub(root, L"Effect1", L"Effect"),
         {acEffectAutoContrast, nullptr, acEffectBrightness, acEffectContrast, acEffectGamma, nullptr,
          acEffectInvert, acEffectGray, nullptr, acEffectMosic, acEffectNoise, nullptr, acEffectRotate,
          nullptr, acEffectCrop, acEffectResize, acEffectResizeCanvas});
    TMenuItem* tools = Sub(root, L"Tools1", L"Tools");
    Fill(tools, {acToolHideToolbar, acToolHideToolbar2, acToolHideStatusbar, acToolShowTool, nullptr});
    Fill(Sub(tools, L"Language1", L"Language"), {acToolKorea, acToolEnglish});
    Fill(tools, {acToolOption});
    TMenuItem* window = Sub(root, L"Window1", L"Window");
    Fill(window, {acWinCascade, acWinTile, nullptr, acWinMin, acWinMax});
    Fill(Sub(root, L"Help1", L"Help"), {acHelp, acQnA, nullptr, acDonate, acAbout});
    MainMenu1->Rebuild();
    SetMenu(MainMenu1);

    PopupMenu1 = Make<TPopupMenu>(L"PopupMenu1");
    Fill(PopupMenu1->Items(), {acFileClose, nullptr, acPageLeft, acPageRight});

    BarPopupMenu1 = Make<TBarPopupMenu>(L"BarPopupMenu1");
    BarPopupMenu1->VerticalText = kTrayBarText;
    TMenuItem* tray = BarPopupMenu1->Items();
    Fill(tray, {acCaptureControl, acCaptureWindow, acCaptureRegion, acCaptureRect, acCaptureScreen,
                acCaptureDualScreen, acCaptureContinuity, acCaptureIcon, acCaptureRecapture, nullptr, acShow,
                acHide, nullptr});
    Fill(Sub(tray, L"Language2", L"Language"), {acToolKorea, acToolEnglish});
    Fill(tray, {acToolOption, nullptr, acHelp, acQnA, acDonate, acAbout, nullptr, acFileExit});
}

void TMainForm::CreateBars() {
    // The strip holds one picture per tool-bar action, in the bars' order.
    ImageList1 = LoadImageStrip(kToolbarImagesResource, kToolbarImageSize);
    int image = 0;
    for (TAction* a : {acFileNew,
                       acFileOpen,
                       acFileAddImage,
                       acFileSave,
                       acFileClose,
                       acEditUndo,
                       acEditRedo,
                       acEditCut,
                       acEditCopy,
                       acEditPaste,
                       acEditDelete,
                       acToolOption,
                       acHelp,
                       acQnA,
                       acDonate,
                       acAbout,
                       acCaptureControl,
                       acCaptureWindow,
                       acCaptureRegion,
                       acCaptureRect,
                       acCaptureScreen,
                       acCaptureDualScreen,
                       acCaptureContinuity,
                       acCaptureIcon,
                       acCaptureRecapture,
                       acEffectAutoContrast,
                       acEffectBrightness,
                       acEffectContrast,
                       acEffectGamma,
                       acEffectInvert,
                       acEffectGray,
                       acEffectMosic,
                       acEffectNoise,
                       acEffectRotate,
                       acEffectCrop,
                       acEffectResize,
                       acEffectResizeCanvas})
        a->ImageIndex = image++;

    CoolBar1 = Make<TCoolBar>(L"CoolBar1", this);
    CoolBar1->SetAlign(TAlign::Top);
    ToolBar1 = Make<TToolBar>(L"ToolBar1", CoolBar1, ImageList1);
    ToolBar1->SetHeight(26);
    for (TAction* a : std::initializer_list<TAction*>{
             acFileNew, acFileOpen, acFileAddImage, acFileSave, acFileClose, nullptr, acEditUndo, acEditRedo,
             acEditCut, acEditCopy, acEditPaste, acEditDelete, nullptr, acToolOption, nullptr, acHelp, acQnA,
             acDonate, acAbout})
        ToolBar1->AddButton(a);
    ToolBar2 = Make<TToolBar>(L"ToolBar2", CoolBar1, ImageList1);
    ToolBar2->SetHeight(26);
    for (TAction* a : std::initializer_list<TAction*>{acCaptureControl,
                                                      acCaptureWindow,
                                                      acCaptureRegion,
                                                      acCaptureRect,
                                                      acCaptureScreen,
                                                      acCaptureDualScreen,
                                                      acCaptureContinuity,
                                                      acCaptureIcon,
                                                      acCaptureRecapture,
                                                      nullptr,
                                                      acEffectAutoContrast,
                                                      acEffectBrightness,
                                                      acEffectContrast,
                                                      acEffectGamma,
                                                      nullptr,
                                                      acEffectInvert,
                                                      acEffectGray,
                                                      acEffectMosic,
                                                      acEffectNoise,
                                                      acEffectRotate,
                                                      nullptr,
                                                      acEffectCrop,
                                                      acEffectResize,
                                                      acEffectResizeCanvas})
        ToolBar2->AddButton(a);
    PageControl1 = Make<TPageControl>(L"PageControl1", CoolBar1);
    PageControl1->SetHeight(25);
    PageControl1->PopupMenu = PopupMenu1;
    // The designed order on three rows at every start; the tab strip's band keeps a width
    // that shows the strip's scroll arrows.
    CoolBar1->AddBand(ToolBar1, 24);
    CoolBar1->AddBand(ToolBar2, 24);
    CoolBar1->AddBand(PageControl1, 25, 60);

    StatusBar1 = Make<TStatusBar>(L"StatusBar1", this, std::vector<int>{160, 90, 150, 120});
    StatusBar1->SetHeight(19);
    StatusBar1->SetAlign(TAlign::Bottom);
    StatusBar1->SetPanelText(1, L"Zoom (100%)");

    // The left dock area holds the tool window once it is docked at start-up; the user may
    // dock it at the right instead. Each splitter comes right after its panel, so it lies
    // at the panel's inner edge.
    DockPanelLeft = Make<TDockPanel>(L"DockPanelLeft");
    DockPanelLeft->SetWidth(190);
    DockPanelLeft->SetAlign(TAlign::Left);
    Make<TDockSplitter>(L"DockSplitterLeft", DockPanelLeft);
    DockPanelRight = Make<TDockPanel>(L"DockPanelRight");
    DockPanelRight->SetWidth(190);
    DockPanelRight->SetAlign(TAlign::Right);
    Make<TDockSplitter>(L"DockSplitterRight", DockPanelRight);

    SLanguage = Make<TSLanguage>(L"SLanguage");
    Timer1 = Make<TTimer>(L"Timer1", 1, false);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };

    RxTrayIcon1 =
        Make<TTrayIcon>(L"RxTrayIcon1", LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"), L"Tolvex");
    RxTrayIcon1->PopupMenu = BarPopupMenu1;
    BarPopupMenu1->Images = ImageList1;
    RxTrayIcon1->OnDblClick = [this](TObject* s) { acShowExecute(s); };
    RxTrayIcon1->SetActive(true);
    Realign();
}

void TMainForm::BindStore() {
    JvFormStorage1.SetFormHandle(Handle());
    for (const TStoredValueDef& def : kStoredValues)
        JvFormStorage1.AddStoredValue(def.Name, DefaultValue(def));
    // The eight capture shortcuts and the auto-scroll switch, in the stored order.
    const std::array<TAction*, 8> shortcuts = {acCaptureControl, acCaptureWindow,   acCaptureRegion,
                                               acCaptureRect,    acCaptureScreen,   acCaptureContinuity,
                                               acCaptureIcon,    acCaptureRecapture};
    for (std::size_t i = 0; i < shortcuts.size(); ++i) {
        TAction* a = shortcuts[i];
        JvFormStorage1.AddStoredProp(
            kStoredProps[i].Entry, [a] { return TStoredValue{static_cast<std::int32_t>(a->ShortCut)}; },
            [a](const TStoredValue& v) {
                if (const auto* n = std::get_if<std::int32_t>(&v); n && *n >= 0 && *n <= 0xFFFF)
                    a->ShortCut = static_cast<TShortCut>(*n);
            });
    }
    JvFormStorage1.AddStoredProp(
        kStoredProps[8].Entry, [this] { return TStoredValue{acCaptureAutoScroll->Checked()}; },
        [this](const TStoredValue& v) {
            if (const auto* b = std::get_if<bool>(&v))
                acCaptureAutoScroll->SetChecked(*b);
        });
}

void TMainForm::SetStatusText(int index, const std::wstring& text) {
    StatusBar1->SetPanelText(index, text);
}

void TMainForm::acToolHideBarExecute(TObject* sender) {
    auto* action = static_cast<TAction*>(sender);
    TControl* bar = action == acToolHideToolbar    ? static_cast<TControl*>(ToolBar1)
                    : action == acToolHideToolbar2 ? static_cast<TControl*>(ToolBar2)
                                                   : static_cast<TControl*>(StatusBar1);
    // The check mark means "hidden": the bar shows as the mark was, then the mark follows.
    // A tool bar goes with its band, so the bar area closes up.
    if (bar == StatusBar1)
        bar->SetVisible(action->Checked());
    else
        CoolBar1->ShowBand(bar, action->Checked());
    action->SetChecked(!bar->Visible());
}

void TMainForm::acWebPageExecute(TObject* sender) {
    const wchar_t* path = sender == acHelp ? kHelpPath : sender == acQnA ? kQnAPath : kDonatePath;
    const std::wstring url = WebPage(path);
    ShellExecuteW(Handle(), L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
