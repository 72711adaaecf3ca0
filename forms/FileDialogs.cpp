#include "forms/FileDialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

std::function<bool(TFileDialog& dialog)> FileDialogHook;

bool TFileDialog::Execute(HWND owner) {
    if (FileDialogHook)
        return FileDialogHook(*this);
    // The system wants the filter's parts separated and ended by NUL characters.
    std::wstring filter = Filter;
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    std::vector<wchar_t> name(32768, L'\0');
    FileName.copy(name.data(), std::min<std::size_t>(FileName.size(), name.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex > 0 ? FilterIndex : 1);
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR |
                (kind_ == TKind::Open ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0);
    const BOOL ok = kind_ == TKind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!ok)
        return false;
    FileName = name.data();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}
