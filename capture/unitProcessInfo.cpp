#include "capture/unitProcessInfo.h"

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include "forms/Handles.h"

namespace {
// The longest path a module name can have on this system.
constexpr DWORD kMaxModulePath = 32768;
// The first name buffer: enough for nearly every program.
constexpr DWORD kFirstModulePath = 1024;
} // namespace

std::wstring GetWindowProcessFileName(HWND wnd) {
    DWORD processId = 0;
    if (!wnd || !GetWindowThreadProcessId(wnd, &processId) || processId == 0)
        return {};
    return GetProcessFileName(processId);
}

std::wstring GetProcessFileName(DWORD processId) {
    // Every system this program runs on is of the NT family: the process list there
    // names files without their folders. The image-name query also reads 64-bit
    // processes, whose modules a 32-bit program cannot list; the module name is the way
    // left where the query is refused.
    std::wstring name = GetProcessFileNameByQuery(processId);
    return name.empty() ? GetProcessFileNameByPsApi(processId) : name;
}

std::wstring GetProcessFileNameByQuery(DWORD processId) {
    const TKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return {};
    for (DWORD size = kFirstModulePath; size <= kMaxModulePath; size *= 2) {
        std::wstring name(size, L'\0');
        DWORD length = size;
        if (QueryFullProcessImageNameW(process.Get(), 0, name.data(), &length)) {
            name.resize(length);
            return name;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return {};
    }
    return {};
}

std::wstring GetProcessFileNameByToolHelp(DWORD processId) {
    // The list's handle is invalid, not null, when it cannot be made.
    const TFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return {};
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32FirstW(snapshot.Get(), &entry); ok; ok = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == processId) {
            // The name is cut at its zero, never read past the entry's buffer.
            const wchar_t* begin = entry.szExeFile;
            const wchar_t* end = begin;
            while (end < begin + MAX_PATH && *end)
                ++end;
            return std::wstring(begin, end);
        }
    }
    return {};
}

std::wstring GetProcessFileNameByPsApi(DWORD processId) {
    const TKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process)
        return {};
    // Room for one handle: the first module is the executable itself.
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process.Get(), &module, sizeof module, &needed) || !module)
        return {};
    // A name that fills the buffer may have been cut: read again with more room.
    for (DWORD size = kFirstModulePath; size <= kMaxModulePath; size *= 2) {
        std::wstring name(size, L'\0');
        const DWORD length = GetModuleFileNameExW(process.Get(), module, name.data(), size);
        if (length == 0)
            return {};
        if (length < size - 1) {
            name.resize(length);
            return name;
        }
    }
    return {};
}
