// The GIF structure check: a sound file passes, and every kind of damage that would reach
// the system's decoder is refused with its reason.
#include "core/GifCheck.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A 2 x 2 picture with a two-colour table; the image data is given in its sub-blocks.
Bytes Gif(const Bytes& imageData, std::uint8_t codeSize = 2, std::uint8_t width = 2) {
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a', width, 0, 2, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    gif.insert(gif.end(), {',', 0, 0, 0, 0, width, 0, 2, 0, 0, codeSize});
    gif.insert(gif.end(), imageData.begin(), imageData.end());
    gif.push_back(';');
    return gif;
}

// Clear, 0, 1, then the code the table is about to get (6 = "0 1"), then end: the last
// code is known to the decoder only as the one it adds at that moment.
const Bytes kCodes = {2, 0x44, 0x5C, 0};

std::string Refusal(const Bytes& gif) {
    std::string error;
    EXPECT_FALSE(CheckGifStructure(gif, error));
    EXPECT_FALSE(error.empty());
    return error;
}

TEST(GifCheckTest, ASoundFileAndOneWithoutItsTrailerPass) {
    std::string error;
    EXPECT_TRUE(CheckGifStructure(Gif(kCodes), error)) << error;
    Bytes noTrailer = Gif(kCodes);
    noTrailer.pop_back();
    EXPECT_TRUE(CheckGifStructure(noTrailer, error)) << error;
    // An extension before the image is stepped over.
    Bytes withExtension = Gif(kCodes);
    withExtension.insert(withExtension.begin() + 19, {'!', 0xF9, 4, 1, 0, 0, 0, 0});
    EXPECT_TRUE(CheckGifStructure(withExtension, error)) << error;
}

TEST(GifCheckTest, TruncationsAndForeignDataAreRefused) {
    const Bytes gif = Gif(kCodes);
    // Every cut inside the blocks, up to the image's last data byte.
    for (std::size_t cut = 0; cut + 2 < gif.size(); ++cut)
        Refusal(Bytes(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(cut)));
    EXPECT_EQ(Refusal({'G', 'I', 'F', '8', '7', 'b', 1, 0, 1, 0, 0, 0, 0}), "Not a GIF file");
    Bytes unknown = gif;
    unknown.insert(unknown.begin() + 19, '#');
    EXPECT_EQ(Refusal(unknown), "The GIF file has an unknown block");
    Bytes noImage(gif.begin(), gif.begin() + 19);
    noImage.push_back(';');
    EXPECT_EQ(Refusal(noImage), "The GIF file holds no picture");
}

TEST(GifCheckTest, DamagedCodesAndSizesAreRefused) {
    EXPECT_EQ(Refusal(Gif(kCodes, 1)), "The GIF file has an invalid code size");
    EXPECT_EQ(Refusal(Gif(kCodes, 12)), "The GIF file has an invalid code size");
    // Clear, then 6, a code no table holds yet, then end.
    EXPECT_EQ(Refusal(Gif({2, 0x74, 0x01, 0})), "The GIF file has damaged image data");
    // Codes for four pixels in a picture of six.
    EXPECT_EQ(Refusal(Gif(kCodes, 2, 3)), "The GIF file is truncated (image data)");
    // A sub-block longer than the data.
    EXPECT_EQ(Refusal(Gif({9, 0x44, 0x5C})), "The GIF file is truncated (data blocks)");
    // 65535 x 2 is fine, a screen of 65535 x 65535 is not.
    Bytes huge = Gif(kCodes);
    huge[6] = huge[7] = huge[8] = huge[9] = 0xFF;
    EXPECT_EQ(Refusal(huge), "The picture is too large");
}

} // namespace
