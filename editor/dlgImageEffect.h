#pragma once
// The effect dialog: one modal dialog for the five adjustable effects (brightness,
// contrast, gamma, mosaic, noise) with a track bar for the amount and a live preview that
// is always recomputed from the untouched source picture.
#include <optional>
#include <string>

#include "core/Bitmap32.h"
#include "core/EffectLib.h"
#include "editor/EditorDialogs.h"
#include "forms/Form.h"

class TImgView32;
class TTrackBar;
class TBitBtn;
class TLabel;
class TBevel;

class TImageEffectDialog : public TEditorDialog {
public:
    explicit TImageEffectDialog(TForm* owner);

    TImgView32* Image32;
    TTrackBar* TrackBar1;
    TBitBtn* BitBtn1; // Cancel
    TBitBtn* BitBtn2; // OK
    TLabel* Label1;
    TBevel* Bevel1; // the frame around the preview

    std::wstring EffectName;
    // The picture as it was when the effect was chosen.
    TBitmap32 SourceBitmap;

    // The preview starts as a copy of picture.
    void SetPicture(const TBitmap32& picture);
    // Chooses the effect: the source copy, then caption and track bar by the effect's row
    // (minimum, maximum, position, in that order). An unknown name leaves both as they are.
    void SetEffect(const std::wstring& name, const std::wstring& caption);

    void FormCreate(TObject* sender);
    void TrackBar1Change(TObject* sender);

private:
    TStdRandomSource random_;
};

extern TImageEffectDialog* ImageEffectDialog;

// Runs the dialog for one effect on a picture; the previewed result on OK, nothing on Cancel.
std::optional<TBitmap32> RunImageEffectDialog(TForm* owner, const std::wstring& effectName,
                                              const std::wstring& title, const TBitmap32& picture);
// The amount text under the track bar: gamma as a short decimal (1, 1.5, 0.25) with the
// given separator, the other effects as the position.
std::wstring EffectAmountText(const std::wstring& effectName, int position, wchar_t decimalSeparator);
