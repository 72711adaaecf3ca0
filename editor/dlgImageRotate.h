#pragma once
// The rotate dialog: quarter turns and mirrors of a picture, applied one after another to
// a preview, which is the result on OK.
#include <optional>

#include "core/Bitmap32.h"
#include "editor/EditorDialogs.h"
#include "forms/Form.h"

class TImgView32;
class TButton;

class TImageRotateDialog : public TEditorDialog {
public:
    explicit TImageRotateDialog(TForm* owner);

    TImgView32* Image32;
    TButton* SpeedButton01; // a quarter turn counter-clockwise
    TButton* SpeedButton02; // a quarter turn clockwise
    TButton* SpeedButton04; // mirror left to right
    TButton* SpeedButton05; // mirror top to bottom
    TButton* btnOK;
    TButton* btnCancel;

    void SetPicture(const TBitmap32& picture);

    void FormCreate(TObject* sender);
    void SpeedButton01Click(TObject* sender);
    void SpeedButton02Click(TObject* sender);
    void SpeedButton04Click(TObject* sender);
    void SpeedButton05Click(TObject* sender);

private:
    // Shows the preview after a change in place, fitted anew (a quarter turn swaps the sides).
    void PreviewChanged();
};

extern TImageRotateDialog* ImageRotateDialog;

// Runs the dialog on a picture: the turned picture on OK, nothing on Cancel.
std::optional<TBitmap32> RunImageRotateDialog(TForm* owner, const TBitmap32& picture);
