#include "core/ImageFileType.h"

#include <algorithm>
#include <array>
#include <string>

int JpegQualityFromLevel(int level) {
    constexpr std::array<int, 5> kQualities = {100, 85, 70, 40, 10};
    if (level < 0 || level >= static_cast<int>(kQualities.size()))
        return 90;
    return kQualities[static_cast<std::size_t>(level)];
}

std::optional<TImageFileType> ImageFileTypeFromSignature(std::span<const std::uint8_t> head) {
    const auto startsWith = [head](std::initializer_list<std::uint8_t> magic) {
        return head.size() >= magic.size() && std::equal(magic.begin(), magic.end(), head.begin());
    };
    if (startsWith({'B', 'M'}))
        return TImageFileType::Bmp;
    if (startsWith({'G', 'I', 'F', '8'}))
        return TImageFileType::Gif;
    if (startsWith({0xFF, 0xD8, 0xFF}))
        return TImageFileType::Jpeg;
    if (startsWith({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}))
        return TImageFileType::Png;
    return std::nullopt;
}

std::optional<TImageFileType> ImageFileTypeFromFileName(std::wstring_view fileName) {
    const auto dot = fileName.find_last_of(L".\\:");
    if (dot == std::wstring_view::npos || fileName[dot] != L'.')
        return std::nullopt;
    std::wstring ext(fileName.substr(dot + 1));
    // Extensions are plain ASCII; other characters never match anyway.
    for (auto& c : ext)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    if (ext == L"bmp")
        return TImageFileType::Bmp;
    if (ext == L"gif")
        return TImageFileType::Gif;
    if (ext == L"jpg" || ext == L"jpeg")
        return TImageFileType::Jpeg;
    if (ext == L"png")
        return TImageFileType::Png;
    return std::nullopt;
}
