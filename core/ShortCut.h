#pragma once
// Shortcut values: the virtual-key code in the low byte, the flags 0x2000 Shift,
// 0x4000 Ctrl and 0x8000 Alt in the high byte.
#include <cstdint>

using TShortCut = std::uint16_t;

constexpr TShortCut kScShift = 0x2000;
constexpr TShortCut kScCtrl = 0x4000;
constexpr TShortCut kScAlt = 0x8000;

struct TShortCutParts {
    std::uint8_t Key = 0;
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

constexpr TShortCutParts SplitShortCut(TShortCut s) {
    return {static_cast<std::uint8_t>(s & 0xFF), (s & kScShift) != 0, (s & kScCtrl) != 0, (s & kScAlt) != 0};
}
constexpr TShortCut MakeShortCut(std::uint8_t key, bool shift, bool ctrl, bool alt) {
    return static_cast<TShortCut>(key | (shift ? kScShift : 0) | (ctrl ? kScCtrl : 0) | (alt ? kScAlt : 0));
}

// The hotkey modifier set of a shortcut's high byte: 0x20 -> Shift (4), 0x40 -> Ctrl (2),
// 0x80 -> Alt (1), summed (the values of MOD_SHIFT, MOD_CONTROL and MOD_ALT).
constexpr std::uint16_t ShortCutToHotKeyModifiers(std::uint8_t highByte) {
    return static_cast<std::uint16_t>(((highByte & 0x20) ? 4 : 0) + ((highByte & 0x40) ? 2 : 0) +
                                      ((highByte & 0x80) ? 1 : 0));
}

// Whether a hotkey message (modifiers in the low word of its second parameter, the key in
// the high word) carries the given shortcut.
constexpr bool HotKeyMatches(TShortCut s, std::uint32_t lParam) {
    return (lParam & 0xFFFF) == ShortCutToHotKeyModifiers(static_cast<std::uint8_t>(s >> 8)) &&
           ((lParam >> 16) & 0xFFFF) == (s & 0xFF);
}
