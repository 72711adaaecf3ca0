#pragma once
// The picture file types the program reads and writes, and the rules that choose one.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The stored "SaveImageType" values.
enum class TImageFileType : std::uint8_t { Bmp = 0, Gif = 1, Jpeg = 2, Png = 3 };

// The JPEG quality (1..100) of a stored quality level: 0..4 give 100, 85, 70, 40 and 10;
// any other level gives the JPEG writer's usual 90.
int JpegQualityFromLevel(int level);

// The type a file's first bytes announce, or none for anything else.
std::optional<TImageFileType> ImageFileTypeFromSignature(std::span<const std::uint8_t> head);

// The type a file name's extension names (".bmp", ".gif", ".jpg", ".jpeg", ".png", in any
// case); the extension is the part from the last "." that no "\" or ":" follows.
std::optional<TImageFileType> ImageFileTypeFromFileName(std::wstring_view fileName);
