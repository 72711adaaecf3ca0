#pragma once
// A folder of its own for one test below the temporary folder, emptied and removed
// afterwards (a folder left by an earlier, broken run of the same name goes too).
#include <windows.h>

#include <string>
#include <vector>

#include "forms/Handles.h"

class TScratchFolder {
public:
    explicit TScratchFolder(const std::wstring& prefix) {
        static int counter = 0;
        // The temporary folder read with the length the system reports.
        std::wstring temp(GetTempPathW(0, nullptr), L'\0');
        temp.resize(GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
        path_ = temp + prefix + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
        RemoveAll();
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TScratchFolder() { RemoveAll(); }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    // The names of everything in the folder, in the order the system lists them.
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        TFindHandle search(FindFirstFileW(File(L"*").c_str(), &found));
        if (!search)
            return names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                names.push_back(name);
        } while (FindNextFileW(search.Get(), &found));
        return names;
    }

private:
    // Files (read-only ones too) and empty folders inside, then the folder itself.
    void RemoveAll() const {
        for (const std::wstring& name : Names()) {
            const std::wstring path = File(name);
            if (!RemoveDirectoryW(path.c_str())) {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        }
        RemoveDirectoryW(path_.c_str());
    }

    std::wstring path_;
};
