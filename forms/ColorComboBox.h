#pragma once
// A colour box: the sixteen standard colours by name, a line for a colour of another value,
// and "Custom..." which asks the system's colour dialog.
#include <windows.h>

#include <functional>

#include "core/Bitmap32.h"
#include "forms/ComboBox.h"

class TColorComboBox : public TComboBox {
public:
    TColorComboBox(TForm* owner, std::wstring name, TWindow* parent);
    // The chosen colour (0x00BBGGRR).
    TColor ColorValue() const { return color_; }
    // Chooses the named line of the colour, or a "Custom" line that holds it.
    void SetColorValue(TColor color);
    // Raised when the colour changes, by a choice in the list or from code.
    TNotifyEvent OnColorChange;

    // Asks for a colour when "Custom..." is chosen; tests replace it. False: cancelled.
    static inline std::function<bool(HWND owner, TColor& color)> PickColor;

private:
    void Rebuild();
    void Chosen();
    void ColorChanged(TColor before);
    TColor color_ = 0xFFFFFF;
};
