// The picture type from a file's first bytes and from its name.
#include <cstdint>
#include <span>

#include "FuzzText.h"
#include "core/ImageFileType.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bySignature = ImageFileTypeFromSignature(std::span(data, size));
    // A type is only ever seen in a head long enough for its signature.
    if (bySignature)
        FUZZ_CHECK(size >= 2 && (*bySignature == TImageFileType::Bmp || size >= 3));
    const std::wstring name = FuzzText(data, size);
    if (const auto byName = ImageFileTypeFromFileName(name)) {
        const std::size_t dot = name.rfind(L'.');
        FUZZ_CHECK(dot != std::wstring::npos);
        FUZZ_CHECK(name.find_first_of(L"\\:", dot) == std::wstring::npos);
    }
    return 0;
}
