// UTF-8 decoding of files and stored texts: valid input decodes to exactly the code points
// it encodes; invalid input decodes with replacement characters and never more units
// than bytes.
#include <cstdint>
#include <string>

#include "FuzzText.h"

namespace {

// A plain reference encoder, to check the decoder against.
std::string Encode(const std::wstring& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto cp = static_cast<char32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size())
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = DecodeUtf8(bytes);
    FUZZ_CHECK(text.size() <= bytes.size());
    for (wchar_t c : text)
        FUZZ_CHECK(static_cast<char32_t>(c) <= 0x10FFFF &&
                   (sizeof(wchar_t) == 2 || c < 0xD800 || c > 0xDFFF));
    if (IsValidUtf8(bytes))
        FUZZ_CHECK(Encode(text) == bytes);
    else
        FUZZ_CHECK(text.find(L'\xFFFD') != std::wstring::npos);
    const std::string_view stripped = StripUtf8Bom(bytes);
    FUZZ_CHECK(stripped.size() == bytes.size() ||
               (stripped.size() + 3 == bytes.size() && bytes[0] == '\xEF'));
    return 0;
}
