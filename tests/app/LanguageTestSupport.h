#pragma once
// Language files written for a test into the program folder's Language sub-folder (the
// only place the language component reads from) and removed afterwards.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "forms/Files.h"

class TScopedLanguageFile {
public:
    // name: a bare file name; bytes: the file's content as stored on disk.
    TScopedLanguageFile(std::wstring name, std::string_view bytes)
        : name_(std::move(name)), path_(ProgramFolder() + L"Language\\" + name_) {
        ForceDirectories(ProgramFolder() + L"Language");
        WriteFileAtomic(path_, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    }
    TScopedLanguageFile(const TScopedLanguageFile&) = delete;
    TScopedLanguageFile& operator=(const TScopedLanguageFile&) = delete;
    ~TScopedLanguageFile() { DeleteFileW(path_.c_str()); }
    const std::wstring& Name() const { return name_; }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring name_;
    std::wstring path_;
};
