#pragma once
// Starting the test helper programs (build/win/helpers) as other processes, and waiting
// for them with a bounded wait that keeps this thread's messages flowing: a window of ours
// may be asked something (the clipboard owner is) while the helper runs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/Deadlines.h"

namespace helper_process {

// A Unix path from the test environment as Wine sees it (drive Z: is the root).
inline std::wstring WinePath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p)
        path.push_back(*p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    return path;
}

inline std::wstring HelperExe(const wchar_t* name) {
    const char* dir = std::getenv("TOLVEX_HELPERS_DIR");
    return WinePath(dir ? dir : ".") + L"\\" + name + L".exe";
}

// Waits for a handle while this thread's messages keep flowing; false on time-out.
inline bool WaitPumping(HANDLE handle, DWORD timeout) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeout)
            return false;
        if (MsgWaitForMultipleObjects(1, &handle, FALSE, timeout - elapsed, QS_ALLINPUT) == WAIT_OBJECT_0)
            return true;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// A running helper; the destructor ends it if it is still running.
class TProcess {
public:
    explicit TProcess(const std::wstring& commandLine) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring line = commandLine;
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
            CloseHandle(pi_.hThread);
        else
            pi_.hProcess = nullptr;
    }
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;
    ~TProcess() {
        if (pi_.hProcess) {
            if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(pi_.hProcess, 99);
            CloseHandle(pi_.hProcess);
        }
    }
    bool Started() const { return pi_.hProcess != nullptr; }
    // The exit code, or -1 when it did not end within the time (it is then ended).
    int Wait(DWORD timeout = deadlines::kStateTicks) {
        if (!pi_.hProcess)
            return -2;
        if (!WaitPumping(pi_.hProcess, timeout)) {
            TerminateProcess(pi_.hProcess, 99);
            return -1;
        }
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<int>(code);
    }

private:
    PROCESS_INFORMATION pi_{};
};

// Runs a helper to its end; its exit code, or -1 when it hung.
inline int RunHelper(const wchar_t* name, const std::wstring& arguments, DWORD timeout = 20000) {
    TProcess process(L"\"" + HelperExe(name) + L"\" " + arguments);
    return process.Wait(timeout);
}

// A fresh file name in the temporary folder for a helper's report.
inline std::wstring ReportPath(const wchar_t* stem) {
    std::wstring folder(GetTempPathW(0, nullptr), L'\0');
    folder.resize(GetTempPathW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder + stem + L"-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
}

inline std::string ReadText(const std::wstring& path) {
    std::string text;
    if (FILE* in = _wfopen(path.c_str(), L"rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
            text.append(buffer, n);
        std::fclose(in);
    }
    return text;
}

} // namespace helper_process
