// The GIF structure check in front of the system's decoder: any file is judged without
// reading outside it, and a refusal always says why.
#include <cstdint>
#include <span>
#include <string>

#include "FuzzText.h"
#include "core/GifCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    if (CheckGifStructure(std::span(data, size), error)) {
        FUZZ_CHECK(error.empty());
        FUZZ_CHECK(size >= 13 && data[0] == 'G');
    } else {
        FUZZ_CHECK(!error.empty());
    }
    return 0;
}
