#pragma once
// Names given to captures: the numbered auto-save files of the output folder and the
// names of new documents.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Folder + "\Capture_" + n + "." + ext. The separator is always inserted, also when the
// folder already ends with one (the file system reads the doubled separator as one).
std::wstring AutoSaveFileName(std::wstring_view folder, unsigned long long n, std::wstring_view ext);

// The first auto-save name from 1 upward for which taken(name) is false. Only the given
// extension is probed.
std::wstring MakeUniqueFileName(std::wstring_view folder, std::wstring_view ext,
                                const std::function<bool(const std::wstring&)>& taken);

// A caption without its file extension: the part from the last "." on is cut when no
// "\" or ":" follows that ".".
std::wstring CaptionWithoutExtension(std::wstring_view caption);

// The name of a new document: base, then base + " 2", " 3" ... the first that no caption
// (without its extension, with or without the leading "*" of unsaved changes) bears.
// Comparison is exact and case-sensitive.
std::wstring NewDocumentName(std::wstring_view base, const std::vector<std::wstring>& captions);
