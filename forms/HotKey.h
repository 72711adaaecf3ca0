#pragma once
// A hot-key field: the user presses a key combination and the field shows and holds it as
// a shortcut value. A plain key, or one with Shift alone, is taken with Ctrl+Shift.
#include <windows.h>

#include "core/ShortCut.h"
#include "forms/Controls.h"

class THotKey : public TControl {
public:
    THotKey(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width = 121,
            int height = 19);

    // The combination shown; 0 when the field is empty.
    TShortCut HotKey() const;
    void SetHotKey(TShortCut shortCut);
};

// The field's own encoding (key in the low byte, HOTKEYF_ flags in the high byte) to and
// from a shortcut value; the extended-key flag has no place in a shortcut and is dropped.
TShortCut HotKeyFieldToShortCut(WORD value);
WORD ShortCutToHotKeyField(TShortCut shortCut);
