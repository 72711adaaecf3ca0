#include "core/DocumentNames.h"

#include <gtest/gtest.h>

TEST(DocumentNames, FileNamePartAndExtension) {
    EXPECT_EQ(FileNamePart(L"C:\\Pics\\photo.png"), L"photo.png");
    EXPECT_EQ(FileNamePart(L"D:shot.bmp"), L"shot.bmp");
    EXPECT_EQ(FileNamePart(L"plain"), L"plain");
    EXPECT_EQ(FileNamePart(L"C:\\dir\\"), L"");
    EXPECT_EQ(LowerExtensionOf(L"A.PNG"), L".png");
    EXPECT_EQ(LowerExtensionOf(L"C:\\a.b\\name"), L"");
    EXPECT_EQ(LowerExtensionOf(L"x.tar.GZ"), L".gz");
    EXPECT_EQ(LowerExtensionOf(L"noext"), L"");
}

TEST(DocumentNames, SaveNameTakesTheExtensionOfTheChosenFilter) {
    EXPECT_EQ(SaveFileNameWithExt(L"Shot.PNG", 4), L"Shot.PNG"); // a matching extension keeps its case
    EXPECT_EQ(SaveFileNameWithExt(L"a.JPG", 3), L"a.JPG");
    EXPECT_EQ(SaveFileNameWithExt(L"a.JPG", 1), L"a.bmp");
    EXPECT_EQ(SaveFileNameWithExt(L"shot", 2), L"shot.gif");
    EXPECT_EQ(SaveFileNameWithExt(L"shot.jpeg", 3), L"shot.jpg");
    EXPECT_EQ(SaveFileNameWithExt(L"shot.png", 1), L"shot.bmp");
    EXPECT_EQ(SaveFileNameWithExt(L"New 2", 3), L"New 2.jpg");
    // A dot in a folder name is no extension.
    EXPECT_EQ(SaveFileNameWithExt(L"C:\\my.pics\\shot", 4), L"C:\\my.pics\\shot.png");
    // Another index wants the name's own extension, which therefore stays as written.
    EXPECT_EQ(SaveFileNameWithExt(L"x.PNG", 0), L"x.PNG");
    EXPECT_EQ(SaveFileNameWithExt(L"x", 7), L"x");
}

TEST(DocumentNames, NextBlankDocumentName) {
    EXPECT_EQ(NextDocumentName(L"New", {}), L"New");
    EXPECT_EQ(NextDocumentName(L"New", {L"New", L"New 2"}), L"New 3");
    EXPECT_EQ(NextDocumentName(L"New", {L"New", L"New 3"}), L"New 2");
    EXPECT_EQ(NextDocumentName(L"New", {L"New 2"}), L"New");
    // A modified document counts without its mark; captions compare whole and by case.
    EXPECT_EQ(NextDocumentName(L"New", {L"*New"}), L"New 2");
    EXPECT_EQ(NextDocumentName(L"New", {L"new", L"New x"}), L"New");
    // The counter never goes back: New 2 found after New 3 was tried still moves on.
    EXPECT_EQ(NextDocumentName(L"New", {L"New 3", L"New", L"New 2"}), L"New 4");
}
