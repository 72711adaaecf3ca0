#pragma once
// An editable drop-down box: a text that can be typed or picked from a list. OnChange comes
// with every typed change and every pick, the text already updated.
#include <windows.h>

#include <string>
#include <vector>

#include "forms/Controls.h"

class TEditComboBox : public TControl {
public:
    TEditComboBox(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width);

    void SetItems(const std::vector<std::wstring>& items);
    int ItemCount() const;
    std::wstring Text() const { return Caption(); }
    // Raises OnChange when the text changes.
    void SetText(const std::wstring& text);

    TNotifyEvent OnChange;

protected:
    bool HandleCommand(WORD code, WORD id) override;

private:
    bool settingText_ = false;
};
