#pragma once
// Fonts in a character set: a form or a preview designed for Korean text asks for the Hangul
// set, but the font mapper weighs the set above the face name and may then answer with
// another face. The face the user or the design chose wins over the set.
#include <windows.h>

#include <string>

// The face the font mapper gives for the font.
std::wstring RealizedFaceName(HFONT font);
// Creates the font in lf's character set when the mapper gives the same face for it as for
// the default set; otherwise in the default set. Null when no font can be made.
HFONT CreateFontKeepingFace(LOGFONTW lf);
