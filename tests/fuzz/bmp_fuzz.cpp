// The BMP file decoder: any file either fails with a reason or gives a picture that
// survives our own 32-bit encoding unchanged.
#include <cstdint>
#include <span>
#include <string>

#include "FuzzText.h"
#include "core/BmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TBitmap32 image;
    std::string error;
    if (!DecodeBmp(std::span(data, size), image, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(TBitmap32::ValidSize(image.Width(), image.Height()));
    const std::vector<std::uint8_t> again = EncodeBmp32(image);
    TBitmap32 reread;
    FUZZ_CHECK(DecodeBmp(again, reread, error));
    FUZZ_CHECK(reread.Width() == image.Width() && reread.Height() == image.Height());
    const std::size_t count =
        static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(image.Height());
    for (std::size_t i = 0; i < count; ++i) {
        // An all-transparent picture reads back as an opaque one: the 32-bit rule.
        FUZZ_CHECK((reread.Bits()[i] & 0x00FFFFFFu) == (image.Bits()[i] & 0x00FFFFFFu));
    }
    return 0;
}
