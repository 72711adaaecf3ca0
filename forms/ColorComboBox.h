#pragma once
// A drop-down list of the standard colours by name, and "Custom..." at the end, which asks
// for any colour in the colour dialog. A colour outside the standard ones is listed by its
// value above "Custom...".
#include <windows.h>

#include <functional>

#include "core/Bitmap32.h"
#include "forms/ComboBox.h"

class TColorComboBox : public TComboBox {
public:
    TColorComboBox(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width);

    // The chosen colour as a colour value (0x00BBGGRR).
    TColor ColorValue() const { return color_; }
    // Chooses the colour; raises OnChange when it changes.
    void SetColorValue(TColor color);

protected:
    bool HandleCommand(WORD code, WORD id) override;

private:
    // Rebuilds the list for the present colour and chooses its entry, without an event.
    void ShowColor();
    TColor color_ = 0;
    bool custom_ = false; // the list holds an entry for a colour outside the standard ones
};

// Asks for a colour in the colour dialog, starting at color; false when cancelled. Tests
// replace it.
extern std::function<bool(HWND owner, TColor& color)> ChooseColorHook;
bool ChooseColorValue(HWND owner, TColor& color);
