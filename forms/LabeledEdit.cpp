#include "forms/LabeledEdit.h"

#include <windows.h>

namespace {
// The gap between the label's bottom and the edit box.
constexpr int kLabelSpacing = 3;
} // namespace

TLabeledEdit::TLabeledEdit(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& labelCaption)
    : TControl(owner, std::move(name), parent) {
    CreateStandardWindow(L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                         parent->Handle(), 0, 0, 121, 21);
    // The attached label has no name of its own: the language file reaches it through
    // the edit's name.
    label_ = std::make_unique<TLabel>(owner, std::wstring{}, parent, labelCaption);
    PlaceLabel();
}

TLabeledEdit::~TLabeledEdit() = default;

void TLabeledEdit::SetLabelCaption(const std::wstring& caption) {
    label_->SetCaption(caption);
    PlaceLabel();
}

void TLabeledEdit::PlaceLabel() {
    if (!label_ || !label_->Handle())
        return;
    const RECT edit = BoundsRect();
    SetWindowPos(label_->Handle(), nullptr, edit.left, edit.top - label_->Height() - kLabelSpacing, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TLabeledEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = TControl::WndProc(msg, wParam, lParam);
    if (msg == WM_WINDOWPOSCHANGED)
        PlaceLabel();
    else if (msg == WM_SHOWWINDOW && label_)
        label_->SetVisible(wParam != 0);
    return result;
}

bool TLabeledEdit::HandleCommand(WORD code, WORD) {
    if (code != EN_CHANGE)
        return false;
    if (OnChange)
        OnChange(this);
    return true;
}
