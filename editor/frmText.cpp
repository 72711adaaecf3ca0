#include "editor/frmText.h"

#include <windows.h>

#include <algorithm>
#include <set>

#include "core/TextRules.h"
#include "editor/EditorDialogs.h"
#include "forms/BitBtn.h"
#include "forms/ColorComboBox.h"
#include "forms/ComboBox.h"
#include "forms/EditComboBox.h"
#include "forms/Fonts.h"
#include "forms/Form.h"
#include "forms/Handles.h"
#include "forms/Label.h"
#include "forms/StdCtrls.h"

TTextForm* TextForm = nullptr;

namespace {
// The point sizes that the preview accepts; other numbers leave it as it is.
constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 1638;

TFormDesign TextDesign() {
    return DialogDesign(L"Text", 417, 289);
}

int CALLBACK CollectFont(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
    // Only copies a name: nothing here can throw across the enumeration.
    auto* names = reinterpret_cast<std::set<std::wstring>*>(data);
    if (font->lfFaceName[0] != L'@' && font->lfFaceName[0] != L'\0') {
        try {
            names->insert(font->lfFaceName);
        } catch (...) {
            return 0;
        }
    }
    return 1;
}

// An alignment button: a click presses it, but the focus stays where the user was typing.
class TAlignButton : public TRadioButton {
public:
    using TRadioButton::TRadioButton;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        const auto previous = reinterpret_cast<HWND>(wParam);
        if (msg == WM_SETFOCUS && previous && IsChild(GetParent(Handle()), previous)) {
            SetFocus(previous);
            return 0;
        }
        const LRESULT result = TRadioButton::WndProc(msg, wParam, lParam);
        // Checking a radio button makes it a tab stop again; these buttons never are one.
        if (msg == BM_SETCHECK)
            SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) & ~WS_TABSTOP);
        return result;
    }
};
} // namespace

std::vector<std::wstring> ScreenFontNames() {
    std::set<std::wstring> names;
    const TWindowDC dc(nullptr);
    LOGFONTW filter{};
    filter.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc.Get(), &filter, CollectFont, reinterpret_cast<LPARAM>(&names), 0);
    return {names.begin(), names.end()};
}

TTextForm::TTextForm(TForm* owner) : TEditorDialog(owner, L"TextForm", TextDesign()) {
    // The controls are made in their tab order: the text first, then its attributes, then
    // OK and Cancel. The alignment buttons come last and are no tab stops.
    Memo1 = Make<TMemo>(L"Memo1", this, 16, 76, 385, 161, false);
    JvFontComboBox1 = Make<TComboBox>(L"JvFontComboBox1", this);
    JvFontComboBox1->SetBounds(16, 12, 150, 200);
    JvFontComboBox1->SetItems(ScreenFontNames());
    ComboBox1 = Make<TEditComboBox>(L"ComboBox1", this, 172, 12, 52);
    ComboBox1->SetItems({L"8", L"9", L"10", L"11", L"12", L"14", L"16", L"18", L"20", L"22", L"24", L"26",
                         L"28", L"36", L"48", L"72"});
    ComboBox1->SetText(L"16");
    cbBold = Make<TCheckBox>(L"cbBold", this, L"Bold", 234, 14, 50);
    cbItalic = Make<TCheckBox>(L"cbItalic", this, L"Italic", 288, 14, 50);
    cbUnderLine = Make<TCheckBox>(L"cbUnderLine", this, L"Under Line", 340, 14, 74);
    lblTextColor = Make<TLabel>(L"lblTextColor", this, L"Text Color");
    lblTextColor->SetBounds(16, 46, 56, 13);
    JvColorComboBox1 = Make<TColorComboBox>(L"JvColorComboBox1", this);
    JvColorComboBox1->SetBounds(74, 42, 90, 200);
    JvColorComboBox1->SetColorValue(0x000000);
    cbBackColor = Make<TCheckBox>(L"cbBackColor", this, L"Background", 172, 44, 80);
    JvColorComboBox2 = Make<TColorComboBox>(L"JvColorComboBox2", this);
    JvColorComboBox2->SetBounds(254, 42, 80, 200);
    JvColorComboBox2->SetColorValue(0xFFFFFF);
    btnOK = Make<TBitBtn>(L"btnOK", this, TBitBtnKind::bkOK, L"OK", 126, 250);
    btnCancel = Make<TBitBtn>(L"btnCancel", this, TBitBtnKind::bkCancel, L"Cancel", 216, 250);
    // The three alignment buttons: radio buttons that look like push buttons.
    const auto alignButton = [this](const wchar_t* name, const wchar_t* caption, const wchar_t* hint,
                                    int left) {
        auto* button = Make<TAlignButton>(name, this, caption, left, 40, 24, 24);
        SetWindowLongPtrW(button->Handle(), GWL_STYLE,
                          (GetWindowLongPtrW(button->Handle(), GWL_STYLE) | BS_PUSHLIKE) & ~WS_TABSTOP);
        button->SetHint(hint);
        button->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
        return button;
    };
    SpeedButton1 = alignButton(L"SpeedButton1", L"L", L"Left", 340);
    SpeedButton2 = alignButton(L"SpeedButton2", L"C", L"Center", 364);
    SpeedButton3 = alignButton(L"SpeedButton3", L"R", L"Right", 388);
    SpeedButton1->SetChecked(true);

    JvFontComboBox1->OnChange = [this](TObject* s) { JvFontComboBox1Change(s); };
    ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };
    cbBold->OnClick = [this](TObject* s) { cbBoldClick(s); };
    cbItalic->OnClick = [this](TObject* s) { cbItalicClick(s); };
    cbUnderLine->OnClick = [this](TObject* s) { cbUnderLineClick(s); };
    JvColorComboBox1->OnColorChange = [this](TObject* s) { JvColorComboBox1Change(s); };
    cbBackColor->OnClick = [this](TObject* s) { cbBackColorClick(s); };
    cbBackColor->SetChecked(true);
    memoFont_.Name = L"Arial";
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TTextForm::FormCreate(TObject*) {
    TranslateEditorDialog(*this);
    // The translation may give every control the form's font; the preview keeps its own.
    ApplyMemoFont();
}

void TTextForm::ApplyMemoFont() {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(memoFont_.Size, GetDeviceCaps(TWindowDC(nullptr).Get(), LOGPIXELSY), 72);
    lf.lfWeight = memoFont_.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = memoFont_.Italic ? TRUE : FALSE;
    lf.lfUnderline = memoFont_.Underline ? TRUE : FALSE;
    // Korean text is the preview's first use; a face without Hangul keeps the default set,
    // so the preview never shows another face than the one chosen.
    lf.lfCharSet = HANGUL_CHARSET;
    lstrcpynW(lf.lfFaceName, memoFont_.Name.c_str(), LF_FACESIZE);
    TGdiObject font(CreateFontKeepingFace(lf));
    if (!font)
        return;
    SendMessageW(Memo1->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    // The memo holds the new font before the old one is freed.
    font_ = std::move(font);
}

void TTextForm::SetMemoAlignment(int code) {
    memoAlignment_ = code;
    const LONG_PTR align = code == 1 ? ES_CENTER : code == 2 ? ES_RIGHT : ES_LEFT;
    const LONG_PTR style =
        GetWindowLongPtrW(Memo1->Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(ES_CENTER | ES_RIGHT);
    SetWindowLongPtrW(Memo1->Handle(), GWL_STYLE, style | align);
    InvalidateRect(Memo1->Handle(), nullptr, TRUE);
}

void TTextForm::Load(const TTextSettings& settings) {
    TextAlignment = 0;
    memoFont_.Name = settings.FontName;
    const std::vector<std::wstring> fonts = JvFontComboBox1->Items();
    const auto found = std::find(fonts.begin(), fonts.end(), settings.FontName);
    const TNotifyEvent fontChange = std::move(JvFontComboBox1->OnChange);
    JvFontComboBox1->OnChange = nullptr;
    JvFontComboBox1->SetItemIndex(found == fonts.end() ? -1 : static_cast<int>(found - fonts.begin()));
    JvFontComboBox1->OnChange = fontChange;
    ComboBox1->SetText(std::to_wstring(settings.FontSize));
    if (settings.FontSize >= kMinFontSize && settings.FontSize <= kMaxFontSize)
        memoFont_.Size = settings.FontSize;
    cbBold->SetChecked(settings.Bold);
    cbItalic->SetChecked(settings.Italic);
    cbUnderLine->SetChecked(settings.Underline);
    cbBackColor->SetChecked(settings.Frame);
    // A stored code other than 0, 1 or 2 shows as left.
    if (settings.Alignment >= 0 && settings.Alignment <= 2) {
        TextAlignment = settings.Alignment;
        (settings.Alignment == 0   ? SpeedButton1
         : settings.Alignment == 1 ? SpeedButton2
                                   : SpeedButton3)
            ->SetChecked(true);
        SetMemoAlignment(settings.Alignment);
    }
    Memo1->SetText(settings.Content);
    JvColorComboBox1->SetColorValue(settings.PenColor);
    memoFont_.Color = JvColorComboBox1->ColorValue();
    JvColorComboBox2->SetColorValue(settings.FillColor);
    ApplyMemoFont();
}

TTextSettings TTextForm::Results() const {
    TTextSettings r;
    r.Content = Memo1->Text();
    r.FontName = memoFont_.Name;
    r.FontSize = memoFont_.Size;
    r.Bold = cbBold->Checked();
    r.Italic = cbItalic->Checked();
    r.Underline = cbUnderLine->Checked();
    r.Frame = cbBackColor->Checked();
    r.Alignment = TextAlignment;
    r.PenColor = JvColorComboBox1->ColorValue();
    r.FillColor = JvColorComboBox2->ColorValue();
    return r;
}

void TTextForm::JvFontComboBox1Change(TObject*) {
    const int index = JvFontComboBox1->ItemIndex();
    if (index < 0)
        return;
    memoFont_.Name = JvFontComboBox1->Items()[static_cast<std::size_t>(index)];
    ApplyMemoFont();
}

void TTextForm::ComboBox1Change(TObject*) {
    // Only a whole number in the accepted range changes the preview.
    const std::optional<std::int32_t> size = ParseDecimalInt32(ComboBox1->Text());
    if (!size || *size < kMinFontSize || *size > kMaxFontSize)
        return;
    memoFont_.Size = *size;
    ApplyMemoFont();
}

void TTextForm::cbBoldClick(TObject*) {
    memoFont_.Bold = cbBold->Checked();
    ApplyMemoFont();
}

void TTextForm::cbItalicClick(TObject*) {
    memoFont_.Italic = cbItalic->Checked();
    ApplyMemoFont();
}

void TTextForm::cbUnderLineClick(TObject*) {
    memoFont_.Underline = cbUnderLine->Checked();
    ApplyMemoFont();
}

void TTextForm::SpeedButton1Click(TObject* sender) {
    const int code = sender == SpeedButton3 ? 2 : sender == SpeedButton2 ? 1 : 0;
    if (!static_cast<TRadioButton*>(sender)->Checked())
        return;
    TextAlignment = code;
    SetMemoAlignment(code);
}

void TTextForm::JvColorComboBox1Change(TObject*) {
    memoFont_.Color = JvColorComboBox1->ColorValue();
    InvalidateRect(Memo1->Handle(), nullptr, TRUE);
}

void TTextForm::cbBackColorClick(TObject*) {
    JvColorComboBox2->SetEnabled(cbBackColor->Checked());
}

LRESULT TTextForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The preview shows its text in the text colour.
    if (msg == WM_CTLCOLOREDIT && reinterpret_cast<HWND>(lParam) == Memo1->Handle()) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, static_cast<COLORREF>(memoFont_.Color));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && !memoFocused_) {
        // The activation gives the window itself the focus; the text is what one edits.
        const LRESULT result = TForm::WndProc(msg, wParam, lParam);
        memoFocused_ = true;
        SetFocus(Memo1->Handle());
        return result;
    }
    return TForm::WndProc(msg, wParam, lParam);
}

std::optional<TTextSettings> RunTextForm(TForm* owner, const TTextSettings& settings) {
    TFormPtr<TTextForm> dialog = CreateForm<TTextForm>(owner);
    TextForm = dialog.get();
    struct TReset {
        ~TReset() { TextForm = nullptr; }
    } reset;
    dialog->Load(settings);
    if (dialog->ShowModal() != mrOk || dialog->Memo1->Text().empty())
        return std::nullopt;
    return dialog->Results();
}
