#include "shell/components/SLabel.h"

TSLabel::TSLabel(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption)
    : TLabel(owner, std::move(name), parent, caption) {}

void TSLabel::NotifyMouseEnter() {
    TLabel::NotifyMouseEnter();
    MouseEnter();
}

void TSLabel::NotifyMouseLeave() {
    TLabel::NotifyMouseLeave();
    MouseLeave();
}

void TSLabel::MouseEnter() {
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TSLabel::MouseLeave() {
    if (OnMouseLeave)
        OnMouseLeave(this);
}
