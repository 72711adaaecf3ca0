#pragma once
// Free routines of the shell: foreground activation and folder clean-up.
#include <windows.h>

#include <string>

// Brings a window to the foreground, restoring it when minimised and attaching to the
// foreground thread's input when needed; true when it is the foreground window at the end.
bool ForceForegroundWindow(HWND wnd);
// Deletes every plain file directly inside a folder (a path ending with a separator);
// sub-folders and files that cannot be deleted stay.
void DeleteFilesInFolder(const std::wstring& folder);
// The undo folder "~Vrim" in the user's temporary folder, with a trailing separator.
std::wstring UndoFolder();
