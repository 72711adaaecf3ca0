#include <windows.h>

#include "forms/Strings.h"

#include "core/ShortCut.h"

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

std::wstring ShortCutToText(unsigned short shortCut) {
    const TShortCutParts parts = SplitShortCut(shortCut);
    if (parts.Key == 0)
        return {};
    std::wstring text;
    if (parts.Ctrl)
        text += L"Ctrl+";
    if (parts.Shift)
        text += L"Shift+";
    if (parts.Alt)
        text += L"Alt+";
    const unsigned key = parts.Key;
    if (key >= VK_F1 && key <= VK_F24)
        return text + L"F" + std::to_wstring(key - VK_F1 + 1);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return text + static_cast<wchar_t>(key);
    switch (key) {
    case VK_DELETE:
        return text + L"Del";
    case VK_INSERT:
        return text + L"Ins";
    case VK_RETURN:
        return text + L"Enter";
    case VK_ESCAPE:
        return text + L"Esc";
    case VK_SPACE:
        return text + L"Space";
    default:
        break;
    }
    // Any other key: the keyboard's own name for it.
    wchar_t name[64] = {};
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    if (scan && GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 64) > 0)
        return text + name;
    return text + L"#" + std::to_wstring(key);
}
