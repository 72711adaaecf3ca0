#include "core/Utf8.h"

#include <gtest/gtest.h>

TEST(Utf8, WellFormedTextIsValid) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ASCII"));
    EXPECT_TRUE(IsValidUtf8("\xED\x8C\x8C\xEC\x9D\xBC"));  // two Hangul syllables
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));          // U+1F600
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));          // U+10FFFF, the last
    EXPECT_TRUE(IsValidUtf8(std::string_view("a\0b", 3))); // a zero byte is a character
}

TEST(Utf8, AnsiTextAndMalformedSequencesAreInvalid) {
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));          // Latin-1 e acute
    EXPECT_FALSE(IsValidUtf8("\xC6\xC4\xC0\xCF")); // Korean in the Windows code page 949
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));     // overlong three-byte form
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // a surrogate code point
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));         // cut off at the end
    EXPECT_FALSE(IsValidUtf8("\x80"));             // a lone continuation byte
}

TEST(Utf8, DecodingGivesWideTextAndReplacesBadBytes) {
    EXPECT_EQ(DecodeUtf8("A\xC3\xA9\xED\x8C\x8C"), std::wstring(L"A\u00E9\uD30C"));
    if constexpr (sizeof(wchar_t) == 2)
        EXPECT_EQ(DecodeUtf8("\xF0\x9F\x98\x80"), std::wstring(L"\xD83D\xDE00"));
    else
        EXPECT_EQ(DecodeUtf8("\xF0\x9F\x98\x80"), std::wstring(1, static_cast<wchar_t>(0x1F600)));
    EXPECT_EQ(DecodeUtf8("a\xFF"
                         "b\xE2\x82"),
              std::wstring(L"a\uFFFDb\uFFFD\uFFFD"));
}

TEST(Utf8, OnlyALeadingByteOrderMarkIsStripped) {
    EXPECT_EQ(StripUtf8Bom("\xEF\xBB\xBF[S]"), "[S]");
    EXPECT_EQ(StripUtf8Bom("[S]\xEF\xBB\xBF"), "[S]\xEF\xBB\xBF");
    EXPECT_EQ(StripUtf8Bom("\xEF\xBB"), "\xEF\xBB");
}
