#include "E2eSupport.h"

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

#include "tests/support/PickerDriver.h"

namespace e2e {

std::wstring UnixToWindowsPath(const std::string& unixPath) {
    std::wstring out = L"Z:";
    for (char c : unixPath)
        out += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

std::wstring EnvPath(const char* variable) {
    // The folders come from the test runner's environment. Without them a path would start
    // at the drive's root, and the program folder's copy would copy the whole file system
    // into itself: the run stops here instead.
    const char* value = std::getenv(variable);
    if (!value || !*value) {
        std::fprintf(stderr, "%s is not set: run the end-to-end tests through ctest\n", variable);
        std::exit(2);
    }
    return UnixToWindowsPath(value);
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    return deadlines::PollUntil(condition, timeoutMs);
}

namespace {
struct TCaptionSearch {
    const std::wstring& Caption;
    HWND Found = nullptr;
};
BOOL CALLBACK MatchCaption(HWND wnd, LPARAM lParam) {
    auto* search = reinterpret_cast<TCaptionSearch*>(lParam);
    wchar_t text[256] = {};
    GetWindowTextW(wnd, text, 256);
    if (search->Caption != text)
        return TRUE;
    search->Found = wnd;
    return FALSE;
}
} // namespace

HWND DescendantWithCaption(HWND root, const std::wstring& caption) {
    TCaptionSearch search{caption};
    EnumChildWindows(root, MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

namespace {
// The tool window lies in the hidden dock area from its creation; the start-up timer shows
// the area and the window in it (whether the main window shows or not).
bool ToolWindowDocked(HWND mainWindow) {
    const auto shown = [](HWND w) { return w && (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0; };
    const HWND tool = DescendantWithCaption(mainWindow, L"Tool Window");
    return shown(tool) && shown(GetParent(tool));
}
} // namespace

bool WaitForStartUp(HWND mainWindow) {
    return WaitFor([&] { return ToolWindowDocked(mainWindow); });
}

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD len = GetTempPathW(MAX_PATH + 1, buffer);
    return std::wstring(buffer, len);
}

namespace {
void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(folder + name + L"\\");
            else
                DeleteFileW((folder + name).c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

void CopyTree(const std::wstring& from, const std::wstring& to) {
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((from + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L".." || name == L"tvl.exe" || name == L"Tolvex.ini")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + name + L"\\", to + name + L"\\");
        else
            CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}
} // namespace

TProgramFolder::TProgramFolder() {
    static int counter = 0;
    path_ = TempFolder() + L"tolvex-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    DeleteTree(path_);
    const std::wstring dist = EnvPath("TOLVEX_DIST_DIR") + L"\\";
    if (!FileExists(dist + L"Tolvex.exe")) {
        std::fprintf(stderr, "no Tolvex.exe in the program folder %ls\n", dist.c_str());
        std::exit(2);
    }
    CopyTree(dist, path_);
}

TProgramFolder::~TProgramFolder() {
    // No program of this folder outlives its test (a stray one would hold the test
    // runner's output open).
    KillProcessesOf(path_ + L"Tolvex.exe");
    KillProcessesOf(path_ + L"tvl.exe");
    DeleteTree(path_);
}

TProcess::TProcess(const std::wstring& exe, const std::wstring& args) {
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!args.empty())
        cmd += L" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    const std::wstring dir = exe.substr(0, exe.find_last_of(L'\\') + 1);
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi_))
        pi_ = {};
}

TProcess::~TProcess() {
    if (pi_.hProcess) {
        if (Running())
            Kill();
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
}

bool TProcess::Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> TProcess::WaitExit(int timeoutMs) {
    if (!pi_.hProcess || WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

void TProcess::Kill() {
    if (pi_.hProcess) {
        TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, deadlines::kStateMs);
    }
}

std::vector<DWORD> ProcessesOf(const std::wstring& exe) {
    std::vector<DWORD> ids;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof(pe);
    for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) {
        HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pe.th32ProcessID);
        if (!h)
            continue;
        wchar_t path[MAX_PATH * 2] = {};
        DWORD len = MAX_PATH * 2;
        if (QueryFullProcessImageNameW(h, 0, path, &len) &&
            CompareStringOrdinal(path, static_cast<int>(len), exe.c_str(), static_cast<int>(exe.size()),
                                 TRUE) == CSTR_EQUAL)
            ids.push_back(pe.th32ProcessID);
        CloseHandle(h);
    }
    CloseHandle(snap);
    return ids;
}

void KillProcessesOf(const std::wstring& exe) {
    for (DWORD id : ProcessesOf(exe)) {
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(h, 99);
            WaitForSingleObject(h, deadlines::kStateMs);
            CloseHandle(h);
        }
    }
}

namespace {
struct FindCtx {
    std::wstring cls;
    DWORD pid;
    std::vector<HWND> found;
};
BOOL CALLBACK FindProc(HWND wnd, LPARAM lParam) {
    auto* c = reinterpret_cast<FindCtx*>(lParam);
    wchar_t cls[256] = {};
    GetClassNameW(wnd, cls, 256);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (c->cls == cls && (c->pid == 0 || c->pid == pid))
        c->found.push_back(wnd);
    return TRUE;
}
} // namespace

std::vector<HWND> FindWindows(const std::wstring& className, DWORD processId) {
    FindCtx ctx{className, processId, {}};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

HWND MainWindowOf(DWORD processId, int timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : FindWindows(L"TolvexForm", processId)) {
                if (GetMenu(w)) { // the main window is the form with the menu bar
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND MainWindowReadyForHotkeys(const TProcess& process) {
    const HWND w = MainWindowOf(process.Id());
    if (!w)
        return nullptr;
    const auto boxShown = [&process] {
        for (HWND box : FindWindows(L"#32770", process.Id()))
            if (IsWindowVisible(box))
                return true;
        return false;
    };
    return WaitFor([&] { return (IsWindowVisible(w) && ToolWindowDocked(w)) || boxShown(); }) ? w : nullptr;
}

void MoveMouse(int x, int y, DWORD buttons) {
    INPUT in = picker_driver::MouseInputAt({x, y}, buttons);
    SendInput(1, &in, sizeof(INPUT));
    WaitFor([&] {
        // The place went to the system scaled: a pixel off is there.
        POINT at{};
        return GetCursorPos(&at) && std::abs(at.x - x) <= 1 && std::abs(at.y - y) <= 1;
    });
}

bool HoldMouseUntil(POINT at, const std::function<bool()>& condition) {
    int nudge = 0;
    return WaitFor([&] {
        if (condition())
            return true;
        nudge ^= 1;
        MoveMouse(at.x, at.y + nudge);
        return false;
    });
}

bool WaitForStillLayout(const std::vector<HWND>& windows) {
    // Long enough for a pending layout message to run on a busy machine, short beside the
    // test: the windows must hold their places this long after the last round trip.
    constexpr auto kStill = std::chrono::milliseconds(300);
    std::vector<RECT> last;
    auto since = std::chrono::steady_clock::now();
    return WaitFor([&] {
        // A round trip through each window's thread: what it was handling when asked is done.
        for (HWND w : windows) {
            DWORD_PTR answer = 0;
            if (!SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, deadlines::kStateMs, &answer))
                return false;
        }
        std::vector<RECT> now(windows.size());
        for (std::size_t i = 0; i < windows.size(); ++i)
            GetWindowRect(windows[i], &now[i]);
        const bool same = now.size() == last.size() &&
                          std::equal(now.begin(), now.end(), last.begin(),
                                     [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; });
        if (!same) {
            last = std::move(now);
            since = std::chrono::steady_clock::now();
            return false;
        }
        return std::chrono::steady_clock::now() - since >= kStill;
    });
}

bool ButtonChecked(HWND button) {
    DWORD_PTR state = 0;
    return SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, deadlines::kStateMs, &state) &&
           state == BST_CHECKED;
}

namespace {
bool FindMenuCommand(HMENU menu, const std::wstring& caption, UINT& command) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            if (FindMenuCommand(sub, caption, command))
                return true;
            continue;
        }
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        std::wstring t = text;
        if (const auto tab = t.find(L'\t'); tab != std::wstring::npos)
            t.resize(tab);
        if (t == caption) {
            command = GetMenuItemID(menu, i);
            return true;
        }
    }
    return false;
}
struct TChildSearch {
    std::wstring ClassName;
    std::vector<HWND> Found;
};
BOOL CALLBACK CollectChild(HWND wnd, LPARAM data) {
    auto* s = reinterpret_cast<TChildSearch*>(data);
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, 64);
    if (s->ClassName == name)
        s->Found.push_back(wnd);
    return TRUE;
}
} // namespace

bool ChooseMenuItem(HWND window, const std::wstring& caption) {
    UINT command = 0;
    HMENU menu = GetMenu(window);
    if (!menu || !FindMenuCommand(menu, caption, command))
        return false;
    return PostMessageW(window, WM_COMMAND, command, 0) != FALSE;
}

bool ExitProgram(TProcess& process, HWND mainWindow) {
    // The log-off query marks the next close as the real exit, as Exit does; menus of
    // another process cannot be read here.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(mainWindow, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, deadlines::kStateMs,
                             &answer) ||
        answer != 1)
        return false;
    PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    return process.WaitExit().has_value();
}

std::optional<TRegValue> ReadRegValue(const std::wstring& key, const std::wstring& name) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return std::nullopt;
    BYTE data[4096] = {};
    DWORD size = sizeof(data) - 2;
    DWORD type = 0;
    const LSTATUS rc = RegQueryValueExW(h, name.c_str(), nullptr, &type, data, &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS)
        return std::nullopt;
    TRegValue v;
    v.Type = type;
    if (type == REG_DWORD)
        v.Number = *reinterpret_cast<DWORD*>(data);
    else if (type == REG_SZ)
        v.Text = reinterpret_cast<const wchar_t*>(data);
    return v;
}

std::vector<std::wstring> RegValueNames(const std::wstring& key) {
    std::vector<std::wstring> names;
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD len = 512;
        if (RegEnumValueW(h, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, len);
    }
    RegCloseKey(h);
    return names;
}

bool RegKeyExists(const std::wstring& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

void DeleteRegTree(const std::wstring& key) {
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

void WriteRegString(const std::wstring& key, const std::wstring& name, const std::wstring& value) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}

void WriteRegDword(const std::wstring& key, const std::wstring& name, DWORD value) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(h, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(h);
}

std::string ReadTextFile(const std::wstring& path) {
    // Shared for deletion too, so that a reading test never keeps the program from
    // replacing the file.
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return {};
    std::string text;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof(buf), &got, nullptr) && got > 0)
        text.append(buf, got);
    CloseHandle(f);
    return text;
}

void WriteTextFile(const std::wstring& path, const std::string& text) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
}

bool FileExists(const std::wstring& path) {
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The child windows of a window of one class, in the order the system lists them.
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className) {
    TChildSearch search{className, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND ChildWithText(HWND parent, const std::wstring& className, const std::wstring& text) {
    for (HWND child : ChildrenOfClass(parent, className)) {
        wchar_t buffer[64] = {};
        GetWindowTextW(child, buffer, 64);
        if (text == buffer)
            return child;
    }
    return nullptr;
}

std::vector<HWND> ToolBarsTopDown(HWND window) {
    std::vector<HWND> bars;
    for (HWND bar : ChildrenOfClass(window, TOOLBARCLASSNAMEW))
        if (IsWindowVisible(bar))
            bars.push_back(bar);
    const auto place = [](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        return std::pair{r.top, r.left};
    };
    std::sort(bars.begin(), bars.end(), [&](HWND a, HWND b) { return place(a) < place(b); });
    return bars;
}

// Runs the command of a tool-bar button of another process, as its click does: the
// button's command id is read through memory of that process.
bool ClickToolButton(const TProcess& process, HWND toolBar, int index) {
    void* remote = VirtualAllocEx(process.Handle(), nullptr, sizeof(TBBUTTON), MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return false;
    TBBUTTON button{};
    SIZE_T read = 0;
    const bool got =
        SendMessageW(toolBar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote)) &&
        ReadProcessMemory(process.Handle(), remote, &button, sizeof(button), &read) && read == sizeof(button);
    VirtualFreeEx(process.Handle(), remote, 0, MEM_RELEASE);
    if (!got || (button.fsStyle & BTNS_SEP))
        return false;
    return PostMessageW(GetParent(toolBar), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED),
                        reinterpret_cast<LPARAM>(toolBar)) != FALSE;
}

HWND OpenDialogOf(DWORD processId) {
    for (HWND w : FindWindows(L"#32770", processId))
        if (IsWindowVisible(w) && (GetDlgItem(w, cmb13) || GetDlgItem(w, edt1)))
            return w;
    return nullptr;
}

int DocumentCount(HWND main) {
    const std::vector<HWND> clients = ChildrenOfClass(main, L"MDIClient");
    if (clients.empty())
        return -1;
    int count = 0;
    for (HWND child = GetWindow(clients[0], GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

} // namespace e2e
