// The clipboard's alpha block applied to a picture whose size comes from the input: it
// is taken whole, with exactly the picture's pixel count, or not at all.
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzText.h"
#include "core/AlphaBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int width = data[0] % 40;
    const int height = data[1] % 40;
    const std::span block(data + 2, size - 2);
    TBitmap32 image(width, height, 0x00123456u);
    const bool applied = ApplyAlphaBlock(block, image);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::uint32_t stated = 0;
    for (std::size_t i = 0; i < kAlphaBlockHeaderSize && i < block.size(); ++i)
        stated |= std::uint32_t{block[i]} << (8 * i);
    FUZZ_CHECK(applied == (block.size() >= kAlphaBlockHeaderSize + count && stated == count));
    for (std::size_t i = 0; i < count; ++i) {
        FUZZ_CHECK((image.Bits()[i] & 0x00FFFFFFu) == 0x123456u);
        FUZZ_CHECK(image.Bits()[i] >> 24 == (applied ? block[kAlphaBlockHeaderSize + i] : 0u));
    }
    if (applied) {
        // What the program writes for this picture is the block it read, byte for byte.
        const std::vector<std::uint8_t> written = EncodeAlphaBlock(image);
        FUZZ_CHECK(written.size() == kAlphaBlockHeaderSize + count);
        FUZZ_CHECK(std::equal(written.begin(), written.end(), block.begin()));
    }
    return 0;
}
