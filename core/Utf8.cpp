#include "core/Utf8.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at the front of s. Returns the number of bytes taken (0 for an
// invalid sequence) and the code point in cp.
std::size_t DecodeOne(std::string_view s, char32_t& cp) {
    const auto b0 = static_cast<std::uint8_t>(s[0]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        min = 0x80;
        cp = b0 & 0x1Fu;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        min = 0x800;
        cp = b0 & 0x0Fu;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        min = 0x10000;
        cp = b0 & 0x07u;
    } else {
        return 0; // a continuation byte, an overlong two-byte lead or a lead past U+10FFFF
    }
    if (s.size() < len)
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<std::uint8_t>(s[i]);
        if ((b & 0xC0u) != 0x80u)
            return 0;
        cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

void Append(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FFu)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    char32_t cp = 0;
    while (!bytes.empty()) {
        const std::size_t n = DecodeOne(bytes, cp);
        if (n == 0)
            return false;
        bytes.remove_prefix(n);
    }
    return true;
}

std::string_view StripUtf8Bom(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return bytes;
}

std::wstring DecodeUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    char32_t cp = 0;
    while (!bytes.empty()) {
        const std::size_t n = DecodeOne(bytes, cp);
        Append(out, n == 0 ? kReplacement : cp);
        bytes.remove_prefix(n == 0 ? 1 : n);
    }
    return out;
}
