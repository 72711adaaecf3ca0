#include "forms/Fonts.h"

#include <windows.h>

#include "forms/Handles.h"

std::wstring RealizedFaceName(HFONT font) {
    if (!font)
        return {};
    const TMemDC dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return {};
    const TSelectObject select(dc.Get(), font);
    wchar_t face[LF_FACESIZE]{};
    const int length = GetTextFaceW(dc.Get(), LF_FACESIZE, face);
    return std::wstring(face, length > 0 ? static_cast<std::size_t>(length) - 1 : 0);
}

HFONT CreateFontKeepingFace(LOGFONTW lf) {
    if (lf.lfCharSet == DEFAULT_CHARSET)
        return CreateFontIndirectW(&lf);
    TGdiObject asked(CreateFontIndirectW(&lf));
    LOGFONTW plain = lf;
    plain.lfCharSet = DEFAULT_CHARSET;
    TGdiObject fallback(CreateFontIndirectW(&plain));
    if (!asked)
        return static_cast<HFONT>(fallback.Release());
    if (!fallback)
        return static_cast<HFONT>(asked.Release());
    // The mapper's answer for the default set is what the face name alone gives; a different
    // face for the asked set means the set pushed the chosen face aside.
    const bool sameFace = lstrcmpiW(RealizedFaceName(static_cast<HFONT>(asked.Get())).c_str(),
                                    RealizedFaceName(static_cast<HFONT>(fallback.Get())).c_str()) == 0;
    return static_cast<HFONT>((sameFace ? asked : fallback).Release());
}
