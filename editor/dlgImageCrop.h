#pragma once
// The canvas size dialog: a new width and height for the canvas and the anchor, one of nine
// places (corners, sides, centre) at which the picture stays on the new canvas.
#include <array>
#include <optional>

#include "core/Bitmap32.h"
#include "core/ImgViewPaint.h"
#include "editor/ImageSizeForm.h"

class TGroupBox;

class TImageCropForm : public TImageSizeForm {
public:
    explicit TImageCropForm(TForm* owner);

    TBitBtn* BitBtn1; // OK
    TBitBtn* BitBtn2; // Cancel
    TGroupBox* GroupBox1;
    // The anchors in reading order, 1 top-left ... 9 bottom-right; exactly one is down.
    std::array<TRadioButton*, 9> SpeedButtons{};

    // The down anchor, 1..9.
    int Anchor() const;
    void SetAnchor(int anchor);

    void BitBtn1Click(TObject* sender);
    // Shows the direction marks around the down anchor.
    void SpeedButtonClick(TObject* sender);
};

extern TImageCropForm* ImageCropForm;

// The mark a button (1..9) shows while anchor (1..9) is down: the index 0..8 of the
// direction from the anchor in reading order (4 on the anchor itself), or -1 for a button two
// steps away.
int AnchorMarkIndex(int button, int anchor);

// Runs the dialog for a picture: on OK a canvas of the chosen size in fill, the picture drawn
// on it at the anchor in the given mode; nothing on Cancel.
std::optional<TBitmap32> RunImageCropForm(TForm* owner, const TBitmap32& picture, TColor32 fill,
                                          TDrawMode mode = TDrawMode::dmOpaque);
