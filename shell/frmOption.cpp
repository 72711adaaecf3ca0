// The options dialog's layout and handlers.
#include "shell/frmOption.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "core/StoredValues.h"
#include "forms/Actions.h"
#include "forms/Application.h"
#include "forms/BitBtn.h"
#include "forms/ComCtrls.h"
#include "forms/ComboBox.h"
#include "forms/Controls.h"
#include "forms/Dialogs.h"
#include "forms/HotKey.h"
#include "forms/Label.h"
#include "forms/Shape.h"
#include "forms/StdCtrls.h"
#include "resources/toolbar_images.h"
#include "shell/components/BrwsFldr.h"
#include "shell/frmMain.h"

TOptionForm* OptionForm = nullptr;

namespace {
constexpr int kClientWidth = 445;
constexpr int kClientHeight = 333;
constexpr int kMinDelay = 1;
constexpr int kMaxDelay = 65535;
constexpr int kImageTypeJpg = 2;
constexpr int kImageTypeCount = 4;
constexpr int kQualityHigh = 1;
constexpr int kQualityCount = 5;

// The values of a fresh installation, which the Default button brings back.
constexpr int kDefaultScrollDelay = 100;
constexpr int kDefaultCaptureDelay = 500;
constexpr std::array<TShortCut, 11> kDefaultShortCuts = {24688, 24689, 24690, 24691, 24692, 24693,
                                                         24694, 24695, 24696, 24698, 24699};

TFormDesign OptionDesign() {
    TFormDesign d;
    d.Caption = L"Option";
    d.Border = TBorderStyle::Dialog;
    d.Position = TPosition::ScreenCenter;
    d.FontName = L"MS Sans Serif";
    d.FontHeight = -11;
    // The designed size is the client area; the frame comes around it.
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, FALSE,
                       WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME);
    d.Width = r.right - r.left;
    d.Height = r.bottom - r.top;
    return d;
}

// A stored list index brought into the list: a value outside it gives the default.
int StoredIndex(std::int32_t stored, int count, int fallback) {
    return stored >= 0 && stored < count ? static_cast<int>(stored) : fallback;
}
// The chosen index to store: with none chosen (a translated list that came shorter), the
// value held before is kept.
std::int32_t IndexToStore(const TComboBox& box, std::int32_t held) {
    return box.ItemIndex() >= 0 ? box.ItemIndex() : held;
}
} // namespace

TOptionForm::TOptionForm(TMainForm* owner) : TForm(owner, L"OptionForm", OptionDesign()), main_(owner) {
    // Bottom bar with the three buttons.
    Panel1 = Make<TPanel>(L"Panel1", this);
    Panel1->SetBounds(0, kClientHeight - 42, kClientWidth, 42);
    btnDefault = Make<TButton>(L"btnDefault", Panel1, L"Default", 8, 9);
    btnDefault->SetHint(
        L"[기본값]\n처음 설치 되었을때의 설정값으로 기본 환경과 단측 키 설정을\n복구시켜 줍니다.");
    btnOK = Make<TButton>(L"btnOK", Panel1, L"OK", 278, 9);
    btnOK->SetDefault(true);
    btnCancel = Make<TButton>(L"btnCancel", Panel1, L"Cancel", 362, 9);
    btnCancel->ModalResult = mrCancel;
    btnCancel->SetCancel(true);

    // Left strip with the two page buttons, one pressed at a time.
    Panel2 = Make<TPanel>(L"Panel2", this);
    Panel2->SetBounds(0, 0, 97, kClientHeight - 42);
    btnDefaultTab = Make<TRadioButton>(L"btnDefaultTab", Panel2, L"Default", 16, 12, 65, 65);
    btnShortcutTab = Make<TRadioButton>(L"btnShortcutTab", Panel2, L"Shortcut", 16, 85, 65, 65);
    for (TRadioButton* b : {btnDefaultTab, btnShortcutTab})
        SetWindowLongPtrW(b->Handle(), GWL_STYLE, GetWindowLongPtrW(b->Handle(), GWL_STYLE) | BS_PUSHLIKE);
    // The white frame behind the page buttons.
    Shape1 = Make<TShape>(L"Shape1", Panel2);
    Shape1->SetBounds(8, 4, 81, 150);
    Shape1->SetBrushColor(0xFFFFFF);
    SetWindowLongPtrW(Shape1->Handle(), GWL_STYLE,
                      GetWindowLongPtrW(Shape1->Handle(), GWL_STYLE) | WS_CLIPSIBLINGS);
    SetWindowPos(Shape1->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    btnDefaultTab->SetHint(L"프로그램의 기본 환경을 설정하는 페이지로 이동합니다.");
    btnShortcutTab->SetHint(L"캡쳐 시 사용할 단축키를 설정하는 페이지로 이동합니다.");
    btnDefaultTab->SetChecked(true);

    // The Default page.
    Panel01 = Make<TPanel>(L"Panel01", this);
    Panel01->SetBounds(97, 0, kClientWidth - 97, kClientHeight - 42);
    gbCapture1 = Make<TGroupBox>(L"gbCapture1", Panel01, L"Capture", 8, 4, 332, 122);
    cbHideBeforeCapture =
        Make<TCheckBox>(L"cbHideBeforeCapture", gbCapture1, L"Hide before capture", 12, 18, 150);
    cbShowAfterCapture =
        Make<TCheckBox>(L"cbShowAfterCapture", gbCapture1, L"Show after capture", 170, 18, 150);
    cbAutoScroll = Make<TCheckBox>(L"cbAutoScroll", gbCapture1, L"IE Auto Scroll Delay", 12, 42, 150);
    seScrollDelay = Make<TSpinEdit>(L"seScrollDelay", gbCapture1, 170, 40, 70, kMinDelay, kMaxDelay, 100);
    Make<TLabel>(L"Label1", gbCapture1, L"(1/1000 sec)")->SetBounds(246, 44, 80, 13);
    Make<TLabel>(L"Label2", gbCapture1, L"Capture delay")->SetBounds(12, 68, 150, 13);
    seCaptureDelay = Make<TSpinEdit>(L"seCaptureDelay", gbCapture1, 170, 64, 70, kMinDelay, kMaxDelay, 500);
    Make<TLabel>(L"Label3", gbCapture1, L"(1/1000 sec)")->SetBounds(246, 68, 80, 13);
    Make<TLabel>(L"Label4", gbCapture1, L"Default image format")->SetBounds(12, 96, 106, 13);
    cbImageType = Make<TComboBox>(L"cbImageType", gbCapture1);
    cbImageType->SetBounds(120, 92, 52, 200);
    cbImageType->SetItems({L"BMP", L"GIF", L"JPG", L"PNG"});
    Make<TLabel>(L"Label5", gbCapture1, L"Quality")->SetBounds(178, 96, 40, 13);
    cbJPEGQulity = Make<TComboBox>(L"cbJPEGQulity", gbCapture1);
    cbJPEGQulity->SetBounds(220, 92, 100, 200);
    cbJPEGQulity->SetItems({L"Best", L"High", L"Normal", L"Low", L"Worst"});

    gbOutput = Make<TGroupBox>(L"gbOutput", Panel01, L"Output", 8, 132, 332, 98);
    rbOutputEdit = Make<TRadioButton>(L"rbOutputEdit", gbOutput, L"Capture to Editor", 12, 18, 150);
    rbOutputClipboard =
        Make<TRadioButton>(L"rbOutputClipboard", gbOutput, L"Capture to Clipboard", 170, 18, 150);
    rbOutputFolder = Make<TRadioButton>(L"rbOutputFolder", gbOutput, L"Capture to Folder", 12, 42, 150);
    rbOutputEdit->SetChecked(true);
    edtCaptureFolder = Make<TEdit>(L"edtCaptureFolder", gbOutput, 12, 66, 282);
    edtCaptureFolder->SetReadOnly(true);
    Button1 = Make<TButton>(L"Button1", gbOutput, L"...", 298, 65, 22, 22);
    cbSound = Make<TCheckBox>(L"cbSound", Panel01, L"Enable Sound", 16, 242, 150);
    cbIEButton = Make<TCheckBox>(L"cbIEButton", Panel01, L"AddOn IE Button", 176, 242, 150);

    // The Shortcut page.
    Panel02 = Make<TPanel>(L"Panel02", this);
    Panel02->SetBounds(97, 0, kClientWidth - 97, kClientHeight - 42);
    Panel02->SetVisible(false);
    gbCapture2 = Make<TGroupBox>(L"gbCapture2", Panel02, L"Capture", 8, 4, 332, 214);
    gbWindow = Make<TGroupBox>(L"gbWindow", Panel02, L"Window", 8, 222, 332, 64);
    struct TRow {
        THotKey*& Field;
        const wchar_t* Name;
        const wchar_t* Caption;
    };
    const TRow rows[] = {
        {hkControl, L"hkControl", L"Selected Control"},
        {hkWindow, L"hkWindow", L"Selected Window"},
        {hkSelect, L"hkSelect", L"Selected Region"},
        {hkRect, L"hkRect", L"Selected Rectangle"},
        {hkScreen, L"hkScreen", L"Full Screen"},
        {hkDualScreen, L"hkDualScreen", L"Full Screen(Dual Monitor)"},
        {hkRepeat, L"hkRepeat", L"Continuity"},
        {hkIcon, L"hkIcon", L"Window Icon"},
        {hkRecapture, L"hkRecapture", L"Repeat Last Capture"},
        {hkVisible, L"hkVisible", L"Show Tolvex"},
        {hkDisable, L"hkDisable", L"Hide Tolvex"},
    };
    int row = 0;
    for (const TRow& r : rows) {
        // Nine rows in the capture group, then two in the window group.
        TGroupBox* group = row < 9 ? gbCapture2 : gbWindow;
        const int top = row < 9 ? 16 + row * 21 : 16 + (row - 9) * 22;
        Make<TLabel>(L"Label" + std::to_wstring(11 + row), group, r.Caption)->SetBounds(12, top + 3, 150, 13);
        r.Field = Make<THotKey>(r.Name, group, 170, top, 150, 19);
        ++row;
    }

    lblHotKeyTaken = Make<TLabel>(L"lblHotKeyTaken", this,
                                  L"These hotkeys are used by another program and do nothing now:");
    lblHotKeyTaken->SetVisible(false);
    lblHotKeyClash = Make<TLabel>(L"lblHotKeyClash", this,
                                  L"These commands of Tolvex were set to one and the same shortcut:");
    lblHotKeyClash->SetVisible(false);
    BrowseForFolder1 = Make<TBrowseForFolder>(L"BrowseForFolder1");

    SetGlyphs();

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    btnOK->OnClick = [this](TObject* s) { btnOKClick(s); };
    btnDefault->OnClick = [this](TObject* s) { btnDefaultClick(s); };
    btnDefaultTab->OnClick = [this](TObject* s) { btnDefaultTabClick(s); };
    btnShortcutTab->OnClick = [this](TObject* s) { btnShortcutTabClick(s); };
    cbImageType->OnChange = [this](TObject* s) { cbImageTypeChange(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };

    const auto fields = ShortCutFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        openingShortCuts_[i] = fields[i].Action->ShortCut;
}

TOptionForm::~TOptionForm() {
    for (const auto& [button, list] : glyphs_)
        DestroyButtonGlyph(button->Handle(), list);
}

void TOptionForm::SetGlyphs() {
    // The page buttons show their picture above the caption, OK and Default beside it.
    const HIMAGELIST pages = LoadImageStrip(kOptionPageImagesResource, kOptionPageImageSize);
    const HIMAGELIST buttons = LoadImageStrip(kOptionButtonImagesResource, kToolbarImageSize);
    const struct {
        TControl* Button;
        HIMAGELIST Strip;
        int Index;
        UINT Align;
    } glyphs[] = {{btnDefaultTab, pages, 0, BUTTON_IMAGELIST_ALIGN_TOP},
                  {btnShortcutTab, pages, 1, BUTTON_IMAGELIST_ALIGN_TOP},
                  {btnOK, buttons, 0, BUTTON_IMAGELIST_ALIGN_LEFT},
                  {btnDefault, buttons, 1, BUTTON_IMAGELIST_ALIGN_LEFT}};
    for (const auto& g : glyphs)
        if (HIMAGELIST list = SetButtonGlyph(g.Button->Handle(), g.Strip, g.Index, g.Align))
            glyphs_[g.Button] = list;
    for (HIMAGELIST strip : {pages, buttons})
        if (strip)
            ImageList_Destroy(strip);
}

HIMAGELIST TOptionForm::Glyph(const TControl* button) const {
    const auto it = glyphs_.find(button);
    return it == glyphs_.end() ? nullptr : it->second;
}

std::array<TOptionForm::TShortCutField, 11> TOptionForm::ShortCutFields() const {
    const TMainForm& m = *main_;
    return {{{hkControl, m.acCaptureControl, true},
             {hkWindow, m.acCaptureWindow, true},
             {hkSelect, m.acCaptureRegion, true},
             {hkRect, m.acCaptureRect, true},
             {hkScreen, m.acCaptureScreen, true},
             {hkDualScreen, m.acCaptureDualScreen, false},
             {hkRepeat, m.acCaptureContinuity, true},
             {hkIcon, m.acCaptureIcon, false},
             {hkRecapture, m.acCaptureRecapture, true},
             {hkVisible, m.acShow, true},
             {hkDisable, m.acHide, true}}};
}

std::wstring TOptionForm::HotKeyWarning(const std::vector<TAction*>& failed) const {
    const auto fields = ShortCutFields();
    const auto changed = [&](std::size_t i) { return fields[i].Action->ShortCut != openingShortCuts_[i]; };
    const auto refused = [&](std::size_t i) {
        return std::find(failed.begin(), failed.end(), fields[i].Action) != failed.end();
    };
    // Commands that share one combination, each group on one line, when one of them changed.
    std::wstring clashes;
    std::array<bool, 11> grouped{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const TShortCut s = fields[i].Action->ShortCut;
        if (s == 0 || grouped[i])
            continue;
        std::wstring line = fields[i].Action->Caption();
        bool anyChanged = changed(i);
        for (std::size_t j = i + 1; j < fields.size(); ++j) {
            if (fields[j].Action->ShortCut != s)
                continue;
            grouped[i] = grouped[j] = true;
            line += L", " + fields[j].Action->Caption();
            anyChanged = anyChanged || changed(j);
        }
        if (grouped[i] && anyChanged)
            clashes += L"\n" + line;
    }
    // A changed hotkey refused while none of our own commands holds its combination is
    // held by another program.
    std::wstring taken;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!changed(i) || !refused(i))
            continue;
        bool heldByUs = false;
        for (std::size_t j = 0; j < fields.size(); ++j)
            heldByUs = heldByUs || (j != i && fields[j].Global && !refused(j) &&
                                    fields[j].Action->ShortCut == fields[i].Action->ShortCut);
        if (!heldByUs)
            taken += L"\n" + fields[i].Action->Caption();
    }
    std::wstring warning;
    if (!taken.empty())
        warning = lblHotKeyTaken->Caption() + taken;
    if (!clashes.empty())
        warning += (warning.empty() ? L"" : L"\n\n") + lblHotKeyClash->Caption() + clashes;
    return warning;
}

void TOptionForm::FormCreate(TObject*) {
    // Translation comes first: a translated list loses its choice, so values load later.
    main_->ApplyLanguage(this);
}

void TOptionForm::FormActivate(TObject*) {
    OnActivate = nullptr; // the values load once per dialog
    // The long hints of the dialog stay up long enough to be read.
    savedHintHidePause_ = Application->HintHidePause();
    Application->SetHintHidePause(10000);
    const TMainForm& m = *main_;
    cbHideBeforeCapture->SetChecked(m.ReadBool(SettingName::kIsBeforeHide));
    cbShowAfterCapture->SetChecked(m.ReadBool(SettingName::kIsAfterVisible));
    cbAutoScroll->SetChecked(m.acCaptureAutoScroll->Checked());
    seScrollDelay->SetValue(m.ReadInteger(SettingName::kScrollDelay));
    seCaptureDelay->SetValue(m.ReadInteger(SettingName::kCaptureDelay));
    cbImageType->SetItemIndex(
        StoredIndex(m.ReadInteger(SettingName::kSaveImageType), kImageTypeCount, kImageTypeJpg));
    cbJPEGQulity->SetItemIndex(
        StoredIndex(m.ReadInteger(SettingName::kJPEGQulity), kQualityCount, kQualityHigh));
    switch (m.ReadInteger(SettingName::kOutputType)) {
    case 0:
        rbOutputEdit->SetChecked(true);
        break;
    case 1:
        rbOutputClipboard->SetChecked(true);
        break;
    case 2:
        rbOutputFolder->SetChecked(true);
        edtCaptureFolder->SetText(m.ReadString(SettingName::kOutputFolder));
        break;
    default:
        break; // an unknown destination leaves the designed Editor choice
    }
    cbJPEGQulity->SetEnabled(cbImageType->ItemIndex() == kImageTypeJpg);
    cbSound->SetChecked(m.ReadBool(SettingName::kIsSound));
    cbIEButton->SetChecked(m.ReadBool(SettingName::kIsIEButton));
    for (const TShortCutField& f : ShortCutFields())
        f.Field->SetHotKey(f.Action->ShortCut);
}

void TOptionForm::FormDestroy(TObject*) {
    if (savedHintHidePause_)
        Application->SetHintHidePause(*savedHintHidePause_);
}

void TOptionForm::ShowDefaultPage() {
    btnDefaultTab->SetChecked(true);
    btnDefaultTabClick(btnDefaultTab);
}

void TOptionForm::btnOKClick(TObject*) {
    if (rbOutputFolder->Checked() && edtCaptureFolder->Text().empty()) {
        MessageDlg(main_->msgEmptyPath, TMsgDlgType::Warning, mbOK);
        ShowDefaultPage();
        SetFocus(edtCaptureFolder->Handle());
        ModalResult = mrNone;
        return;
    }
    TFormStorage& store = main_->JvFormStorage1;
    store.SetStoredValue(SettingName::kIsBeforeHide, cbHideBeforeCapture->Checked());
    store.SetStoredValue(SettingName::kIsAfterVisible, cbShowAfterCapture->Checked());
    main_->acCaptureAutoScroll->SetChecked(cbAutoScroll->Checked());
    store.SetStoredValue(SettingName::kScrollDelay, static_cast<std::int32_t>(seScrollDelay->Value()));
    store.SetStoredValue(SettingName::kCaptureDelay, static_cast<std::int32_t>(seCaptureDelay->Value()));
    store.SetStoredValue(SettingName::kSaveImageType,
                         IndexToStore(*cbImageType, main_->ReadInteger(SettingName::kSaveImageType)));
    store.SetStoredValue(SettingName::kJPEGQulity,
                         IndexToStore(*cbJPEGQulity, main_->ReadInteger(SettingName::kJPEGQulity)));
    if (rbOutputEdit->Checked()) {
        store.SetStoredValue(SettingName::kOutputType, std::int32_t{0});
    } else if (rbOutputClipboard->Checked()) {
        store.SetStoredValue(SettingName::kOutputType, std::int32_t{1});
    } else {
        store.SetStoredValue(SettingName::kOutputType, std::int32_t{2});
        if (rbOutputFolder->Checked())
            store.SetStoredValue(SettingName::kOutputFolder, edtCaptureFolder->Text());
    }
    store.SetStoredValue(SettingName::kIsSound, cbSound->Checked());
    store.SetStoredValue(SettingName::kIsIEButton, cbIEButton->Checked());
    for (const TShortCutField& f : ShortCutFields())
        f.Action->ShortCut = f.Field->HotKey();
    ModalResult = mrOk;
}

void TOptionForm::btnDefaultClick(TObject*) {
    cbHideBeforeCapture->SetChecked(true);
    cbShowAfterCapture->SetChecked(true);
    cbAutoScroll->SetChecked(true);
    seScrollDelay->SetValue(kDefaultScrollDelay);
    rbOutputEdit->SetChecked(true);
    seCaptureDelay->SetValue(kDefaultCaptureDelay);
    cbImageType->SetItemIndex(kImageTypeJpg);
    cbJPEGQulity->SetItemIndex(kQualityHigh);
    cbJPEGQulity->SetEnabled(true);
    cbSound->SetChecked(true);
    cbIEButton->SetChecked(true);
    const auto fields = ShortCutFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i].Field->SetHotKey(kDefaultShortCuts[i]);
}

void TOptionForm::btnDefaultTabClick(TObject*) {
    Panel01->SetVisible(true);
    Panel02->SetVisible(false);
}

void TOptionForm::btnShortcutTabClick(TObject*) {
    Panel02->SetVisible(true);
    Panel01->SetVisible(false);
}

void TOptionForm::cbImageTypeChange(TObject*) {
    cbJPEGQulity->SetEnabled(cbImageType->ItemIndex() == kImageTypeJpg);
}

void TOptionForm::Button1Click(TObject*) {
    if (BrowseForFolder1->Execute())
        edtCaptureFolder->SetText(BrowseForFolder1->Path);
}
