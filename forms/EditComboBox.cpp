#include "forms/EditComboBox.h"

TEditComboBox::TEditComboBox(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width)
    : TControl(owner, std::move(name), parent) {
    CreateStandardWindow(L"COMBOBOX",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
                         parent->Handle(), left, top, width, 200);
}

void TEditComboBox::SetItems(const std::vector<std::wstring>& items) {
    const std::wstring text = Text();
    Perform(CB_RESETCONTENT);
    for (const std::wstring& item : items)
        Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    // Emptying the list must not take the typed text with it.
    settingText_ = true;
    SetCaption(text);
    settingText_ = false;
}

int TEditComboBox::ItemCount() const {
    const LRESULT count = Perform(CB_GETCOUNT);
    return count > 0 ? static_cast<int>(count) : 0;
}

void TEditComboBox::SetText(const std::wstring& text) {
    if (Text() == text)
        return;
    settingText_ = true;
    SetCaption(text);
    settingText_ = false;
    if (OnChange)
        OnChange(this);
}

bool TEditComboBox::HandleCommand(WORD code, WORD) {
    if (code == CBN_EDITCHANGE) {
        if (!settingText_ && OnChange)
            OnChange(this);
        return true;
    }
    if (code == CBN_SELCHANGE) {
        // The box updates its edit part only after this notification: take the pick now.
        const LRESULT index = Perform(CB_GETCURSEL);
        if (index < 0)
            return true;
        const LRESULT len = Perform(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
        std::wstring item(static_cast<std::size_t>(len > 0 ? len : 0) + 1, L'\0');
        const LRESULT got =
            Perform(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        // A pick always counts as a change, even of a text that was typed the same.
        settingText_ = true;
        SetCaption(item);
        settingText_ = false;
        if (OnChange)
            OnChange(this);
        return true;
    }
    return false;
}
