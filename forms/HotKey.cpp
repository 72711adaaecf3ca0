#include "forms/HotKey.h"

#include <windows.h>

#include <commctrl.h>

TShortCut HotKeyFieldToShortCut(WORD value) {
    const auto key = static_cast<std::uint8_t>(value & 0xFF);
    const auto flags = static_cast<std::uint8_t>(value >> 8);
    if (key == 0)
        return 0;
    return MakeShortCut(key, (flags & HOTKEYF_SHIFT) != 0, (flags & HOTKEYF_CONTROL) != 0,
                        (flags & HOTKEYF_ALT) != 0);
}

WORD ShortCutToHotKeyField(TShortCut shortCut) {
    const TShortCutParts parts = SplitShortCut(shortCut);
    if (parts.Key == 0)
        return 0;
    const unsigned flags = (parts.Shift ? HOTKEYF_SHIFT : 0u) | (parts.Ctrl ? HOTKEYF_CONTROL : 0u) |
                           (parts.Alt ? HOTKEYF_ALT : 0u);
    return static_cast<WORD>(parts.Key | (flags << 8));
}

THotKey::THotKey(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int height)
    : TControl(owner, std::move(name), parent) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&icc);
    CreateStandardWindow(HOTKEY_CLASSW, WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE,
                         parent->Handle(), left, top, width, height);
    // Unmodified keys and Shift alone would steal ordinary typing as global hotkeys.
    Perform(HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_SHIFT, 0));
}

TShortCut THotKey::HotKey() const {
    return HotKeyFieldToShortCut(static_cast<WORD>(Perform(HKM_GETHOTKEY) & 0xFFFF));
}

void THotKey::SetHotKey(TShortCut shortCut) {
    Perform(HKM_SETHOTKEY, ShortCutToHotKeyField(shortCut));
}
