#pragma once
// The single-instance test: a named mutex owned by the first instance for its whole life,
// and the window message registered under the same name for the hand-over.
#include <windows.h>

#include <string>

extern std::wstring PrevInstanceName;
extern UINT PrevInstanceMessage;
extern HANDLE PrevInstanceMutex;

// Stores the name and registers the hand-over message of that name.
void InitPrevInstance(const std::wstring& name);
// True only when the mutex already existed (another instance runs); then its handle is
// closed. When creating it fails, the program counts as the first instance.
bool IsPrevInstanceRunning();
void ClosePrevInstanceMutex();
// The second start's side of the hand-over: the argument goes into the global atom table
// (an empty argument as atom 0) and the registered message is posted to every top-level
// window with the atom as its first parameter.
void PostToPrevInstance(const std::wstring& argument);
// The running instance's side: reads the argument of one hand-over message and deletes its
// atom. An atom 0, or one whose name cannot be read, gives the empty text.
std::wstring TakeHandOverArgument(WPARAM atom);
