#pragma once
// A drop-down list: a list of texts with one chosen item (or none).
#include <windows.h>

#include <string>
#include <vector>

#include "forms/Controls.h"

class TComboBox : public TControl {
public:
    TComboBox(TForm* owner, std::wstring name, TWindow* parent);

    std::vector<std::wstring> Items() const;
    // Replaces the whole list; the chosen item is lost (none is chosen afterwards).
    void SetItems(const std::vector<std::wstring>& items);
    int ItemCount() const;
    // The chosen item's index, -1 for none.
    int ItemIndex() const;
    // Chooses an item (outside the list: none); raises OnChange when the choice changed.
    void SetItemIndex(int index);

    TNotifyEvent OnChange;

protected:
    bool HandleCommand(WORD code, WORD id) override;
};
