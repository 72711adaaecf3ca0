#include <windows.h>

#include "forms/Files.h"

#include "forms/Exceptions.h"
#include "forms/Handles.h"

#include <algorithm>

std::wstring ProgramFileName() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD len = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (len == 0)
            RaiseLastOSError(L"GetModuleFileName");
        if (len < buffer.size()) {
            buffer.resize(len);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ProgramFolder() { return ExtractFilePath(ProgramFileName()); }

std::wstring TempFolder() {
    const DWORD needed = GetTempPathW(0, nullptr);
    if (needed == 0)
        RaiseLastOSError(L"GetTempPath");
    std::wstring buffer(needed + 1, L'\0');
    const DWORD len = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (len == 0 || len >= buffer.size())
        RaiseLastOSError(L"GetTempPath");
    buffer.resize(len);
    return buffer;
}

bool FileExists(const std::wstring& path) {
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    // A name that exists but cannot be examined still counts as taken.
    const DWORD err = GetLastError();
    return err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND && err != ERROR_INVALID_NAME &&
           err != ERROR_BAD_NETPATH && err != ERROR_INVALID_DRIVE;
}

bool ForceDirectories(const std::wstring& path) {
    std::wstring dir = path;
    while (dir.size() > 3 && (dir.back() == L'\\' || dir.back() == L'/'))
        dir.pop_back();
    if (dir.empty())
        return false;
    if (DirectoryExists(dir))
        return true;
    const std::wstring parent = ExtractFilePath(dir);
    if (!parent.empty() && parent.size() < dir.size() && !DirectoryExists(parent))
        ForceDirectories(parent);
    CreateDirectoryW(dir.c_str(), nullptr);
    return DirectoryExists(dir);
}

std::wstring ExtractFilePath(const std::wstring& path) {
    const auto pos = path.find_last_of(L"\\/:");
    return pos == std::wstring::npos ? std::wstring{} : path.substr(0, pos + 1);
}

std::wstring ExtractFileName(const std::wstring& path) {
    const auto pos = path.find_last_of(L"\\/:");
    return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path) {
    TFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        RaiseLastOSError(L"Cannot open \"" + path + L"\"");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        RaiseLastOSError(L"Cannot read \"" + path + L"\"");
    if (size.QuadPart > 0x7FFFFFFF)
        throw Exception(L"The file \"" + path + L"\" is too large");
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), data.data() + done, static_cast<DWORD>(data.size() - done), &got, nullptr))
            RaiseLastOSError(L"Cannot read \"" + path + L"\"");
        if (got == 0)
            break;
        done += got;
    }
    data.resize(done);
    return data;
}

namespace {
void WriteAll(HANDLE file, std::span<const std::uint8_t> data, const std::wstring& path) {
    std::size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, data.data() + done, chunk, &written, nullptr) || written == 0)
            RaiseLastOSError(L"Cannot write \"" + path + L"\"");
        done += written;
    }
}
} // namespace

void WriteFileAtomic(const std::wstring& path, std::span<const std::uint8_t> data) {
    const std::wstring temp = path + L".tmp~";
    {
        TFileHandle file(
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            RaiseLastOSError(L"Cannot create \"" + path + L"\"");
        try {
            WriteAll(file.Get(), data, path);
        } catch (...) {
            file.Reset();
            DeleteFileW(temp.c_str());
            throw;
        }
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD err = GetLastError();
        DeleteFileW(temp.c_str());
        RaiseOSError(err, L"Cannot create \"" + path + L"\"");
    }
}

bool WriteNewFile(const std::wstring& path, std::span<const std::uint8_t> data) {
    TFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD err = GetLastError();
        if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS || err == ERROR_ACCESS_DENIED)
            if (PathExists(path))
                return false;
        RaiseOSError(err, L"Cannot create \"" + path + L"\"");
    }
    try {
        WriteAll(file.Get(), data, path);
    } catch (...) {
        file.Reset();
        DeleteFileW(path.c_str());
        throw;
    }
    return true;
}
