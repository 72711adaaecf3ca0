#include "editor/dlgNewCapture.h"

#include <windows.h>

#include "forms/Form.h"
#include "forms/ColorComboBox.h"
#include "forms/Label.h"
#include "forms/StdCtrls.h"

TNewCaptureDialog* NewCaptureDialog = nullptr;

namespace {
TFormDesign NewDesign() {
    return DialogDesign(L"New", 214, 159);
}
} // namespace

TNewCaptureDialog::TNewCaptureDialog(TForm* owner) : TForm(owner, L"NewCaptureDialog", NewDesign()) {
    lblWidth = Make<TLabel>(L"lblWidth", this, L"Width");
    lblWidth->SetBounds(16, 20, 68, 13);
    SpinEdit1 = Make<TSpinEdit>(L"SpinEdit1", this, 88, 16, 110, kSideMin, kSideMax, 320);
    lblHeight = Make<TLabel>(L"lblHeight", this, L"Height");
    lblHeight->SetBounds(16, 52, 68, 13);
    SpinEdit2 = Make<TSpinEdit>(L"SpinEdit2", this, 88, 48, 110, kSideMin, kSideMax, 200);
    lblBackground = Make<TLabel>(L"lblBackground", this, L"Background");
    lblBackground->SetBounds(16, 84, 68, 13);
    JvColorComboBox1 = Make<TColorComboBox>(L"JvColorComboBox1", this);
    JvColorComboBox1->SetBounds(88, 80, 110, 240);
    btnOK = Make<TButton>(L"btnOK", this, L"OK", 24, 120);
    btnOK->ModalResult = mrOk;
    btnOK->SetDefault(true);
    btnCancel = Make<TButton>(L"btnCancel", this, L"Cancel", 115, 120);
    btnCancel->ModalResult = mrCancel;
    btnCancel->SetCancel(true);
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TNewCaptureDialog::FormCreate(TObject*) {
    if (Translate)
        Translate(*this);
}

void TNewCaptureDialog::FormKeyDown(WORD key) {
    if (key == VK_ESCAPE)
        ModalResult = mrCancel;
    else if (key == VK_RETURN)
        ModalResult = mrOk;
}

void TNewCaptureDialog::SpinEdit1KeyDown(WORD key) {
    if (key == VK_RETURN)
        ModalResult = mrOk;
}

bool TNewCaptureDialog::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        // A focused button answers Enter itself, as buttons do; everywhere else the
        // dialog's keys come first, also over an open colour list.
        const HWND focus = GetFocus();
        if (msg.wParam == VK_RETURN && (focus == btnCancel->Handle() || focus == btnOK->Handle())) {
            (focus == btnCancel->Handle() ? btnCancel : btnOK)->Click();
            return true;
        }
        if (JvColorComboBox1->Handle() && SendMessageW(JvColorComboBox1->Handle(), CB_GETDROPPEDSTATE, 0, 0))
            SendMessageW(JvColorComboBox1->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
        const auto key = static_cast<WORD>(msg.wParam);
        FormKeyDown(key);
        if (focus == SpinEdit1->Handle() || focus == SpinEdit2->Handle() ||
            IsChild(JvColorComboBox1->Handle(), focus) || focus == JvColorComboBox1->Handle())
            SpinEdit1KeyDown(key);
        return true;
    }
    return TForm::PreTranslateMessage(msg);
}
