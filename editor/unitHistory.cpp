#include "editor/unitHistory.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "forms/Exceptions.h"
#include "forms/Files.h"
#include "forms/Handles.h"

namespace {

// Paths near or past the classic length limit get the extended-length prefix, so that a
// long temporary folder still works; shorter ones stay as they are.
std::wstring ApiPath(const std::wstring& path) {
    constexpr std::size_t kShortLimit = MAX_PATH - 12; // what CreateDirectory allows
    if (path.size() < kShortLimit || path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    if (path.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return L"\\\\?\\" + path;
    return path;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ApiPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where the folders below the root start: after "C:\" or after "\\server\share\".
std::size_t RootLength(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return 3;
    if (path.rfind(L"\\\\", 0) == 0) {
        const std::size_t server = path.find(L'\\', 2);
        const std::size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        return share == std::wstring::npos ? path.size() : share + 1;
    }
    return 0;
}

// The largest state file read back: a 32-bit picture of the largest size, plus headers.
constexpr std::uint64_t kMaxStateFileSize = static_cast<std::uint64_t>(TBitmap32::kMaxPixels) * 4 + 65536;

class TSystemHistoryEnvironment final : public THistoryEnvironment {
public:
    std::wstring TempFolder() override { return ::TempFolder(); }

    void CreateFolders(const std::wstring& folder) override {
        if (IsFolder(folder))
            return;
        // Every missing folder on the way down is made; failures on the way show at the end.
        for (std::size_t at = folder.find(L'\\', RootLength(folder)); at != std::wstring::npos;
             at = folder.find(L'\\', at + 1))
            CreateDirectoryW(ApiPath(folder.substr(0, at)).c_str(), nullptr);
        if (!CreateDirectoryW(ApiPath(folder).c_str(), nullptr) && !IsFolder(folder))
            RaiseLastOSError(L"The folder \"" + folder + L"\" cannot be created");
    }

    TLocalTime LocalTime() override {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
    }

    wchar_t DecimalSeparator() override {
        const int size = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0);
        if (size <= 1)
            return L'.';
        std::wstring text(static_cast<std::size_t>(size), L'\0');
        if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text.data(), size) || text[0] == L'\0')
            return L'.';
        return text[0];
    }

    void Wait(unsigned milliseconds) override { Sleep(milliseconds); }

    bool Exists(const std::wstring& path) override {
        return GetFileAttributesW(ApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    void StoreFile(const std::wstring& path, std::span<const std::uint8_t> data) override {
        const std::wstring context = L"The undo state \"" + path + L"\" cannot be written";
        // A new file only: the name was free a moment ago and no other state may be overwritten.
        TFileHandle file(CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            RaiseLastOSError(context);
        DWORD writeError = 0;
        if (!WriteOpenFile(file.Get(), data, writeError)) {
            // No partial state stays behind.
            file.Reset();
            DeleteFileW(ApiPath(path).c_str());
            RaiseOSError(writeError ? writeError : ERROR_WRITE_FAULT, context);
        }
        if (!CloseHandle(file.Release())) {
            const DWORD code = GetLastError();
            DeleteFileW(ApiPath(path).c_str());
            RaiseOSError(code, context);
        }
    }

    bool LoadFile(const std::wstring& path, std::vector<std::uint8_t>& data) override {
        TFileHandle file(CreateFileW(ApiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return false;
        // A state file that shrank while it was read is not a whole state.
        TFileRead read = ReadOpenFile(file.Get(), kMaxStateFileSize);
        if (read.Status != TReadStatus::Read || read.Shortened)
            return false;
        data = std::move(read.Bytes);
        return true;
    }

    void RemoveFile(const std::wstring& path) override { DeleteFileW(ApiPath(path).c_str()); }
};

} // namespace

THistoryEnvironment& SystemHistoryEnvironment() {
    // Never destroyed, so that a history freed late in the program's end still finds it.
    static auto* environment = new TSystemHistoryEnvironment;
    return *environment;
}
