#include "shell/components/SImagePanel.h"

#include <windows.h>

TSImagePanel::TSImagePanel(TForm* owner, std::wstring name, TWindow* parent)
    : TSPanel(owner, std::move(name), parent) {}

void TSImagePanel::SetPicture(const TPicture* picture) {
    if (!picture)
        return;
    picture_ = *picture;
    SizeToPicture();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TSImagePanel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    SizeToPicture();
}

void TSImagePanel::SizeToPicture() {
    if (!autoSize_ || !picture_.HasGraphic())
        return;
    const RECT r = BoundsRect();
    SetBounds(r.left, r.top, picture_.Width(), picture_.Height());
}

void TSImagePanel::Paint(HDC dc) {
    if (!picture_.HasGraphic()) {
        TSPanel::Paint(dc);
        return;
    }
    RECT r{};
    GetClientRect(Handle(), &r);
    picture_.Draw(dc, r);
    DrawCaption(dc, r); // no bevel over the picture
}
