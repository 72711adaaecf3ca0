#include "core/CaptureNaming.h"

#include <algorithm>

std::wstring AutoSaveFileName(std::wstring_view folder, unsigned long long n, std::wstring_view ext) {
    std::wstring name(folder);
    name += L"\\Capture_";
    name += std::to_wstring(n);
    name += L'.';
    name += ext;
    return name;
}

TAutoSaveName MakeUniqueFileName(std::wstring_view folder, std::wstring_view ext,
                                 const std::function<TNameProbe(const std::wstring&)>& probe,
                                 unsigned long long limit) {
    for (unsigned long long n = 1; n <= limit; ++n) {
        std::wstring name = AutoSaveFileName(folder, n, ext);
        // A name that cannot be looked up is no proof that it is taken: going on would
        // count every name of an unreachable folder as taken.
        if (const TNameProbe found = probe(name); found != TNameProbe::Taken)
            return {found, std::move(name)};
    }
    return {TNameProbe::Taken, {}};
}

std::wstring CaptionWithoutExtension(std::wstring_view caption) {
    const auto dot = caption.rfind(L'.');
    if (dot == std::wstring_view::npos || caption.find_first_of(L"\\:", dot) != std::wstring_view::npos)
        return std::wstring(caption);
    return std::wstring(caption.substr(0, dot));
}

std::wstring NewDocumentName(std::wstring_view base, const std::vector<std::wstring>& captions) {
    std::vector<std::wstring> names;
    names.reserve(captions.size());
    for (const auto& c : captions)
        names.push_back(CaptionWithoutExtension(c));
    const auto taken = [&](const std::wstring& candidate) {
        return std::any_of(names.begin(), names.end(),
                           [&](const std::wstring& n) { return n == candidate || n == L"*" + candidate; });
    };
    std::wstring candidate(base);
    for (unsigned long long counter = 2; taken(candidate); ++counter)
        candidate = std::wstring(base) + L" " + std::to_wstring(counter);
    return candidate;
}
