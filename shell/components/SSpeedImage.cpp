#include "shell/components/SSpeedImage.h"

TSSpeedImage::TSSpeedImage(TForm* owner, std::wstring name, TWindow* parent)
    : TSImage(owner, std::move(name), parent) {}

void TSSpeedImage::Loaded() {
    if (Picture().HasGraphic())
        normalPicture_ = Picture();
}

void TSSpeedImage::SetMouseDownPicture(const TPicture* picture) {
    if (picture)
        mouseDownPicture_ = *picture;
}

void TSSpeedImage::SetMouseEnterPicture(const TPicture* picture) {
    if (picture)
        mouseEnterPicture_ = *picture;
}

void TSSpeedImage::MouseEnter() {
    TSImage::MouseEnter();
    if (Enabled() && !held_ && mouseEnterPicture_.HasGraphic())
        SetPicture(mouseEnterPicture_);
}

void TSSpeedImage::MouseLeave() {
    TSImage::MouseLeave();
    if (Enabled() && !held_ && mouseEnterPicture_.HasGraphic())
        SetPicture(normalPicture_);
}

void TSSpeedImage::MouseDown(TMouseButton button, int x, int y) {
    TSImage::MouseDown(button, x, y);
    if (button != TMouseButton::Left || !Enabled())
        return;
    held_ = true;
    if (mouseDownPicture_.HasGraphic())
        SetPicture(mouseDownPicture_);
}

void TSSpeedImage::MouseUp(TMouseButton button, int x, int y) {
    TSImage::MouseUp(button, x, y);
    if (button == TMouseButton::Left && Enabled())
        Unpress();
}

void TSSpeedImage::MouseCaptureLost() {
    // Another window took the mouse: no release will come to end the press.
    if (held_)
        Unpress();
}

void TSSpeedImage::Unpress() {
    // Without a down picture nothing was swapped on the press, so nothing goes back.
    if (mouseDownPicture_.HasGraphic())
        SetPicture(mouseInside_ && mouseEnterPicture_.HasGraphic() ? mouseEnterPicture_ : normalPicture_);
    held_ = false;
}
