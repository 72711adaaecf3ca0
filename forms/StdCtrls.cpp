#include "forms/StdCtrls.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "core/TextRules.h"
#include "forms/Form.h"

namespace {
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

// The form a control belongs to, for its modal result.
TForm* FormOf(TControl* control) {
    return control->Owner();
}
} // namespace

TButton::TButton(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption, int left,
                 int top, int width, int height)
    : TControl(owner, std::move(name), parent) {
    CreateStandardWindow(WC_BUTTONW, kChild | BS_PUSHBUTTON, 0, parent->Handle(), left, top, width, height);
    SetCaption(caption);
}

void TButton::SetDefault(bool isDefault) {
    LONG_PTR style =
        GetWindowLongPtrW(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(BS_DEFPUSHBUTTON | BS_PUSHBUTTON);
    SendMessageW(Handle(), BM_SETSTYLE,
                 static_cast<WPARAM>(style | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)), TRUE);
    // The dialog manager sends IDOK for Enter to the default button's id.
    if (isDefault)
        SetWindowLongPtrW(Handle(), GWLP_ID, IDOK);
}

void TButton::Click() {
    if (OnClick)
        OnClick(this);
    if (ModalResult != 0 && FormOf(this))
        FormOf(this)->ModalResult = ModalResult;
}

bool TButton::HandleCommand(WORD code, WORD) {
    if (code != BN_CLICKED)
        return false;
    Click();
    return true;
}

TEdit::TEdit(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int height,
             DWORD extraStyle)
    : TControl(owner, std::move(name), parent) {
    // A multi-line box wraps its lines; an edit box takes this only when it is created.
    const DWORD scroll = (extraStyle & ES_MULTILINE) ? 0 : ES_AUTOHSCROLL;
    CreateStandardWindow(WC_EDITW, kChild | scroll | extraStyle, WS_EX_CLIENTEDGE, parent->Handle(), left,
                         top, width, height);
}

void TEdit::SetText(const std::wstring& text) {
    if (Caption() == text)
        return;
    settingText_ = true;
    SetCaption(text);
    settingText_ = false;
    if (OnChange)
        OnChange(this);
}

void TEdit::SetReadOnly(bool readOnly) {
    SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0);
}

bool TEdit::HandleCommand(WORD code, WORD) {
    if (code != EN_CHANGE)
        return false;
    // A change made by SetText raises its event there, once.
    if (!settingText_ && OnChange)
        OnChange(this);
    return true;
}

TMemo::TMemo(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int height,
             bool wordWrap)
    : TEdit(owner, std::move(name), parent, left, top, width, height,
            ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | (wordWrap ? 0 : ES_AUTOHSCROLL)) {}

TCheckBox::TCheckBox(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption, int left,
                     int top, int width, int height)
    : TControl(owner, std::move(name), parent) {
    CreateStandardWindow(WC_BUTTONW, kChild | BS_AUTOCHECKBOX, 0, parent->Handle(), left, top, width, height);
    SetCaption(caption);
}

bool TCheckBox::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
    if (Checked() == checked)
        return;
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick)
        OnClick(this);
}

bool TCheckBox::HandleCommand(WORD code, WORD) {
    if (code != BN_CLICKED)
        return false;
    if (OnClick)
        OnClick(this);
    return true;
}

TRadioButton::TRadioButton(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption,
                           int left, int top, int width, int height)
    : TControl(owner, std::move(name), parent) {
    CreateStandardWindow(WC_BUTTONW, kChild | BS_AUTORADIOBUTTON, 0, parent->Handle(), left, top, width,
                         height);
    SetCaption(caption);
}

bool TRadioButton::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool checked) {
    if (Checked() == checked)
        return;
    if (checked) {
        // The other buttons of the same parent are cleared, as a click does.
        for (TComponent* c : Owner()->Components())
            if (auto* other = dynamic_cast<TRadioButton*>(c);
                other && other != this && other->Parent() == Parent())
                SendMessageW(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick)
        OnClick(this);
}

bool TRadioButton::HandleCommand(WORD code, WORD) {
    if (code != BN_CLICKED)
        return false;
    if (OnClick)
        OnClick(this);
    return true;
}

TBevel::TBevel(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int height)
    : TControl(owner, std::move(name), parent) {
    // Made after the controls it surrounds, it lies below them; clipping its siblings keeps
    // its face from painting over them.
    CreateStandardWindow(WC_STATICW, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFT | SS_SUNKEN, 0,
                         parent->Handle(), left, top, width, height);
}

TGroupBox::TGroupBox(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption, int left,
                     int top, int width, int height)
    : TControl(owner, std::move(name), parent) {
    CreateStandardWindow(WC_BUTTONW, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, WS_EX_CONTROLPARENT,
                         parent->Handle(), left, top, width, height);
    SetCaption(caption);
}

LRESULT TGroupBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The controls inside the frame are its children: their notifications come here and
    // go on to their own objects, and their colours are asked of the form.
    if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN || msg == WM_CTLCOLOREDIT)
        return SendMessageW(GetParent(Handle()), msg, wParam, lParam);
    // The frame paints its own face: a parent that clips its children leaves it unpainted.
    if (msg == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(Handle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return TControl::WndProc(msg, wParam, lParam);
}

TSpinEdit::TSpinEdit(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width,
                     int minValue, int maxValue, int value, int height)
    : TControl(owner, std::move(name), parent), min_(std::min(minValue, maxValue)),
      max_(std::max(minValue, maxValue)) {
    CreateStandardWindow(WC_EDITW, kChild | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent->Handle(), left, top,
                         width, height);
    upDown_ = CreateWindowExW(0, UPDOWN_CLASSW, nullptr,
                              WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS |
                                  UDS_NOTHOUSANDS,
                              0, 0, 0, 0, parent->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
    SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    settingValue_ = true;
    SetCaption(std::to_wstring(std::clamp(value, min_, max_)));
    settingValue_ = false;
}

TSpinEdit::~TSpinEdit() {
    if (upDown_ && IsWindow(upDown_))
        DestroyWindow(upDown_);
}

int TSpinEdit::Value() const {
    const std::wstring text = Caption();
    // Only the digits and a leading sign count; anything else reads as the range allows.
    std::wstring number;
    for (wchar_t c : text)
        if ((c >= L'0' && c <= L'9') || (c == L'-' && number.empty()))
            number += c;
    const std::optional<std::int32_t> parsed = ParseDecimalInt32(number);
    if (!parsed) {
        const bool hasDigits = number.find_first_of(L"0123456789") != std::wstring::npos;
        return hasDigits ? (number[0] == L'-' ? min_ : max_) : min_;
    }
    return std::clamp(static_cast<int>(*parsed), min_, max_);
}

LRESULT TSpinEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = TControl::WndProc(msg, wParam, lParam);
    // Leaving the box for another control of its window shows the value it stands for; a
    // window that closes or loses the foreground leaves the text as typed.
    if (msg == WM_KILLFOCUS && Handle() && BringIntoRangeOnExit) {
        const auto next = reinterpret_cast<HWND>(wParam);
        if (next && GetAncestor(next, GA_ROOT) == GetAncestor(Handle(), GA_ROOT))
            SetValue(Value());
    }
    return result;
}

int TSpinEdit::TypedValue() const {
    const std::optional<std::int32_t> typed = ParseDecimalInt32(Caption());
    return typed ? static_cast<int>(*typed) : Value();
}

bool TSpinEdit::HoldsValueInRange() const {
    const std::wstring text = Caption();
    const std::optional<std::int32_t> number = ParseDecimalInt32(TrimBlanks(text));
    return number && *number >= min_ && *number <= max_;
}

void TSpinEdit::SetValue(int value) {
    value = std::clamp(value, min_, max_);
    if (Caption() == std::to_wstring(value))
        return;
    const int before = Value();
    settingValue_ = true;
    SetCaption(std::to_wstring(value));
    settingValue_ = false;
    if (before != value && OnChange)
        OnChange(this);
}

void TSpinEdit::SetRange(int minValue, int maxValue) {
    min_ = std::min(minValue, maxValue);
    max_ = std::max(minValue, maxValue);
    SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SetValue(Value());
}

bool TSpinEdit::HandleCommand(WORD code, WORD) {
    if (code != EN_CHANGE)
        return false;
    if (!settingValue_ && OnChange)
        OnChange(this);
    return true;
}
