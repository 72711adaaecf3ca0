#include "shell/components/SSpeedLabel.h"

TSSpeedLabel::TSSpeedLabel(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption)
    : TSLabel(owner, std::move(name), parent, caption), normalColor_(FontColor()) {}

void TSSpeedLabel::SetNormalColor(TColor color) {
    normalColor_ = color;
    SetFontColor(color);
}

void TSSpeedLabel::MouseEnter() {
    SetFontColor(held_ ? mouseDownColor_ : mouseEnterColor_);
    TSLabel::MouseEnter();
}

void TSSpeedLabel::MouseLeave() {
    SetFontColor(held_ ? mouseDownColor_ : normalColor_);
    TSLabel::MouseLeave();
}

void TSSpeedLabel::MouseDown(TMouseButton button, int x, int y) {
    if (button == TMouseButton::Left) {
        held_ = true;
        SetFontColor(mouseDownColor_);
    }
    TSLabel::MouseDown(button, x, y);
}

void TSSpeedLabel::MouseUp(TMouseButton button, int x, int y) {
    if (button == TMouseButton::Left)
        Unpress();
    TSLabel::MouseUp(button, x, y);
}

void TSSpeedLabel::MouseCaptureLost() {
    // Another window took the mouse: no release will come to end the press.
    if (held_)
        Unpress();
}

void TSSpeedLabel::Unpress() {
    held_ = false;
    SetFontColor(mouseInside_ ? mouseEnterColor_ : normalColor_);
}
