#pragma once
// The new-image dialog: width, height and background colour of a blank image.
#include <functional>

#include "forms/Form.h"

class TButton;
class TColorComboBox;
class TLabel;
class TSpinEdit;

class TNewCaptureDialog : public TForm {
public:
    static constexpr int kSideMin = 1;
    static constexpr int kSideMax = 5120;

    explicit TNewCaptureDialog(TForm* owner);

    TLabel *lblWidth, *lblHeight, *lblBackground;
    TSpinEdit *SpinEdit1, *SpinEdit2;
    TColorComboBox* JvColorComboBox1;
    TButton *btnOK, *btnCancel;

    void FormCreate(TObject* sender);
    // Sees every key first: Esc cancels, Enter confirms.
    void FormKeyDown(WORD key);
    // Enter in the width, height or colour box confirms.
    void SpinEdit1KeyDown(WORD key);
    bool PreTranslateMessage(MSG& msg) override;

    // Translates a dialog when it is created; the main window sets it.
    static inline std::function<void(TForm&)> Translate;
};

// The live dialog while the New command runs it.
extern TNewCaptureDialog* NewCaptureDialog;
