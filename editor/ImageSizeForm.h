#pragma once
// The layout and logic that the image size and canvas size dialogs share: width and height
// in pixels kept in the proportion of the starting size while the link is ticked, or a
// percentage of the starting size, turned into pixels on OK.
#include <string>

#include "editor/EditorDialogs.h"
#include "forms/Form.h"

class TLabel;
class TSpinEdit;
class TCheckBox;
class TRadioButton;
class TButton;
class TControl;

class TImageSizeForm : public TEditorDialog {
public:
    TLabel* lblWidth;
    TSpinEdit* SpinEdit1; // width
    TLabel* lblPixel1;
    TLabel* lblHeight;
    TSpinEdit* SpinEdit2; // height
    TLabel* lblPixel2;
    TCheckBox* cbSizeLink;
    TRadioButton* rbSize;
    TRadioButton* rbPersent;
    TSpinEdit* SpinEdit3; // percentage
    TLabel* lblPercent;

    // The starting size, fixed when the dialog is loaded.
    int OrigWidth = 0;
    int OrigHeight = 0;
    // Set while one size field is updated from the other, so that it does not echo back.
    bool Linking = false;

    // Loads the starting size into the fields (the dialog's first activation).
    void LoadSize(int width, int height);
    int NewWidth() const;
    int NewHeight() const;

    void FormCreate(TObject* sender);
    void SpinEdit1Change(TObject* sender);
    void SpinEdit2Change(TObject* sender);
    void rbSizeClick(TObject* sender);
    void rbPersentClick(TObject* sender);

protected:
    // okName and cancelName are the names of the dialog's OK and Cancel buttons; the form is
    // extraWidth wider than the fields need, for what the dialog adds at the right.
    TImageSizeForm(TForm* owner, std::wstring name, const std::wstring& caption, const wchar_t* okName,
                   const wchar_t* cancelName, int extraWidth);
    // OK: a percentage becomes pixels, each side from its own starting size; the dialog closes
    // only with a size an image can have.
    void ConfirmSize();
    TButton* OkButton() const { return ok_; }
    TButton* CancelButton() const { return cancel_; }

private:
    // True when the box holds a number in its range; otherwise says so, naming the box by
    // its label, and puts the focus back into it.
    bool BoxHoldsNumber(TSpinEdit* box, const TControl* name);
    TButton* ok_;
    TButton* cancel_;
};
