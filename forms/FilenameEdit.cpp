#include "forms/FilenameEdit.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "forms/Form.h"

std::function<bool(std::wstring& fileName, const std::wstring& filter)> OpenDialogHook;

namespace {
// The browse button is as wide as the edit is high, at most a third of the whole.
int ButtonWidth(int width, int height) {
    return std::max(0, std::min(height, width / 3));
}

// The open dialog's filter: "|" separators become zeros, the list ends with two.
std::vector<wchar_t> DialogFilter(const std::wstring& filter) {
    std::vector<wchar_t> result(filter.begin(), filter.end());
    std::replace(result.begin(), result.end(), L'|', L'\0');
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}
} // namespace

TFilenameEdit::TFilenameEdit(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width,
                             int height)
    : TEdit(owner, std::move(name), parent, left, top, width - ButtonWidth(width, height), height),
      button_(owner->Make<TButton>(std::wstring{}, parent, L"...", left + width - ButtonWidth(width, height),
                                   top, ButtonWidth(width, height), height)) {
    button_->OnClick = [this](TObject*) { Browse(); };
}

void TFilenameEdit::Browse() {
    std::wstring chosen = FileName();
    if (OpenDialogHook) {
        if (OpenDialogHook(chosen, Filter))
            SetFileName(chosen);
        return;
    }
    // Room for a long path; the dialog reports a name that does not fit as a failure.
    std::vector<wchar_t> buffer(32768, L'\0');
    std::copy_n(chosen.begin(), std::min(chosen.size(), buffer.size() - 1), buffer.begin());
    std::vector<wchar_t> filter = DialogFilter(Filter);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Owner() ? Owner()->Handle() : nullptr;
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.data();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&ofn))
        SetFileName(buffer.data());
}
