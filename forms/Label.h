#pragma once
// A label: text painted by the control itself in its own font colour, sized to its text
// unless AutoSize is off. An "&" underlines the next letter; "&&" shows one "&".
#include <windows.h>

#include <string>

#include "core/Bitmap32.h"
#include "forms/PaintedControl.h"

class TLabel : public TPaintedControl<TControl> {
public:
    TLabel(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption = {});

    // The text colour as a colour value (0x00BBGGRR); the window-text colour at first.
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor color);
    // The mouse pointer over the label; null shows the arrow.
    using TPaintedControl::Cursor;
    using TPaintedControl::SetCursor;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    void AdjustSize();
    TColor fontColor_;
    HFONT font_ = nullptr;
    bool autoSize_ = true;
};
