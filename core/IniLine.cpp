#include "core/IniLine.h"

TIniLine ClassifyIniLine(std::wstring_view text, const TIniSyntax& syntax) {
    TIniLine line;
    text = TrimBlanks(text, syntax.Blanks);
    if (text.empty() || text.front() == L';')
        return line;
    if (text.front() == L'[') {
        line.Kind = TIniLineKind::Section;
        text.remove_prefix(1);
        const std::size_t close = syntax.NameEndsAtLastBracket ? text.rfind(L']') : text.find(L']');
        line.Closed = close != std::wstring_view::npos;
        line.Name = TrimBlanks(text.substr(0, close), syntax.Blanks);
        return line;
    }
    line.Kind = TIniLineKind::Key;
    const std::size_t equals = text.find(L'=');
    line.HasEquals = equals != std::wstring_view::npos;
    line.Name = TrimBlanks(text.substr(0, equals), syntax.Blanks);
    if (line.HasEquals)
        line.Value = StripEnclosingQuotes(TrimBlanks(text.substr(equals + 1), syntax.Blanks));
    return line;
}
