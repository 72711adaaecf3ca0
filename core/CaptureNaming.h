#pragma once
// Names given to captures: the numbered auto-save files of the output folder and the
// names of new documents.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Folder + "\Capture_" + n + "." + ext. The separator is always inserted, also when the
// folder already ends with one (the file system reads the doubled separator as one).
std::wstring AutoSaveFileName(std::wstring_view folder, unsigned long long n, std::wstring_view ext);

// What looking up one auto-save name found.
enum class TNameProbe : std::uint8_t { Free = 0, Taken = 1, Failed = 2 };
// The highest number the auto-save tries before it gives up.
inline constexpr unsigned long long kMaxAutoSaveNumber = 100000;

struct TAutoSaveName {
    // Free: Name is the first free name. Failed: looking Name up failed, and the search
    // stopped there. Taken: every number up to the limit is taken (Name is empty).
    TNameProbe Probe = TNameProbe::Taken;
    std::wstring Name;
};
// The first auto-save name from 1 upward that probe finds free. Only "taken" moves on to
// the next number; only the given extension is probed.
TAutoSaveName MakeUniqueFileName(std::wstring_view folder, std::wstring_view ext,
                                 const std::function<TNameProbe(const std::wstring&)>& probe,
                                 unsigned long long limit = kMaxAutoSaveNumber);

// A caption without its file extension: the part from the last "." on is cut when no
// "\" or ":" follows that ".".
std::wstring CaptionWithoutExtension(std::wstring_view caption);

// The name of a new document: base, then base + " 2", " 3" ... the first that no caption
// (without its extension, with or without the leading "*" of unsaved changes) bears.
// Comparison is exact and case-sensitive.
std::wstring NewDocumentName(std::wstring_view base, const std::vector<std::wstring>& captions);
