#include "capture/dlgCaptureRepeat.h"

#include <windows.h>

#include "capture/CaptureDialogHost.h"
#include "core/RegionSelect.h"
#include "forms/BitBtn.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/StdCtrls.h"

TCaptureRepeatDialog* CaptureRepeatDialog = nullptr;

namespace {
TFormDesign RepeatDesign() {
    return DialogDesign(L"Capture Continuity", 214, 127);
}
} // namespace

TCaptureRepeatDialog::TCaptureRepeatDialog(TForm* owner, ICaptureDialogHost& host)
    : TForm(owner, L"CaptureRepeatDialog", RepeatDesign()), host_(host) {
    lblDelay = Make<TLabel>(L"lblDelay", this, L"Delay");
    lblDelay->SetBounds(16, 20, 60, 13);
    SpinEdit1 = Make<TSpinEdit>(L"SpinEdit1", this, 88, 16, 70, kRepeatDelayMin, kRepeatDelayMax, 3);
    Label4 = Make<TLabel>(L"Label4", this, L"sec");
    Label4->SetBounds(164, 20, 40, 13);
    lblCount = Make<TLabel>(L"lblCount", this, L"Count");
    lblCount->SetBounds(16, 52, 60, 13);
    SpinEdit2 = Make<TSpinEdit>(L"SpinEdit2", this, 88, 48, 70, kRepeatCountMin, kRepeatCountMax, 5);
    btnOK = Make<TBitBtn>(L"btnOK", this, TBitBtnKind::bkOK, L"OK", 24, 88);
    btnCancel = Make<TBitBtn>(L"btnCancel", this, TBitBtnKind::bkCancel, L"Cancel", 115, 88);
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TCaptureRepeatDialog::FormCreate(TObject*) {
    host_.TranslateDialog(*this);
}
