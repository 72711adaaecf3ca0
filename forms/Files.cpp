#include "forms/Files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <utility>

#include "forms/Exceptions.h"
#include "forms/Handles.h"

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

std::wstring ProgramFolder() {
    return ExtractFilePath(ProgramFileName());
}

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

TFileRead ReadOpenFile(HANDLE file, std::uint64_t maxBytes) {
    TFileRead result;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        result.Error = GetLastError();
        return result;
    }
    if (size.QuadPart < 0 || static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        result.Status = TReadStatus::TooLarge;
        return result;
    }
    result.Bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < result.Bytes.size()) {
        // One read takes at most a DWORD's count; pieces of 16 MiB keep each call short.
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(result.Bytes.size() - done, 1u << 24));
        DWORD got = 0;
        if (!ReadFile(file, result.Bytes.data() + done, chunk, &got, nullptr)) {
            result.Error = GetLastError();
            result.Bytes.clear();
            return result;
        }
        if (got == 0) {
            result.Shortened = true;
            break;
        }
        done += got;
    }
    result.Bytes.resize(done);
    result.Status = TReadStatus::Read;
    return result;
}

std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path) {
    // Shared for deletion: a read never makes another writer's rename into place fail.
    TFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        RaiseLastOSError(L"Cannot open \"" + path + L"\"");
    TFileRead read = ReadOpenFile(file.Get(), 0x7FFFFFFF);
    if (read.Status == TReadStatus::TooLarge)
        throw Exception(L"The file \"" + path + L"\" is too large");
    if (read.Status == TReadStatus::Failed)
        RaiseOSError(read.Error, L"Cannot read \"" + path + L"\"");
    return std::move(read.Bytes);
}

bool WriteOpenFile(HANDLE file, std::span<const std::uint8_t> data, DWORD& error) {
    std::size_t done = 0;
    while (done < data.size()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, data.data() + done, chunk, &written, nullptr) || written == 0) {
            error = GetLastError();
            return false;
        }
        done += written;
    }
    return true;
}

DWORD TryWriteFileAtomic(const std::wstring& path, std::span<const std::uint8_t> data, bool createNew) {
    // A read-only file is not replaced (the rename alone would not refuse it everywhere).
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (!createNew && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_ACCESS_DENIED;
    // A name of its own for every write, so that two writers of one file never share it.
    static std::atomic<unsigned> serial{0};
    std::wstring temp;
    TFileHandle file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = path + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(serial++) +
               L".tmp";
        file.Reset(
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file)
        return GetLastError();

    DWORD error = 0;
    if (!WriteOpenFile(file.Get(), data, error))
        error = error ? error : ERROR_WRITE_FAULT;
    else if (!FlushFileBuffers(file.Get()))
        error = GetLastError();
    file.Reset();
    if (error == 0) {
        const DWORD flags = MOVEFILE_WRITE_THROUGH | (createNew ? 0 : MOVEFILE_REPLACE_EXISTING);
        // Another program reading the old file for a moment (a virus scanner, an indexer,
        // an editor) keeps it from being replaced, which the system reports as a denied
        // access or a sharing violation; the replace is tried again for a while before the
        // write fails.
        for (int attempt = 0; attempt < kReplaceTries; ++attempt) {
            if (attempt > 0)
                Sleep(kReplaceRetryDelay);
            error = MoveFileExW(temp.c_str(), path.c_str(), flags) ? 0 : GetLastError();
            if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION &&
                error != ERROR_LOCK_VIOLATION)
                break;
        }
        if (error == ERROR_FILE_EXISTS)
            error = ERROR_ALREADY_EXISTS;
    }
    if (error != 0)
        DeleteFileW(temp.c_str());
    return error;
}

void WriteFileAtomic(const std::wstring& path, std::span<const std::uint8_t> data) {
    if (const DWORD error = TryWriteFileAtomic(path, data, false))
        RaiseOSError(error, L"Cannot write \"" + path + L"\"");
}
