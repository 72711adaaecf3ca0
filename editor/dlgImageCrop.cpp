#include "editor/dlgImageCrop.h"

#include <windows.h>

#include <cstdlib>

#include "core/Bitmap32Ops.h"
#include "forms/BitBtn.h"
#include "forms/StdCtrls.h"

TImageCropForm* ImageCropForm = nullptr;

namespace {
constexpr int kGridLeft = 236;
constexpr int kCell = 28;
// The direction marks in the anchor grid's reading order; the centre marks the anchor.
constexpr const wchar_t* kMarks[9] = {L"\u2196", L"\u2191", L"\u2197", L"\u2190", L"\u25CF",
                                      L"\u2192", L"\u2199", L"\u2193", L"\u2198"};
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
    SpeedButtons[0]->SetChecked(true);
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
        const int mark = AnchorMarkIndex(button, anchor);
        SpeedButtons[static_cast<std::size_t>(button - 1)]->SetCaption(mark < 0 ? L"" : kMarks[mark]);
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
