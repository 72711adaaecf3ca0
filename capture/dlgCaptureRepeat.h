#pragma once
// The "Capture Continuity" dialog: the delay between the pages of a timed series, in
// seconds, and the number of pages. It remembers nothing: it opens with 3 and 5.
#include <windows.h>

#include "forms/Form.h"

class ICaptureDialogHost;
class TBitBtn;
class TLabel;
class TSpinEdit;

class TCaptureRepeatDialog : public TForm {
public:
    TCaptureRepeatDialog(TForm* owner, ICaptureDialogHost& host);

    TLabel* lblDelay;
    TSpinEdit* SpinEdit1;
    TLabel* Label4;
    TLabel* lblCount;
    TSpinEdit* SpinEdit2;
    TBitBtn* btnOK;
    TBitBtn* btnCancel;

    void FormCreate(TObject* sender);

private:
    ICaptureDialogHost& host_;
};

extern TCaptureRepeatDialog* CaptureRepeatDialog;
