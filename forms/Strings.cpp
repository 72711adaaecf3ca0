#include "forms/Strings.h"

#include <windows.h>

#include <climits>

#include "core/NumberFormat.h"
#include "core/ShortCut.h"

std::optional<std::wstring> DecodeCodePage(unsigned codePage, std::string_view bytes, bool strict) {
    if (bytes.empty())
        return std::wstring();
    // The system counts in int.
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int count = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), count, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    const int written = MultiByteToWideChar(codePage, flags, bytes.data(), count, text.data(), length);
    text.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return text;
}

std::optional<std::string> EncodeCodePage(unsigned codePage, std::wstring_view text) {
    if (text.empty())
        return std::string();
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    // UTF-8 neither takes these flags nor needs them: it holds every character.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int count = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, flags, text.data(), count, nullptr, 0, nullptr, usedDefaultOut);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), count, bytes.data(), length, nullptr, usedDefaultOut);
    if (usedDefault)
        return std::nullopt;
    return bytes;
}

std::wstring Utf8ToWide(std::string_view text) {
    return DecodeCodePage(CP_UTF8, text, false).value_or(std::wstring());
}

std::string WideToUtf8(std::wstring_view text) {
    return EncodeCodePage(CP_UTF8, text).value_or(std::string());
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

std::wstring LocaleThousandsSeparator() {
    // The system reports the size it needs, terminator included.
    const int size = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, nullptr, 0);
    if (size <= 0)
        return ReportedThousandsSeparator({}, 0);
    std::wstring buffer(static_cast<std::size_t>(size), L'\0');
    return ReportedThousandsSeparator(
        buffer, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer.data(), size));
}
