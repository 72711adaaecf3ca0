#pragma once
// Names of documents and their files: the file name part of a path, the extension rule of
// the save dialog, and the name of the next blank document.
#include <string>
#include <vector>

// Everything after the last "\" or ":" (the whole text when there is neither).
std::wstring FileNamePart(const std::wstring& path);
// The extension from the last "." that no "\" or ":" follows, lower-cased; empty when none.
std::wstring LowerExtensionOf(const std::wstring& path);
// The save dialog's name with the extension of the filter chosen at closing (1 ".bmp",
// 2 ".gif", 3 ".jpg", 4 ".png"; any other index keeps the name's own): unchanged when its
// extension already matches in any case, else with its extension replaced or appended.
std::wstring SaveFileNameWithExt(const std::wstring& name, int filterIndex);
// The first of base, "base 2", "base 3" ... that no caption bears, a leading "*" aside.
std::wstring NextDocumentName(const std::wstring& base, const std::vector<std::wstring>& captions);
