#pragma once
// A flat push button of a tool window; its hint tells what it does. Buttons of one group
// (the same non-zero GroupIndex on the same form) act as radio buttons: pressing one, by a
// click or by code, raises the others. A glyph is one picture of an image strip.
#include <windows.h>

#include <commctrl.h>

#include "forms/Controls.h"
#include "forms/Handles.h"

class TFlatSpeedButton : public TControl {
public:
    TFlatSpeedButton(TForm* owner, std::wstring name, TWindow* parent);

    int Tag = 0;
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int groupIndex) { groupIndex_ = groupIndex; }
    // Pressed state; setting it does not raise OnClick.
    bool Down() const { return down_; }
    void SetDown(bool down);
    // Shows picture index of an image strip; the button keeps its own copy.
    void SetGlyph(HIMAGELIST images, int index);

protected:
    bool HandleCommand(WORD code, WORD id) override;

private:
    int groupIndex_ = 0;
    bool down_ = false;
    TIconHandle glyph_;
};
