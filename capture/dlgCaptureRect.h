#pragma once
// The "Capture Rectangle" dialog: the width and height of the fixed-size rectangle,
// typed or chosen from a list of common screen sizes. OK remembers the size in the
// settings and saves them at once.
#include <windows.h>

#include "forms/Form.h"

class ICaptureDialogHost;
class TBitBtn;
class TComboBox;
class TLabel;
class TSpinEdit;

class TCaptureRecDialog : public TForm {
public:
    TCaptureRecDialog(TForm* owner, ICaptureDialogHost& host);

    TLabel* lblWidth;
    TSpinEdit* SpinEdit1;
    TLabel* lblHeight;
    TSpinEdit* SpinEdit2;
    TLabel* lblSelect;
    TComboBox* ComboBox1;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;

    void FormCreate(TObject* sender);
    void ComboBox1Change(TObject* sender);
    void BitBtn1Click(TObject* sender);

private:
    ICaptureDialogHost& host_;
};

extern TCaptureRecDialog* CaptureRecDialog;
