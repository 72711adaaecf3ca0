#include "editor/dlgImageRotate.h"

#include <windows.h>

#include "core/Bitmap32Ops.h"
#include "editor/EditorDialogs.h"
#include "forms/Form.h"
#include "forms/ImgView32.h"
#include "forms/StdCtrls.h"

TImageRotateDialog* ImageRotateDialog = nullptr;

namespace {
TFormDesign RotateDesign() {
    return DialogDesign(L"Image Rotate", 352, 300);
}
} // namespace

TImageRotateDialog::TImageRotateDialog(TForm* owner)
    : TEditorDialog(owner, L"ImageRotateDialog", RotateDesign()) {
    Image32 = Make<TImgView32>(L"Image32", this);
    Image32->SetBounds(16, 12, 320, 200);
    SetupPreview(*Image32);
    // The four operations in a row under the preview; their captions say what they do.
    SpeedButton01 = Make<TButton>(L"SpeedButton01", this, L"Left 90", 16, 222, 76);
    SpeedButton02 = Make<TButton>(L"SpeedButton02", this, L"Right 90", 97, 222, 76);
    SpeedButton04 = Make<TButton>(L"SpeedButton04", this, L"Flip Horz", 178, 222, 76);
    SpeedButton05 = Make<TButton>(L"SpeedButton05", this, L"Flip Vert", 259, 222, 76);
    btnOK = Make<TButton>(L"btnOK", this, L"OK", 96, 264);
    btnOK->ModalResult = mrOk;
    btnOK->SetDefault(true);
    btnCancel = Make<TButton>(L"btnCancel", this, L"Cancel", 181, 264);
    btnCancel->ModalResult = mrCancel;
    btnCancel->SetCancel(true);
    SpeedButton01->OnClick = [this](TObject* s) { SpeedButton01Click(s); };
    SpeedButton02->OnClick = [this](TObject* s) { SpeedButton02Click(s); };
    SpeedButton04->OnClick = [this](TObject* s) { SpeedButton04Click(s); };
    SpeedButton05->OnClick = [this](TObject* s) { SpeedButton05Click(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TImageRotateDialog::FormCreate(TObject*) {
    TranslateEditorDialog(*this);
}

void TImageRotateDialog::SetPicture(const TBitmap32& picture) {
    Image32->SetBitmap(picture);
    FitPreview(*Image32);
}

void TImageRotateDialog::PreviewChanged() {
    Image32->BitmapChanged();
    FitPreview(*Image32);
}

void TImageRotateDialog::SpeedButton01Click(TObject*) {
    Rotate270(Image32->Bitmap());
    PreviewChanged();
}

void TImageRotateDialog::SpeedButton02Click(TObject*) {
    Rotate90(Image32->Bitmap());
    PreviewChanged();
}

void TImageRotateDialog::SpeedButton04Click(TObject*) {
    FlipHorz(Image32->Bitmap());
    PreviewChanged();
}

void TImageRotateDialog::SpeedButton05Click(TObject*) {
    FlipVert(Image32->Bitmap());
    PreviewChanged();
}

std::optional<TBitmap32> RunImageRotateDialog(TForm* owner, const TBitmap32& picture) {
    TFormPtr<TImageRotateDialog> dialog = CreateForm<TImageRotateDialog>(owner);
    ImageRotateDialog = dialog.get();
    struct TReset {
        ~TReset() { ImageRotateDialog = nullptr; }
    } reset;
    dialog->SetPicture(picture);
    if (dialog->ShowModal() != mrOk)
        return std::nullopt;
    return dialog->Image32->Bitmap();
}
