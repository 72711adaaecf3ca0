#include "forms/ComboBox.h"

#include <windows.h>

TComboBox::TComboBox(TForm* owner, std::wstring name, TWindow* parent)
    : TControl(owner, std::move(name), parent) {
    CreateStandardWindow(L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                         parent->Handle(), 0, 0, 145, 200);
}

std::vector<std::wstring> TComboBox::Items() const {
    std::vector<std::wstring> items;
    const int count = ItemCount();
    for (int i = 0; i < count; ++i) {
        const LRESULT len = Perform(CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
        std::wstring text(static_cast<std::size_t>(len > 0 ? len : 0) + 1, L'\0');
        const LRESULT got =
            Perform(CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        items.push_back(std::move(text));
    }
    return items;
}

void TComboBox::SetItems(const std::vector<std::wstring>& items) {
    Perform(CB_RESETCONTENT);
    for (const std::wstring& item : items)
        Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int TComboBox::ItemCount() const {
    const LRESULT count = Perform(CB_GETCOUNT);
    return count > 0 ? static_cast<int>(count) : 0;
}

int TComboBox::ItemIndex() const {
    const LRESULT index = Perform(CB_GETCURSEL);
    return index >= 0 ? static_cast<int>(index) : -1;
}

void TComboBox::SetItemIndex(int index) {
    if (index < 0 || index >= ItemCount())
        index = -1;
    if (index == ItemIndex())
        return;
    Perform(CB_SETCURSEL, static_cast<WPARAM>(index));
    if (OnChange)
        OnChange(this);
}

bool TComboBox::HandleCommand(WORD code, WORD) {
    if (code != CBN_SELCHANGE)
        return false;
    if (OnChange)
        OnChange(this);
    return true;
}
