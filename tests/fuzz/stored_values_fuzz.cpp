// Stored numbers, booleans and window placements as they come back from the registry or
// the settings file, edited by hand or damaged.
#include <cstdint>
#include <string>

#include "FuzzText.h"
#include "core/StoredValues.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = FuzzText(data, size);
    if (const auto number = StoredTextToInteger(text)) {
        // A number reads back as itself from the text the program writes for it.
        FUZZ_CHECK(StoredTextToInteger(IntegerToStoredText(*number)) == number);
        FUZZ_CHECK(ClampDelay(*number) >= 0 && ClampDelay(*number) <= 65535);
        FUZZ_CHECK(SaveImageTypeOrDefault(*number) >= 0 && SaveImageTypeOrDefault(*number) <= 3);
        FUZZ_CHECK(OutputTypeOrDefault(*number) >= 0 && OutputTypeOrDefault(*number) <= 2);
    }
    if (const auto flag = StoredTextToBool(text))
        FUZZ_CHECK(StoredTextToBool(BoolToStoredText(*flag)) == flag);

    const TPlacementNumbers fallback{-7, 0, 7, 2147483647};
    const TPlacementNumbers placement = ParsePlacementText(text, fallback);
    // The placement the program would write reads back the same, whatever it came from.
    FUZZ_CHECK(ParsePlacementText(FormatPlacementText(placement), {}) == placement);
    // A text without commas changes at most the first number.
    if (text.find(L',') == std::wstring::npos)
        FUZZ_CHECK(std::equal(placement.begin() + 1, placement.end(), fallback.begin() + 1));
    return 0;
}
