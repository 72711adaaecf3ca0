#include "capture/dlgCaptureRect.h"

#include <windows.h>

#include "capture/CaptureDialogHost.h"
#include "core/RegionSelect.h"
#include "core/StoredValues.h"
#include "forms/Application.h"
#include "forms/BitBtn.h"
#include "forms/ComboBox.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/StdCtrls.h"

TCaptureRecDialog* CaptureRecDialog = nullptr;

namespace {
TFormDesign RecDesign() {
    return DialogDesign(L"Capture Rectangle", 214, 159);
}
} // namespace

TCaptureRecDialog::TCaptureRecDialog(TForm* owner, ICaptureDialogHost& host)
    : TForm(owner, L"CaptureRecDialog", RecDesign()), host_(host) {
    lblWidth = Make<TLabel>(L"lblWidth", this, L"Width");
    lblWidth->SetBounds(16, 20, 60, 13);
    SpinEdit1 = Make<TSpinEdit>(L"SpinEdit1", this, 88, 16, 110, kRectSideMin, kRectSideMax, 320);
    lblHeight = Make<TLabel>(L"lblHeight", this, L"Height");
    lblHeight->SetBounds(16, 52, 60, 13);
    SpinEdit2 = Make<TSpinEdit>(L"SpinEdit2", this, 88, 48, 110, kRectSideMin, kRectSideMax, 240);
    lblSelect = Make<TLabel>(L"lblSelect", this, L"Select");
    lblSelect->SetBounds(16, 84, 60, 13);
    ComboBox1 = Make<TComboBox>(L"ComboBox1", this);
    ComboBox1->SetBounds(88, 80, 110, 220);
    std::vector<std::wstring> presets;
    for (std::wstring_view text : kRectPresetTexts)
        presets.emplace_back(text);
    ComboBox1->SetItems(presets);
    ComboBox1->SetItemIndex(0);
    BitBtn1 = Make<TBitBtn>(L"BitBtn1", this, TBitBtnKind::bkOK, L"OK", 24, 120);
    BitBtn2 = Make<TBitBtn>(L"BitBtn2", this, TBitBtnKind::bkCancel, L"Cancel", 115, 120);
    ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TCaptureRecDialog::FormCreate(TObject*) {
    host_.TranslateDialog(*this);
    // Stored sizes come from outside: the spin edits bring them into 1..5120.
    SpinEdit1->SetValue(ClampRectSide(host_.StoredInteger(SettingName::kCaptureRectWidth)));
    SpinEdit2->SetValue(ClampRectSide(host_.StoredInteger(SettingName::kCaptureRectHeight)));
}

void TCaptureRecDialog::ComboBox1Change(TObject*) {
    if (const auto size = RectPreset(ComboBox1->ItemIndex())) {
        SpinEdit1->SetValue(size->Width);
        SpinEdit2->SetValue(size->Height);
    }
}

void TCaptureRecDialog::BitBtn1Click(TObject*) {
    host_.StoreInteger(SettingName::kCaptureRectWidth, SpinEdit1->Value());
    host_.StoreInteger(SettingName::kCaptureRectHeight, SpinEdit2->Value());
    // A store that cannot be written is reported; the capture still goes on with the size.
    try {
        host_.SaveStore();
    } catch (...) {
        Application->HandleException(std::current_exception());
    }
}
