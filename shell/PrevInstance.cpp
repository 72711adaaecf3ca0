#include "shell/PrevInstance.h"

#include <windows.h>

std::wstring PrevInstanceName;
UINT PrevInstanceMessage = 0;
HANDLE PrevInstanceMutex = nullptr;

void InitPrevInstance(const std::wstring& name) {
    PrevInstanceName = name;
    PrevInstanceMessage = RegisterWindowMessageW(name.c_str());
}

bool IsPrevInstanceRunning() {
    PrevInstanceMutex = CreateMutexW(nullptr, TRUE, PrevInstanceName.c_str());
    if (PrevInstanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(PrevInstanceMutex);
        PrevInstanceMutex = nullptr;
        return true;
    }
    return false;
}

void ClosePrevInstanceMutex() {
    if (PrevInstanceMutex)
        CloseHandle(PrevInstanceMutex);
    PrevInstanceMutex = nullptr;
}

void PostToPrevInstance(const std::wstring& argument) {
    // An empty text has no atom: the running instance reads atom 0 as "no argument".
    const ATOM atom = argument.empty() ? ATOM{0} : GlobalAddAtomW(argument.c_str());
    PostMessageW(HWND_BROADCAST, PrevInstanceMessage, atom, 0);
}

std::wstring TakeHandOverArgument(WPARAM atom) {
    const auto id = static_cast<ATOM>(atom);
    if (id == 0)
        return {};
    wchar_t buffer[260] = {};
    const UINT len = GlobalGetAtomNameW(id, buffer, 260);
    GlobalDeleteAtom(id);
    return std::wstring(buffer, len);
}
