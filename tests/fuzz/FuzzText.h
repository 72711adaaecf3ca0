#pragma once
// Turning fuzz bytes into the texts the program reads: files and stored values reach the
// parsers as UTF-8 decoded by our own decoder, or as UTF-16 units from the system (which
// may hold lone surrogates and zeros).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Utf8.h"

inline std::wstring FuzzText(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return {};
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    if ((data[0] & 1) == 0)
        return DecodeUtf8(bytes);
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<std::uint8_t>(bytes[i]) |
                                            (static_cast<std::uint8_t>(bytes[i + 1]) << 8)));
    return text;
}

// A failed property ends the run with a finding, in the fuzzer's own way.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            __builtin_trap();                                                                                \
    } while (false)
