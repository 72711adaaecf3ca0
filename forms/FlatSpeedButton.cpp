#include "forms/FlatSpeedButton.h"

#include <windows.h>

#include <commctrl.h>

#include "forms/Form.h"

TFlatSpeedButton::TFlatSpeedButton(TForm* owner, std::wstring name, TWindow* parent)
    : TControl(owner, std::move(name), parent) {
    // A push-like check box shows the pressed state without toggling by itself.
    CreateStandardWindow(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_CHECKBOX | BS_PUSHLIKE | BS_FLAT, 0,
                         parent->Handle(), 0, 0, 23, 22);
}

void TFlatSpeedButton::SetDown(bool down) {
    if (down && groupIndex_ != 0) {
        for (TComponent* c : Owner()->Components()) {
            auto* other = dynamic_cast<TFlatSpeedButton*>(c);
            if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
                other->down_ = false;
                SendMessageW(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
            }
        }
    }
    down_ = down;
    SendMessageW(Handle(), BM_SETCHECK, down ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TFlatSpeedButton::SetGlyph(HIMAGELIST images, int index) {
    TIconHandle icon(ImageList_GetIcon(images, index, ILD_TRANSPARENT));
    if (!icon)
        return;
    SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) | BS_ICON);
    SendMessageW(Handle(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.Get()));
    glyph_ = std::move(icon);
}

bool TFlatSpeedButton::HandleCommand(WORD code, WORD) {
    if (code != BN_CLICKED)
        return false;
    // A grouped button stays pressed once clicked, as a radio button does.
    if (groupIndex_ != 0)
        SetDown(true);
    if (OnClick)
        OnClick(this);
    return true;
}
