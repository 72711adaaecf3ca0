// The INI reader of language files and of the settings file: any text gives sections and
// keys that can all be read back, each value within the longest value handed out.
#include <cstdint>

#include "FuzzText.h"
#include "core/IniFile.h"
#include "core/TextRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = FuzzText(data, size);
    const TIniReader ini(text);
    // Section names are looked up by what the text holds between brackets; try each line.
    for (const std::wstring_view line : LineViews(text)) {
        const std::wstring_view name =
            TrimBlanks(line.substr(line.find(L'[') + 1), TBlanks::SpaceTabAndControls);
        const std::wstring section(name.substr(0, name.rfind(L']')));
        if (!ini.SectionExists(section))
            continue;
        for (const std::wstring& key : ini.ReadSection(section)) {
            FUZZ_CHECK(!key.empty());
            const std::wstring value = ini.ReadString(section, key, L"\x1F");
            FUZZ_CHECK(value.size() <= TIniReader::kMaxValueLength);
            // A key the section lists is there: the default never comes back for it,
            // unless the value itself is that text.
            FUZZ_CHECK(value != L"\x1F" || ini.ReadString(section, key, L"\x1E") == L"\x1F");
        }
    }
    return 0;
}
