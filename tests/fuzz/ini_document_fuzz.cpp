// The settings file as the program edits it: read any text, write one value, write the
// text out and read it again. The written value reads back as written (one line of it),
// and every other value of the file is still the same.
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <map>
#include <string>
#include <utility>

#include "FuzzText.h"
#include "core/IniDocument.h"
#include "core/TextRules.h"

namespace {

// The program's sections and keys are fixed names; a few stand in for all of them, plus
// one plain name from the input.
const wchar_t* const kSections[] = {L"Tolvex", L"MainForm", L"Other", L"A"};
const wchar_t* const kKeys[] = {L"Language", L"isSound", L"NormPos", L"OutputFolder", L"k"};

bool PlainName(std::wstring_view name) {
    if (name.empty() || TrimBlanks(name) != name || name.front() == L';' || name.front() == L'[')
        return false;
    return name.find_first_of(L"=[]\r\n\"'") == std::wstring_view::npos;
}

using TValues = std::map<std::pair<std::wstring, std::wstring>, std::optional<std::wstring>>;

// Every value the program could ask for, by the names the document lists.
TValues AllValues(const TIniDocument& doc, const std::vector<std::wstring>& sections) {
    TValues values;
    for (const std::wstring& section : sections)
        for (const std::wstring& key : doc.Keys(section))
            values[{section, key}] = doc.Read(section, key);
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto sectionPick = input.ConsumeIntegralInRange<std::size_t>(0, std::size(kSections));
    const auto keyPick = input.ConsumeIntegralInRange<std::size_t>(0, std::size(kKeys));
    const std::string ownName = input.ConsumeRandomLengthString(16);
    const std::string valueBytes = input.ConsumeRandomLengthString(64);
    const std::vector<std::uint8_t> rest = input.ConsumeRemainingBytes<std::uint8_t>();
    const std::wstring own = DecodeUtf8(ownName);
    const std::wstring section = sectionPick < std::size(kSections) ? kSections[sectionPick] : own;
    const std::wstring key = keyPick < std::size(kKeys) ? kKeys[keyPick] : own;
    if (!PlainName(section) || !PlainName(key))
        return 0;
    const std::wstring value = DecodeUtf8(valueBytes);

    TIniDocument doc(FuzzText(rest.data(), rest.size()));
    std::vector<std::wstring> sections(std::begin(kSections), std::end(kSections));
    sections.push_back(own);
    const TValues before = AllValues(doc, sections);
    doc.Write(section, key, value);

    const TIniDocument reread(doc.Text());
    // One value is one line: line breaks and zeros became spaces.
    std::wstring expected = value;
    for (wchar_t& c : expected)
        if (c == L'\r' || c == L'\n' || c == L'\0')
            c = L' ';
    FUZZ_CHECK(reread.Read(section, key) == expected);
    for (const auto& [name, old] : before) {
        if (SameAsciiText(name.first, section) && SameAsciiText(name.second, key))
            continue;
        FUZZ_CHECK(reread.Read(name.first, name.second) == old);
    }
    return 0;
}
