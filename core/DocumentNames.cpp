#include "core/DocumentNames.h"

#include <algorithm>

namespace {
// Position of the extension's "." or npos.
std::size_t ExtensionStart(const std::wstring& path) {
    const auto pos = path.find_last_of(L".\\:");
    return pos != std::wstring::npos && path[pos] == L'.' ? pos : std::wstring::npos;
}

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) {
        return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    });
    return text;
}
} // namespace

std::wstring FileNamePart(const std::wstring& path) {
    const auto pos = path.find_last_of(L"\\:");
    return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

std::wstring LowerExtensionOf(const std::wstring& path) {
    const auto pos = ExtensionStart(path);
    return pos == std::wstring::npos ? std::wstring() : Lower(path.substr(pos));
}

std::wstring SaveFileNameWithExt(const std::wstring& name, int filterIndex) {
    static const wchar_t* const kExtensions[] = {L".bmp", L".gif", L".jpg", L".png"};
    const std::wstring own = LowerExtensionOf(name);
    const std::wstring wanted = filterIndex >= 1 && filterIndex <= 4 ? kExtensions[filterIndex - 1] : own;
    if (own == wanted)
        return name;
    const auto pos = ExtensionStart(name);
    return (pos == std::wstring::npos ? name : name.substr(0, pos)) + wanted;
}

std::wstring NextDocumentName(const std::wstring& base, const std::vector<std::wstring>& captions) {
    std::wstring candidate = base;
    int counter = 2;
    // The counter never goes back: every clash moves on to the next number and scans again.
    for (;;) {
        const bool taken = std::any_of(captions.begin(), captions.end(), [&](const std::wstring& caption) {
            const std::wstring bare =
                !caption.empty() && caption.front() == L'*' ? caption.substr(1) : caption;
            return bare == candidate;
        });
        if (!taken)
            return candidate;
        candidate = base + L" " + std::to_wstring(counter++);
    }
}
