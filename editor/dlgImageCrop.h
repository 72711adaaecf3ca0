#pragma once
// The canvas size dialog: a new width and height for the canvas and the anchor, one of nine
// places (corners, sides, centre) at which the picture stays on the new canvas.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <optional>

#include "core/Bitmap32.h"
#include "core/ImgViewPaint.h"
#include "editor/ImageSizeForm.h"

class TGroupBox;

class TImageCropForm : public TImageSizeForm {
public:
    explicit TImageCropForm(TForm* owner);
    ~TImageCropForm() override;
    TImageCropForm(const TImageCropForm&) = delete;
    TImageCropForm& operator=(const TImageCropForm&) = delete;

    TBitBtn* BitBtn1; // OK
    TBitBtn* BitBtn2; // Cancel
    TGroupBox* GroupBox1;
    // The anchors in reading order, 1 top-left ... 9 bottom-right; exactly one is down.
    std::array<TRadioButton*, 9> SpeedButtons{};
    // The nine 21 x 21 pictures of the grid in reading order (4: the anchor itself); none
    // without the program's artwork.
    HIMAGELIST ImageList1 = nullptr;

    // Picture index (0..8) as a list of its own, as the buttons show it.
    HIMAGELIST AnchorImage(int index) const;

    // The down anchor, 1..9.
    int Anchor() const;
    void SetAnchor(int anchor);

    void BitBtn1Click(TObject* sender);
    // Shows the direction pictures around the down anchor.
    void SpeedButtonClick(TObject* sender);

private:
    std::array<HIMAGELIST, 9> anchorImages_{};
};

extern TImageCropForm* ImageCropForm;

// The picture a button (1..9) shows while anchor (1..9) is down: the index 0..8 of the
// direction from the anchor in reading order (4 on the anchor itself), or -1 for a button two
// steps away.
int AnchorMarkIndex(int button, int anchor);

// Runs the dialog for a picture: on OK a canvas of the chosen size in fill, the picture drawn
// on it at the anchor in the given mode; nothing on Cancel.
std::optional<TBitmap32> RunImageCropForm(TForm* owner, const TBitmap32& picture, TColor32 fill,
                                          TDrawMode mode = TDrawMode::dmOpaque);
