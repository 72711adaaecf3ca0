#pragma once
// Driving the real Tolvex.exe from outside: a private copy of the program folder per test,
// the process started and ended, its windows found, menus chosen, registry and files read.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/Deadlines.h"

namespace e2e {

// Unix paths from the test environment as Windows paths (drive Z: is the Unix root).
std::wstring UnixToWindowsPath(const std::string& unixPath);
std::wstring EnvPath(const char* variable);

// Waits until the condition holds; false when the time ran out.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = deadlines::kStateMs);
// The quiet period of a check that something does not happen (after a positive sync point).
using deadlines::QuietPeriod;

// A fresh program folder with a copy of Tolvex.exe (and its Language folder).
class TProgramFolder {
public:
    TProgramFolder();
    ~TProgramFolder();
    const std::wstring& Path() const { return path_; } // with a trailing separator
    std::wstring Exe() const { return path_ + L"Tolvex.exe"; }

private:
    std::wstring path_;
};

// A started program; ended (killed if need be) when the object goes.
class TProcess {
public:
    TProcess(const std::wstring& exe, const std::wstring& args = {});
    ~TProcess();
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;
    DWORD Id() const { return pi_.dwProcessId; }
    HANDLE Handle() const { return pi_.hProcess; }
    bool Running() const;
    // Waits for the end; the exit code, or nothing when it did not end in time.
    std::optional<DWORD> WaitExit(int timeoutMs = deadlines::kStateMs);
    void Kill();

private:
    PROCESS_INFORMATION pi_{};
};

// Ids of the running processes started from a program file (compared without regard to
// case); and the end of every such process, for a test that leaves none behind.
std::vector<DWORD> ProcessesOf(const std::wstring& exe);
void KillProcessesOf(const std::wstring& exe);

// Top-level windows of a class (and, when given, of one process).
std::vector<HWND> FindWindows(const std::wstring& className, DWORD processId = 0);
// The main window of Tolvex of a process (any process when 0).
HWND MainWindowOf(DWORD processId, int timeoutMs = deadlines::kStateMs);
// The descendant window of root with this caption, or null.
HWND DescendantWithCaption(HWND root, const std::wstring& caption);
// Waits for the start-up work of a freshly started program (English texts): its first
// activation registers the hotkeys, then its start-up timer docks the tool window; true
// once the tool window is docked, so that a pressed hotkey reaches the program.
bool WaitForStartUp(HWND mainWindow);
// The main window once it is shown and the start-up work is done (WaitForStartUp), or a
// message box of the process stops the start-up (answer it, then WaitForStartUp); null
// when neither came.
HWND MainWindowReadyForHotkeys(const TProcess& process);
// Chooses the menu item with this caption (as the user would): the command is posted.
// Works where menus of other processes can be read (not under Wine).
bool ChooseMenuItem(HWND window, const std::wstring& caption);
// Real exit, through the log-off query that marks the next close as the exit; true when
// the process ended in time.
bool ExitProgram(TProcess& process, HWND mainWindow);

// Moves the real pointer to a screen point with SendInput, with the button events given
// (MOUSEEVENTF_LEFTDOWN ...); returns once the system has the pointer there.
void MoveMouse(int x, int y, DWORD buttons = 0);
// Holds the pointer at a screen point until the condition holds, as a hand held still
// there. Wine may hand a program an older place of the pointer after the newest one and
// then put the pointer back without a move message, so that the program's last move lies
// behind: the pointer is moved there again (a pixel down and back, a move the program
// sees) until the program shows that it saw it there. False at the deadline.
bool HoldMouseUntil(POINT at, const std::function<bool()>& condition);
// Waits until the windows have stood still on the screen for a while, their threads
// answering in between: a layout pass that was moving them has ended, so that a click
// lands where their places were read. False when they kept moving until the deadline.
bool WaitForStillLayout(const std::vector<HWND>& windows);
// Whether a push-like or check button of another process shows pressed.
bool ButtonChecked(HWND button);

// The registry of the current user.
struct TRegValue {
    DWORD Type = REG_NONE;
    std::wstring Text;
    DWORD Number = 0;
};
std::optional<TRegValue> ReadRegValue(const std::wstring& key, const std::wstring& name);
std::vector<std::wstring> RegValueNames(const std::wstring& key);
bool RegKeyExists(const std::wstring& key);
void DeleteRegTree(const std::wstring& key);
void WriteRegString(const std::wstring& key, const std::wstring& name, const std::wstring& value);
void WriteRegDword(const std::wstring& key, const std::wstring& name, DWORD value);

// The product's own settings key and the browser button's key.
inline const std::wstring kSettingsKey = L"Software\\Tolvex";
inline const std::wstring kButtonKey =
    L"Software\\Microsoft\\Internet Explorer\\Extensions\\{7C2D1A90-4B3E-4F15-9E6A-1D8B3C5F2A47}";

std::string ReadTextFile(const std::wstring& path);
void WriteTextFile(const std::wstring& path, const std::string& text);
bool FileExists(const std::wstring& path);
std::wstring TempFolder();

// The child windows of a window of one class, in the order the system lists them; the
// one of them with this text.
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className);
HWND ChildWithText(HWND parent, const std::wstring& className, const std::wstring& text);
// The visible tool bars of a window from the top row down, left to right on a row: at the
// start, the main tool bar first. The system lists child windows in their z-order, which
// says nothing about where a bar stands (the bar area puts each band's bar on top).
std::vector<HWND> ToolBarsTopDown(HWND window);
// The program's open or save dialog while it shows, or null.
HWND OpenDialogOf(DWORD processId);
// The document windows in the main window's document area; -1 without the area.
int DocumentCount(HWND main);
// Runs the command of a tool-bar button of another process, as its click does.
bool ClickToolButton(const TProcess& process, HWND toolBar, int index);

} // namespace e2e
