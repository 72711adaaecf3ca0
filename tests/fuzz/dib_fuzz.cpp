// The packed bitmap of the clipboard: headers, colour masks and colour table in front of
// the pixels, without the file header and its pixel offset.
#include <cstdint>
#include <span>
#include <string>

#include "FuzzText.h"
#include "core/BmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TBitmap32 image;
    std::string error;
    if (!DecodeDib(std::span(data, size), image, error)) {
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(image.Empty());
        return 0;
    }
    FUZZ_CHECK(TBitmap32::ValidSize(image.Width(), image.Height()));
    // A packed bitmap of the clipboard is never larger than its data allows.
    const auto rowBits = std::uint64_t{static_cast<std::uint32_t>(image.Width())};
    FUZZ_CHECK(image.Empty() || (rowBits + 31) / 32 * 4 * static_cast<std::uint64_t>(image.Height()) <= size);
    return 0;
}
