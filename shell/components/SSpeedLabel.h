#pragma once
// A label whose text colour shows the mouse: one colour while the pointer is over it,
// another while the left button is held on it.
#include "shell/components/SLabel.h"

class TSSpeedLabel : public TSLabel {
public:
    TSSpeedLabel(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption = {});

    // The colour at rest; the label's font colour when it was created. Writing it also
    // colours the text at once.
    TColor NormalColor() const { return normalColor_; }
    void SetNormalColor(TColor color);
    TColor MouseDownColor() const { return mouseDownColor_; }
    void SetMouseDownColor(TColor color) { mouseDownColor_ = color; }
    TColor MouseEnterColor() const { return mouseEnterColor_; }
    void SetMouseEnterColor(TColor color) { mouseEnterColor_ = color; }

protected:
    void MouseDown(TMouseButton button, int x, int y) override;
    void MouseUp(TMouseButton button, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseCaptureLost() override;

private:
    // Back to the look of a control that is not pressed.
    void Unpress();
    bool held_ = false;
    TColor normalColor_;
    TColor mouseDownColor_ = 255;       // red
    TColor mouseEnterColor_ = 16711680; // blue
};
