#include "shell/components/BrwsFldr.h"

#include <windows.h>

#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include <memory>

#include "forms/Application.h"

namespace {
struct TItemListFree {
    void operator()(ITEMIDLIST* item) const { CoTaskMemFree(item); }
};
using TItemList = std::unique_ptr<ITEMIDLIST, TItemListFree>;

// OLE for the new-style dialog, released however the run ends.
class TOleScope {
public:
    explicit TOleScope(bool needed) : active_(needed && SUCCEEDED(OleInitialize(nullptr))) {}
    TOleScope(const TOleScope&) = delete;
    TOleScope& operator=(const TOleScope&) = delete;
    ~TOleScope() {
        if (active_)
            OleUninitialize();
    }

private:
    bool active_;
};

bool DirectoryExists(const std::wstring& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The window the dialog belongs to: the program's active window, so that the window that
// asks stays disabled while the dialog runs; the application's hidden window otherwise.
HWND DialogOwner() {
    const HWND active = GetActiveWindow();
    if (active && IsWindowEnabled(active))
        return active;
    return Application ? Application->UtilWindow() : nullptr;
}
} // namespace

std::wstring ShellItemPath(LPCITEMIDLIST item) {
    if (!item)
        return {};
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListW(item, buffer))
        return {};
    buffer[MAX_PATH] = L'\0';
    return buffer;
}

TBrowseForFolder::TBrowseForFolder(TForm* owner, std::wstring name) : TComponent(owner, std::move(name)) {}

void TBrowseForFolder::SelChanged(const std::wstring&, bool&) {}

void TBrowseForFolder::SetPosition(int&, int&, int, int) {}

bool TBrowseForFolder::Execute() {
    ITEMIDLIST* rootItem = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &rootItem);
    const TItemList root(rootItem);

    BROWSEINFOW info{};
    info.hwndOwner = DialogOwner();
    info.pidlRoot = root.get();
    info.lpszTitle = Title.empty() ? nullptr : Title.c_str();
    if (!StatusText.empty() && !NewDialogStyle)
        info.ulFlags |= BIF_STATUSTEXT;
    if (EditBox)
        info.ulFlags |= BIF_EDITBOX;
    if (NewDialogStyle)
        info.ulFlags |= BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    const TOleScope ole(NewDialogStyle);
    dialog_ = nullptr;
    const TItemList chosen(SHBrowseForFolderW(&info));
    dialog_ = nullptr;
    if (!chosen)
        return false;
    Path = ShellItemPath(chosen.get());
    return true;
}

int CALLBACK TBrowseForFolder::BrowseCallback(HWND wnd, UINT msg, LPARAM lParam, LPARAM data) {
    auto* self = reinterpret_cast<TBrowseForFolder*>(data);
    Guarded([&] {
        if (msg == BFFM_INITIALIZED)
            self->DialogCreated(wnd);
        else if (msg == BFFM_SELCHANGED)
            self->SelectionChanged(wnd, reinterpret_cast<LPCITEMIDLIST>(lParam));
    });
    return 0;
}

void TBrowseForFolder::DialogCreated(HWND wnd) {
    if (!StatusText.empty())
        SendMessageW(wnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(StatusText.c_str()));
    if (!Path.empty())
        SendMessageW(wnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(Path.c_str()));
    // Centred on the primary screen, whatever the other monitors are.
    RECT bounds{};
    GetWindowRect(wnd, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    int left = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
    int top = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
    if (OnSetPosition)
        OnSetPosition(this, left, top, width, height);
    SetPosition(left, top, width, height);
    if (left != bounds.left || top != bounds.top)
        MoveWindow(wnd, left, top, width, height, FALSE);
}

void TBrowseForFolder::SelectionChanged(HWND wnd, LPCITEMIDLIST item) {
    dialog_ = wnd;
    // The handle is cleared however the events end.
    struct TClear {
        HWND& Handle;
        ~TClear() { Handle = nullptr; }
    } clear{dialog_};
    const std::wstring path = ShellItemPath(item);
    bool enableOk = DirectoryExists(path);
    if (OnSelChanged)
        OnSelChanged(this, path, enableOk);
    SelChanged(path, enableOk);
    SendMessageW(wnd, BFFM_ENABLEOK, 0, enableOk ? 1 : 0);
    // Some shells set the button again by their own rules after this notification; the
    // posted copy arrives after that and keeps the decision made here.
    PostMessageW(wnd, BFFM_ENABLEOK, 0, enableOk ? 1 : 0);
}
