#include "editor/dlgImageResize.h"

#include "core/Bitmap32Ops.h"
#include "forms/BitBtn.h"
#include "forms/StdCtrls.h"

TImageResizeForm* ImageResizeForm = nullptr;

TImageResizeForm::TImageResizeForm(TForm* owner)
    : TImageSizeForm(owner, L"ImageResizeForm", L"Resize Image", L"btnOK", L"btnCancel", 0) {
    btnOK = OkButton();
    btnCancel = CancelButton();
    btnOK->OnClick = [this](TObject* s) { btnOKClick(s); };
}

void TImageResizeForm::btnOKClick(TObject*) {
    ConfirmSize();
}

std::optional<TBitmap32> RunImageResizeForm(TForm* owner, const TBitmap32& picture) {
    TFormPtr<TImageResizeForm> dialog = CreateForm<TImageResizeForm>(owner);
    ImageResizeForm = dialog.get();
    struct TReset {
        ~TReset() { ImageResizeForm = nullptr; }
    } reset;
    dialog->LoadSize(picture.Width(), picture.Height());
    if (dialog->ShowModal() != mrOk)
        return std::nullopt;
    return ResampleNearest(picture, dialog->NewWidth(), dialog->NewHeight());
}
