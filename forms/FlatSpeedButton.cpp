#include "forms/FlatSpeedButton.h"

#include <windows.h>

TFlatSpeedButton::TFlatSpeedButton(TForm* owner, std::wstring name, TWindow* parent)
    : TControl(owner, std::move(name), parent) {
    CreateStandardWindow(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 0, parent->Handle(), 0,
                         0, 23, 22);
}

bool TFlatSpeedButton::HandleCommand(WORD code, WORD) {
    if (code != BN_CLICKED)
        return false;
    if (OnClick)
        OnClick(this);
    return true;
}
