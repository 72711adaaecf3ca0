#pragma once
// What the capture dialogs need of the main window: the current language for their texts
// and the settings store for the sizes they remember. The main window implements it.
#include <cstdint>
#include <string_view>

class TForm;

class ICaptureDialogHost {
public:
    virtual ~ICaptureDialogHost() = default;
    // Translates a dialog into the current language.
    virtual void TranslateDialog(TForm& form) = 0;
    virtual std::int32_t StoredInteger(std::wstring_view name) const = 0;
    // Changes the value in memory; SaveStore writes the whole store.
    virtual void StoreInteger(std::wstring_view name, std::int32_t value) = 0;
    virtual void SaveStore() = 0;
};
