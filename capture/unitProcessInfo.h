#pragma once
// The program file of another window's process, for the icon capture.
#include <windows.h>

#include <string>

// The full path of the executable file of the process that owns the window, or "" when
// the window or its process cannot be read.
std::wstring GetWindowProcessFileName(HWND wnd);
// The same for a process id.
std::wstring GetProcessFileName(DWORD processId);
// The process's image name as the system tells it to a holder of the least query rights;
// it reads 32- and 64-bit processes alike. "" when the process cannot be opened.
std::wstring GetProcessFileNameByQuery(DWORD processId);
// The executable named in the system's list of running processes. On the systems this
// program runs on the list holds the file's name without its folder.
std::wstring GetProcessFileNameByToolHelp(DWORD processId);
// The file of the process's first module, the executable itself; "" when the process
// cannot be opened for reading (another user's, or gone).
std::wstring GetProcessFileNameByPsApi(DWORD processId);
