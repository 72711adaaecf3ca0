#include "editor/dlgImageCrop.h"

#include <windows.h>

#include <cstdlib>

#include "core/Bitmap32Ops.h"
#include "forms/BitBtn.h"
#include "forms/ComCtrls.h"
#include "forms/StdCtrls.h"
#include "resources/toolbar_images.h"

TImageCropForm* ImageCropForm = nullptr;

namespace {
constexpr int kGridLeft = 236;
constexpr int kCell = 28;
} // namespace

int AnchorMarkIndex(int button, int anchor) {
    const int r = (button - 1) / 3;
    const int c = (button - 1) % 3;
    const int ar = (anchor - 1) / 3;
    const int ac = (anchor - 1) % 3;
    if (std::abs(r - ar) > 1 || std::abs(c - ac) > 1)
        return -1;
    return (r - ar + 1) * 3 + (c - ac + 1);
}

TImageCropForm::TImageCropForm(TForm* owner)
    : TImageSizeForm(owner, L"ImageCropForm", L"Resize Canvas", L"BitBtn1", L"BitBtn2", 120) {
    BitBtn1 = OkButton();
    BitBtn2 = CancelButton();
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    GroupBox1 = Make<TGroupBox>(L"GroupBox1", this, L"Sort", kGridLeft, 10, 108, 112);
    for (int i = 0; i < 9; ++i) {
        auto* button = Make<TRadioButton>(L"SpeedButton" + std::to_wstring(i + 1), GroupBox1, L"",
                                          12 + (i % 3) * kCell, 20 + (i / 3) * kCell, kCell - 2, kCell - 2);
        // Radio buttons that look like push buttons: the down one is the anchor.
        SetWindowLongPtrW(button->Handle(), GWL_STYLE,
                          GetWindowLongPtrW(button->Handle(), GWL_STYLE) | BS_PUSHLIKE);
        button->OnClick = [this](TObject* s) { SpeedButtonClick(s); };
        SpeedButtons[static_cast<std::size_t>(i)] = button;
    }
    ImageList1 = LoadImageStrip(kAnchorImagesResource, kAnchorImageSize);
    for (int i = 0; i < 9; ++i)
        anchorImages_[static_cast<std::size_t>(i)] = GlyphList(ImageList1, i);
    SpeedButtons[0]->SetChecked(true);
}

TImageCropForm::~TImageCropForm() {
    // The buttons let go of the pictures before the lists go.
    for (TRadioButton* button : SpeedButtons)
        ShowButtonGlyph(button->Handle(), nullptr, BUTTON_IMAGELIST_ALIGN_CENTER);
    for (HIMAGELIST list : anchorImages_)
        if (list)
            ImageList_Destroy(list);
    if (ImageList1)
        ImageList_Destroy(ImageList1);
}

HIMAGELIST TImageCropForm::AnchorImage(int index) const {
    return index >= 0 && index < 9 ? anchorImages_[static_cast<std::size_t>(index)] : nullptr;
}

int TImageCropForm::Anchor() const {
    for (std::size_t i = 0; i < SpeedButtons.size(); ++i)
        if (SpeedButtons[i]->Checked())
            return static_cast<int>(i) + 1;
    return 1;
}

void TImageCropForm::SetAnchor(int anchor) {
    if (anchor >= 1 && anchor <= 9)
        SpeedButtons[static_cast<std::size_t>(anchor - 1)]->SetChecked(true);
}

void TImageCropForm::SpeedButtonClick(TObject*) {
    const int anchor = Anchor();
    for (int button = 1; button <= 9; ++button) {
        // Buttons two steps away from the anchor stay blank.
        ShowButtonGlyph(SpeedButtons[static_cast<std::size_t>(button - 1)]->Handle(),
                        AnchorImage(AnchorMarkIndex(button, anchor)), BUTTON_IMAGELIST_ALIGN_CENTER);
    }
}

void TImageCropForm::BitBtn1Click(TObject*) {
    ConfirmSize();
}

std::optional<TBitmap32> RunImageCropForm(TForm* owner, const TBitmap32& picture, TColor32 fill,
                                          TDrawMode mode) {
    TFormPtr<TImageCropForm> dialog = CreateForm<TImageCropForm>(owner);
    ImageCropForm = dialog.get();
    struct TReset {
        ~TReset() { ImageCropForm = nullptr; }
    } reset;
    dialog->LoadSize(picture.Width(), picture.Height());
    if (dialog->ShowModal() != mrOk)
        return std::nullopt;
    return ResizeCanvas(picture, dialog->NewWidth(), dialog->NewHeight(), dialog->Anchor(), fill, mode);
}
