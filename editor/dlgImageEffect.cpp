#include "editor/dlgImageEffect.h"

#include <windows.h>

#include <array>

#include "editor/EditorDialogs.h"
#include "forms/BitBtn.h"
#include "forms/Form.h"
#include "forms/ImgView32.h"
#include "forms/Label.h"
#include "forms/StdCtrls.h"
#include "forms/TrackBar.h"

TImageEffectDialog* ImageEffectDialog = nullptr;

namespace {
// One row of the effect table: the track bar's range and start.
struct TEffectRow {
    const wchar_t* Name;
    int Min;
    int Max;
    int Start;
};
constexpr std::array<TEffectRow, 5> kEffects{{
    {L"Brightness", -100, 100, 0},
    {L"Contrast", -100, 100, 0},
    {L"Gamma", 0, 500, 100},
    {L"Mosaic", 0, 255, 5},
    {L"Noise", 0, 1000, 100},
}};

const TEffectRow* FindEffect(const std::wstring& name) {
    for (const TEffectRow& row : kEffects)
        if (name == row.Name)
            return &row;
    return nullptr;
}

TFormDesign EffectDesign() {
    return DialogDesign(L"Effect", 352, 300);
}

// The user's decimal separator; a dot when the locale gives none.
wchar_t UserDecimalSeparator() {
    wchar_t buffer[8]{};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1 && buffer[0])
        return buffer[0];
    return L'.';
}
} // namespace

std::wstring EffectAmountText(const std::wstring& effectName, int position, wchar_t decimalSeparator) {
    if (effectName != L"Gamma")
        return std::to_wstring(position);
    // position / 100 without trailing zeros: 100 -> "1", 150 -> "1.5", 25 -> "0.25".
    const bool negative = position < 0;
    const long long magnitude = negative ? -static_cast<long long>(position) : position;
    std::wstring text = (negative ? L"-" : L"") + std::to_wstring(magnitude / 100);
    const auto hundredths = static_cast<int>(magnitude % 100);
    if (hundredths != 0) {
        text += decimalSeparator;
        text += static_cast<wchar_t>(L'0' + hundredths / 10);
        if (hundredths % 10 != 0)
            text += static_cast<wchar_t>(L'0' + hundredths % 10);
    }
    return text;
}

TImageEffectDialog::TImageEffectDialog(TForm* owner)
    : TEditorDialog(owner, L"ImageEffectDialog", EffectDesign()) {
    Image32 = Make<TImgView32>(L"Image32", this);
    Image32->SetBounds(16, 12, 320, 200);
    SetupPreview(*Image32);
    Bevel1 = Make<TBevel>(L"Bevel1", this, 12, 8, 328, 208);
    TrackBar1 = Make<TTrackBar>(L"TrackBar1", this, 12, 222, 280);
    TrackBar1->SetMin(-100);
    TrackBar1->SetMax(100);
    TrackBar1->SetFrequency(10);
    Label1 = Make<TLabel>(L"Label1", this, L"0");
    Label1->SetBounds(298, 230, 40, 13);
    BitBtn2 = Make<TBitBtn>(L"BitBtn2", this, TBitBtnKind::bkOK, L"OK", 96, 264);
    BitBtn1 = Make<TBitBtn>(L"BitBtn1", this, TBitBtnKind::bkCancel, L"Cancel", 181, 264);
    TrackBar1->OnChange = [this](TObject* s) { TrackBar1Change(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TImageEffectDialog::FormCreate(TObject*) {
    TranslateEditorDialog(*this);
}

void TImageEffectDialog::SetPicture(const TBitmap32& picture) {
    Image32->SetBitmap(picture);
    FitPreview(*Image32);
}

void TImageEffectDialog::SetEffect(const std::wstring& name, const std::wstring& caption) {
    EffectName = name;
    SourceBitmap = Image32->Bitmap();
    const TEffectRow* row = FindEffect(name);
    if (!row)
        return;
    if (!caption.empty())
        SetCaption(caption);
    TrackBar1->SetMin(row->Min);
    TrackBar1->SetMax(row->Max);
    TrackBar1->SetPosition(row->Start);
}

void TImageEffectDialog::TrackBar1Change(TObject*) {
    const int position = TrackBar1->Position();
    TBitmap32& preview = Image32->Bitmap();
    // Always from the source, so that moving back and forth never accumulates.
    if (EffectName == L"Brightness")
        EffectBrightness(preview, SourceBitmap, position / 100.0);
    else if (EffectName == L"Contrast")
        EffectContrast(preview, SourceBitmap, position / 100.0);
    else if (EffectName == L"Gamma")
        EffectGamma(preview, SourceBitmap, position / 100.0);
    else if (EffectName == L"Mosaic")
        EffectMosaic(preview, SourceBitmap, position);
    else if (EffectName == L"Noise")
        EffectNoise(preview, SourceBitmap, position, random_);
    else
        return;
    Image32->BitmapChanged();
    Label1->SetCaption(EffectAmountText(EffectName, position, UserDecimalSeparator()));
}

std::optional<TBitmap32> RunImageEffectDialog(TForm* owner, const std::wstring& effectName,
                                              const std::wstring& title, const TBitmap32& picture) {
    TFormPtr<TImageEffectDialog> dialog = CreateForm<TImageEffectDialog>(owner);
    ImageEffectDialog = dialog.get();
    // The global lives only while the dialog runs, also when showing it fails.
    struct TReset {
        ~TReset() { ImageEffectDialog = nullptr; }
    } reset;
    dialog->SetPicture(picture);
    dialog->SetEffect(effectName, title);
    if (dialog->ShowModal() != mrOk)
        return std::nullopt;
    return dialog->Image32->Bitmap();
}
