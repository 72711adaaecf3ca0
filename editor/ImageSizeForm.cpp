#include "editor/ImageSizeForm.h"

#include <windows.h>

#include "core/Bitmap32.h"
#include "core/Bitmap32Ops.h"
#include "core/ImageSizeRules.h"
#include "core/LanguageText.h"
#include "editor/EditorDialogs.h"
#include "forms/BitBtn.h"
#include "forms/Dialogs.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/StdCtrls.h"

namespace {
constexpr int kFieldsWidth = 232;
constexpr int kFieldsHeight = 196;

TFormDesign SizeDesign(const std::wstring& caption, int extraWidth) {
    return DialogDesign(caption, kFieldsWidth + extraWidth, kFieldsHeight);
}

TLabel* MakeLabel(TForm* form, const wchar_t* name, const wchar_t* caption, int left, int top, int width) {
    auto* label = form->Make<TLabel>(name, form, caption);
    label->SetBounds(left, top, width, 13);
    return label;
}
} // namespace

TImageSizeForm::TImageSizeForm(TForm* owner, std::wstring name, const std::wstring& caption,
                               const wchar_t* okName, const wchar_t* cancelName, int extraWidth)
    : TEditorDialog(owner, std::move(name), SizeDesign(caption, extraWidth)) {
    rbSize = Make<TRadioButton>(L"rbSize", this, L"Pixel Dimensions", 12, 10, 200);
    lblWidth = MakeLabel(this, L"lblWidth", L"Width", 30, 38, 56);
    // Sizes stay within what a bitmap can hold; below 1 cannot be typed in.
    SpinEdit1 = Make<TSpinEdit>(L"SpinEdit1", this, 90, 34, 80, 1, TBitmap32::kMaxSide, 1);
    lblPixel1 = MakeLabel(this, L"lblPixel1", L"Pixel", 176, 38, 50);
    lblHeight = MakeLabel(this, L"lblHeight", L"Height", 30, 66, 56);
    SpinEdit2 = Make<TSpinEdit>(L"SpinEdit2", this, 90, 62, 80, 1, TBitmap32::kMaxSide, 1);
    lblPixel2 = MakeLabel(this, L"lblPixel2", L"Pixel", 176, 66, 50);
    cbSizeLink = Make<TCheckBox>(L"cbSizeLink", this, L"Constrain Proportions", 30, 90, 190);
    rbPersent = Make<TRadioButton>(L"rbPersent", this, L"Persent", 12, 122, 76);
    SpinEdit3 = Make<TSpinEdit>(L"SpinEdit3", this, 90, 120, 80, 1, 1000, 50);
    lblPercent = MakeLabel(this, L"lblPercent", L"%", 176, 124, 30);
    const int buttonsLeft = (kFieldsWidth + extraWidth) / 2 - 80;
    ok_ = Make<TBitBtn>(okName, this, TBitBtnKind::bkOK, L"OK", buttonsLeft, 158);
    // OK closes the dialog only for a size that a picture can have (ConfirmSize).
    ok_->ModalResult = mrNone;
    cancel_ = Make<TBitBtn>(cancelName, this, TBitBtnKind::bkCancel, L"Cancel", buttonsLeft + 85, 158);

    // OK names a box that holds no size; leaving a box must not put one in first.
    for (TSpinEdit* box : {SpinEdit1, SpinEdit2, SpinEdit3})
        box->BringIntoRangeOnExit = false;
    rbSize->SetChecked(true);
    cbSizeLink->SetChecked(true);
    SpinEdit3->SetEnabled(false);
    rbSize->OnClick = [this](TObject* s) { rbSizeClick(s); };
    rbPersent->OnClick = [this](TObject* s) { rbPersentClick(s); };
    SpinEdit1->OnChange = [this](TObject* s) { SpinEdit1Change(s); };
    SpinEdit2->OnChange = [this](TObject* s) { SpinEdit2Change(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TImageSizeForm::FormCreate(TObject*) {
    TranslateEditorDialog(*this);
}

void TImageSizeForm::LoadSize(int width, int height) {
    Linking = false;
    OrigWidth = width;
    OrigHeight = height;
    // With the link ticked, the width already yields this height.
    SpinEdit1->SetValue(width);
    SpinEdit2->SetValue(height);
}

int TImageSizeForm::NewWidth() const {
    return SpinEdit1->Value();
}
int TImageSizeForm::NewHeight() const {
    return SpinEdit2->Value();
}

void TImageSizeForm::SpinEdit1Change(TObject*) {
    // An emptied field waits for a number before the other side follows.
    if (!cbSizeLink->Checked() || Linking || SpinEdit1->Caption().empty())
        return;
    if (const std::optional<int> height = LinkedSide(SpinEdit1->Value(), OrigWidth, OrigHeight)) {
        Linking = true;
        SpinEdit2->SetValue(*height);
        Linking = false;
    }
}

void TImageSizeForm::SpinEdit2Change(TObject*) {
    if (!cbSizeLink->Checked() || Linking || SpinEdit2->Caption().empty())
        return;
    if (const std::optional<int> width = LinkedSide(SpinEdit2->Value(), OrigHeight, OrigWidth)) {
        Linking = true;
        SpinEdit1->SetValue(*width);
        Linking = false;
    }
}

void TImageSizeForm::rbSizeClick(TObject*) {
    const bool pixels = rbSize->Checked();
    SpinEdit1->SetEnabled(pixels);
    SpinEdit2->SetEnabled(pixels);
    cbSizeLink->SetEnabled(pixels);
    SpinEdit3->SetEnabled(!pixels);
    SetFocus((pixels ? SpinEdit1 : SpinEdit3)->Handle());
}

void TImageSizeForm::rbPersentClick(TObject* sender) {
    rbSizeClick(sender);
}

bool TImageSizeForm::BoxHoldsNumber(TSpinEdit* box, const TControl* name) {
    if (box->HoldsValueInRange())
        return true;
    // An empty box, or one without a number, is never read as the smallest size.
    const long long range[] = {box->MinValue(), box->MaxValue()};
    MessageDlg(FormatNameAndNumbers(EditorMessageTexts().msgSizeOutOfRange,
                                    RemoveAccelerators(name->Caption()), range),
               TMsgDlgType::Warning, mbOK);
    SetFocus(box->Handle());
    SendMessageW(box->Handle(), EM_SETSEL, 0, -1);
    return false;
}

void TImageSizeForm::ConfirmSize() {
    if (rbPersent->Checked() ? !BoxHoldsNumber(SpinEdit3, rbPersent)
                             : !BoxHoldsNumber(SpinEdit1, lblWidth) || !BoxHoldsNumber(SpinEdit2, lblHeight))
        return;
    int width = NewWidth();
    int height = NewHeight();
    // Each side from its own starting size, not through the proportion rule.
    if (rbPersent->Checked()) {
        width = PercentSide(SpinEdit3->Value(), OrigWidth);
        height = PercentSide(SpinEdit3->Value(), OrigHeight);
    }
    if (!ValidImageSize(width, height)) {
        // No pixels left, or too many for one image: the dialog stays open for another size.
        MessageBeep(MB_ICONWARNING);
        SetFocus((rbPersent->Checked() ? SpinEdit3 : SpinEdit1)->Handle());
        return;
    }
    SpinEdit1->OnChange = nullptr;
    SpinEdit2->OnChange = nullptr;
    SpinEdit1->SetValue(width);
    SpinEdit2->SetValue(height);
    ModalResult = mrOk;
}
