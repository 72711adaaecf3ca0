// The shipped language files: well-formed UTF-8, and the two languages naming the same
// sections and keys, so that a switch either way replaces every text.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

#include "core/IniFile.h"
#include "core/LanguageText.h"
#include "core/Utf8.h"

namespace {

std::string ReadLanguageFile(const char* name) {
    const char* source = std::getenv("TOLVEX_SOURCE_DIR");
    if (source == nullptr)
        return {};
    std::string path = std::string(source) + "/resources/Language/" + name;
#ifdef _WIN32
    path = "Z:" + path; // the Unix root under Wine
#endif
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::vector<std::wstring> Sections(std::wstring_view text) {
    std::vector<std::wstring> names;
    for (const std::wstring& line : SplitLines(text)) {
        if (line.starts_with(L"[") && line.ends_with(L"]"))
            names.push_back(line.substr(1, line.size() - 2));
    }
    return names;
}

std::set<std::wstring> LowerKeys(const TIniReader& ini, std::wstring_view section) {
    std::set<std::wstring> keys;
    for (std::wstring key : ini.ReadSection(section)) {
        std::transform(key.begin(), key.end(), key.begin(),
                       [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; });
        EXPECT_TRUE(keys.insert(key).second) << "a key twice in " << testing::PrintToString(section);
    }
    return keys;
}

} // namespace

TEST(LanguageFiles, BothLanguagesAreUtf8AndNameTheSameSectionsAndKeys) {
    const std::string english = ReadLanguageFile("English.dat");
    const std::string korean = ReadLanguageFile("Korea.dat");
    ASSERT_FALSE(english.empty()) << "English.dat not found under TOLVEX_SOURCE_DIR";
    ASSERT_FALSE(korean.empty()) << "Korea.dat not found under TOLVEX_SOURCE_DIR";
    ASSERT_TRUE(IsValidUtf8(english));
    ASSERT_TRUE(IsValidUtf8(korean));

    const std::wstring englishText = DecodeUtf8(StripUtf8Bom(english));
    const std::wstring koreanText = DecodeUtf8(StripUtf8Bom(korean));
    const TIniReader englishIni(englishText);
    const TIniReader koreanIni(koreanText);
    const std::vector<std::wstring> sections = Sections(englishText);
    EXPECT_EQ(sections, Sections(koreanText));
    for (const std::wstring& section : sections) {
        const std::set<std::wstring> keys = LowerKeys(englishIni, section);
        EXPECT_FALSE(keys.empty()) << testing::PrintToString(section);
        EXPECT_EQ(keys, LowerKeys(koreanIni, section)) << testing::PrintToString(section);
        for (const std::wstring& key : englishIni.ReadSection(section)) {
            EXPECT_FALSE(englishIni.ReadString(section, key).empty()) << testing::PrintToString(key);
            EXPECT_FALSE(koreanIni.ReadString(section, key).empty()) << testing::PrintToString(key);
        }
        // Every form section that sets a font sets a size the rules accept.
        for (const TIniReader* ini : {&englishIni, &koreanIni}) {
            const std::wstring size = ini->ReadString(section, kFontSizeKey);
            EXPECT_TRUE(size.empty() || ParseFontSize(size).has_value()) << testing::PrintToString(section);
        }
    }
}

TEST(LanguageFiles, TheMessageSectionHoldsExactlyTheMessageTextsAndEnglishKeepsTheDefaults) {
    const TIniReader english(DecodeUtf8(StripUtf8Bom(ReadLanguageFile("English.dat"))));
    const TIniReader korean(DecodeUtf8(StripUtf8Bom(ReadLanguageFile("Korea.dat"))));
    ASSERT_EQ(english.ReadSection(kMessageSection).size(), kMessageKeys.size());
    ASSERT_EQ(korean.ReadSection(kMessageSection).size(), kMessageKeys.size());
    for (const TMessageKey& key : kMessageKeys) {
        EXPECT_EQ(ReadMessageText(english, key.Name), key.Default);
        const std::wstring text = ReadMessageText(korean, key.Name);
        EXPECT_FALSE(text.empty());
        EXPECT_NE(text, key.Default) << "not translated: " << testing::PrintToString(std::wstring(key.Name));
    }
    // The Korean count of lost pages names the total first and keeps both numbers.
    const long long counts[] = {1, 5};
    EXPECT_EQ(FormatNumbers(ReadMessageText(korean, L"msgPagesNotCaptured"), counts),
              L"\uC804\uCCB4 5\uC7A5 \uC911 1\uC7A5\uC744 \uCEA1\uCC98\uD558\uC9C0 "
              L"\uBABB\uD588\uC2B5\uB2C8\uB2E4.");
}
