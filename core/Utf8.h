#pragma once
// UTF-8 text of files read by the program: validity test and decoding to wide text
// (UTF-16 where wchar_t has 16 bits, as on Windows).
#include <string>
#include <string_view>

// Strict UTF-8: no overlong forms, no surrogate code points, nothing above U+10FFFF, no
// truncated sequence at the end.
bool IsValidUtf8(std::string_view bytes);
// The text without a leading UTF-8 byte-order mark.
std::string_view StripUtf8Bom(std::string_view bytes);
// Decodes UTF-8; each byte of an invalid sequence becomes U+FFFD.
std::wstring DecodeUtf8(std::string_view bytes);
