#include "shell/components/SImage.h"

TSImage::TSImage(TForm* owner, std::wstring name, TWindow* parent) : TImage(owner, std::move(name), parent) {}

void TSImage::NotifyMouseEnter() {
    TImage::NotifyMouseEnter();
    mouseInside_ = true;
    MouseEnter();
}

void TSImage::NotifyMouseLeave() {
    TImage::NotifyMouseLeave();
    mouseInside_ = false;
    MouseLeave();
}

void TSImage::MouseEnter() {
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TSImage::MouseLeave() {
    if (OnMouseLeave)
        OnMouseLeave(this);
}
