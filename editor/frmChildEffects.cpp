// The document's effects and transforms: pixel effects, the effect dialog, quarter turns and
// flips, crop to the selection, resampling and the canvas size. A floating selection takes
// the change alone and records nothing (its merge records it later); the image records the
// untouched state on the first change and the result after each.
#include <utility>

#include "core/Bitmap32Ops.h"
#include "core/EffectLib.h"
#include "editor/dlgImageCrop.h"
#include "editor/dlgImageEffect.h"
#include "editor/dlgImageResize.h"
#include "editor/dlgImageRotate.h"
#include "editor/frmChild.h"
#include "editor/frmTool.h"

namespace {
// The tool window may be missing (a test program, an early failure at start-up).
TColor32 FillColor32() {
    return Color32(ToolForm ? ToolForm->FillColor : 0xFFFFFF);
}

// The picture an effect or a turn starts from: the selection's when one floats.
const TBitmap32& WorkingPicture(TBitmapLayer* layer, TImgView32& view) {
    return layer ? layer->Bitmap() : view.Bitmap();
}
} // namespace

template <class TChange> void TChildForm::ChangeImageWithHistory(TChange&& change) {
    if (History->Index() < 0)
        PushHistory();
    std::forward<TChange>(change)(ImgView32->Bitmap());
    ImgView32->BitmapChanged();
    PushHistory();
}

void TChildForm::AutoContrast() {
    if (TBitmapLayer* layer = GetFloatingLayer()) {
        EffectAutoContrast(layer->Bitmap());
        layer->BitmapChanged();
        return;
    }
    ChangeImageWithHistory([](TBitmap32& image) { EffectAutoContrast(image); });
}

void TChildForm::InvertImage() {
    if (TBitmapLayer* layer = GetFloatingLayer()) {
        // An opaque selection shows no transparency, so its inverse keeps none either; the
        // layer's master alpha still applies when it is drawn, so it is not baked in here.
        TBitmap32& picture = layer->Bitmap();
        if (layer->DrawMode() == TDrawMode::dmOpaque)
            picture.ResetAlpha();
        InvertRGB(picture);
        layer->SetDrawMode(TDrawMode::dmBlend);
        layer->BitmapChanged();
        return;
    }
    // The colours turn over; the image's transparency stays, so an opaque picture is not
    // saved as an invisible one.
    ChangeImageWithHistory([](TBitmap32& image) { InvertRGB(image); });
}

void TChildForm::GrayscaleImage() {
    if (TBitmapLayer* layer = GetFloatingLayer()) {
        ColorToGrayscale(layer->Bitmap());
        layer->SetDrawMode(TDrawMode::dmBlend);
        layer->BitmapChanged();
        return;
    }
    ChangeImageWithHistory([](TBitmap32& image) { ColorToGrayscale(image); });
}

void TChildForm::ApplyEffect(const std::wstring& effectName, const std::wstring& title) {
    TBitmapLayer* layer = GetFloatingLayer();
    std::optional<TBitmap32> result =
        RunImageEffectDialog(this, effectName, title, WorkingPicture(layer, *ImgView32));
    if (!result)
        return;
    if (layer) {
        layer->Bitmap() = std::move(*result);
        layer->SetDrawMode(TDrawMode::dmBlend);
        layer->BitmapChanged();
        return;
    }
    ChangeImageWithHistory([&](TBitmap32& image) { image = std::move(*result); });
}

void TChildForm::RotateImage() {
    TBitmapLayer* layer = GetFloatingLayer();
    std::optional<TBitmap32> result = RunImageRotateDialog(this, WorkingPicture(layer, *ImgView32));
    if (!result)
        return;
    if (!layer) {
        ChangeImageWithHistory([&](TBitmap32& image) { image = std::move(*result); });
        return;
    }
    const bool turned = result->Width() != layer->Bitmap().Width();
    layer->Bitmap() = std::move(*result);
    layer->BitmapChanged();
    if (turned && SelectionBand) {
        // A quarter turn swaps the outline's sides about its top-left corner, so the turned
        // picture is not stretched into the old shape.
        const TFloatRect loc = SelectionBand->Location();
        SelectionBand->SetLocation(TFloatRect{loc.Left, loc.Top, loc.Left + (loc.Bottom - loc.Top),
                                              loc.Top + (loc.Right - loc.Left)});
    }
}

void TChildForm::CropToSelection() {
    const TBitmapLayer* layer = GetFloatingLayer();
    if (!layer)
        return;
    if (History->Index() < 0)
        PushHistory();
    // The selection's own pixels at its bitmap's size, over the fill colour where it is
    // transparent; the outline's stretch does not matter.
    const TBitmap32& picture = layer->Bitmap();
    TBitmap32 cropped(picture.Width(), picture.Height(), FillColor32());
    Draw(cropped, 0, 0, picture, layer->DrawMode(), layer->MasterAlpha());
    // Dropping the selection frees the layer, so the picture was copied first.
    SetFloatingLayer(nullptr);
    ImgView32->SetBitmap(cropped);
    PushHistory();
}

void TChildForm::ResizeImage() {
    TFormPtr<TImageResizeForm> dialog = CreateForm<TImageResizeForm>(this);
    ImageResizeForm = dialog.get();
    struct TReset {
        ~TReset() { ImageResizeForm = nullptr; }
    } reset;
    dialog->LoadSize(ImgView32->Bitmap().Width(), ImgView32->Bitmap().Height());
    if (dialog->ShowModal() != mrOk)
        return;
    const int width = dialog->NewWidth();
    const int height = dialog->NewHeight();
    if (!ValidImageSize(width, height))
        return;
    CommitFloatingLayer();
    ChangeImageWithHistory([&](TBitmap32& image) { image = ResampleNearest(image, width, height); });
}

void TChildForm::ResizeCanvas() {
    TFormPtr<TImageCropForm> dialog = CreateForm<TImageCropForm>(this);
    ImageCropForm = dialog.get();
    struct TReset {
        ~TReset() { ImageCropForm = nullptr; }
    } reset;
    dialog->LoadSize(ImgView32->Bitmap().Width(), ImgView32->Bitmap().Height());
    if (dialog->ShowModal() != mrOk)
        return;
    const int width = dialog->NewWidth();
    const int height = dialog->NewHeight();
    const int anchor = dialog->Anchor();
    if (!ValidImageSize(width, height))
        return;
    CommitFloatingLayer();
    const TDrawMode mode = ImgView32->BitmapDrawMode();
    ChangeImageWithHistory(
        [&](TBitmap32& image) { image = ::ResizeCanvas(image, width, height, anchor, FillColor32(), mode); });
}
