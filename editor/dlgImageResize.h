#pragma once
// The image size dialog: a new width and height for resampling the picture.
#include <optional>

#include "core/Bitmap32.h"
#include "editor/ImageSizeForm.h"

class TImageResizeForm : public TImageSizeForm {
public:
    explicit TImageResizeForm(TForm* owner);

    TBitBtn* btnOK;
    TBitBtn* btnCancel;

    void btnOKClick(TObject* sender);
};

extern TImageResizeForm* ImageResizeForm;

// Runs the dialog for a picture: the picture resampled (nearest neighbour) to the chosen
// size on OK, nothing on Cancel.
std::optional<TBitmap32> RunImageResizeForm(TForm* owner, const TBitmap32& picture);
