#include "core/ImageFileType.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

TEST(ImageFileType, JpegQualityLevelsFollowTheTableAndOthersGiveNinety) {
    EXPECT_EQ(JpegQualityFromLevel(0), 100);
    EXPECT_EQ(JpegQualityFromLevel(1), 85);
    EXPECT_EQ(JpegQualityFromLevel(2), 70);
    EXPECT_EQ(JpegQualityFromLevel(3), 40);
    EXPECT_EQ(JpegQualityFromLevel(4), 10);
    EXPECT_EQ(JpegQualityFromLevel(5), 90);
    EXPECT_EQ(JpegQualityFromLevel(9), 90);
    EXPECT_EQ(JpegQualityFromLevel(-1), 90);
    EXPECT_EQ(JpegQualityFromLevel(INT32_MIN), 90);
}

TEST(ImageFileType, FirstBytesNameTheFileType) {
    using V = std::vector<std::uint8_t>;
    EXPECT_EQ(ImageFileTypeFromSignature(V{'B', 'M', 0, 0}), TImageFileType::Bmp);
    EXPECT_EQ(ImageFileTypeFromSignature(V{'G', 'I', 'F', '8', '9', 'a'}), TImageFileType::Gif);
    EXPECT_EQ(ImageFileTypeFromSignature(V{0xFF, 0xD8, 0xFF, 0xE0}), TImageFileType::Jpeg);
    EXPECT_EQ(ImageFileTypeFromSignature(V{0x89, 'P', 'N', 'G', 13, 10, 26, 10}), TImageFileType::Png);
    // Too short for its signature, or something else.
    EXPECT_EQ(ImageFileTypeFromSignature(V{0x89, 'P', 'N', 'G'}), std::nullopt);
    EXPECT_EQ(ImageFileTypeFromSignature(V{'B'}), std::nullopt);
    EXPECT_EQ(ImageFileTypeFromSignature(V{}), std::nullopt);
    EXPECT_EQ(ImageFileTypeFromSignature(V{'P', 'K', 3, 4}), std::nullopt);
}

TEST(ImageFileType, ExtensionIsTheLastDotPartOfTheNameInAnyCase) {
    EXPECT_EQ(ImageFileTypeFromFileName(L"C:\\Pics\\photo.PNG"), TImageFileType::Png);
    EXPECT_EQ(ImageFileTypeFromFileName(L"a.b.Jpeg"), TImageFileType::Jpeg);
    EXPECT_EQ(ImageFileTypeFromFileName(L"x.jpg"), TImageFileType::Jpeg);
    EXPECT_EQ(ImageFileTypeFromFileName(L"x.gif"), TImageFileType::Gif);
    EXPECT_EQ(ImageFileTypeFromFileName(L"x.bmp"), TImageFileType::Bmp);
    // A dot in a folder name is no extension; neither is a name without one.
    EXPECT_EQ(ImageFileTypeFromFileName(L"C:\\shots.png\\picture"), std::nullopt);
    EXPECT_EQ(ImageFileTypeFromFileName(L"C:.png:stream"), std::nullopt);
    EXPECT_EQ(ImageFileTypeFromFileName(L"picture"), std::nullopt);
    EXPECT_EQ(ImageFileTypeFromFileName(L"picture.tif"), std::nullopt);
    EXPECT_EQ(ImageFileTypeFromFileName(L"picture.png."), std::nullopt);
}
