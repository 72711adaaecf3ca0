#pragma once
// A flat push button of a tool window; its hint tells what it does.
#include <windows.h>

#include "forms/Controls.h"

class TFlatSpeedButton : public TControl {
public:
    TFlatSpeedButton(TForm* owner, std::wstring name, TWindow* parent);

protected:
    bool HandleCommand(WORD code, WORD id) override;
};
