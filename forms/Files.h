#pragma once
// File-system helpers of the window layer: the program's own folder, the temporary folder,
// existence tests, folder creation and whole-file reading and writing.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The full path of the running program, read with whatever length the system reports.
std::wstring ProgramFileName();
// The folder of the running program, with a trailing separator.
std::wstring ProgramFolder();
// The user's temporary folder as the system reports it (with its trailing separator),
// however long it is.
std::wstring TempFolder();

bool FileExists(const std::wstring& path);      // a file, not a folder
bool DirectoryExists(const std::wstring& path); // a folder
bool PathExists(const std::wstring& path);      // anything bearing the name
// Creates a folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::wstring& path);
// The folder part of a path, with its trailing separator ("" when there is none).
std::wstring ExtractFilePath(const std::wstring& path);
std::wstring ExtractFileName(const std::wstring& path);

// How reading an open file whole ended.
enum class TReadStatus : std::uint8_t { Read = 0, TooLarge = 1, Failed = 2 };
struct TFileRead {
    TReadStatus Status = TReadStatus::Failed;
    // The system's error code when reading failed.
    DWORD Error = 0;
    // The file grew shorter while it was read; Bytes hold what was there.
    bool Shortened = false;
    std::vector<std::uint8_t> Bytes;

    // The bytes as the text decoders take them.
    std::string_view Chars() const { return {reinterpret_cast<const char*>(Bytes.data()), Bytes.size()}; }
};
// Reads an open file from its current position to its end. Its size is checked against
// maxBytes before anything is allocated, so a huge file costs nothing.
TFileRead ReadOpenFile(HANDLE file, std::uint64_t maxBytes);

// Writes all of data to an open file at its current position; false, with the system's
// error code (0 when it gave none), when a write fails or takes nothing.
bool WriteOpenFile(HANDLE file, std::span<const std::uint8_t> data, DWORD& error);

// Reads a whole file; throws EOSError when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path);
// Writes a whole file through a temporary file in the same folder, flushed and then renamed
// to the path, so that a failure never leaves a half-written file behind nor destroys the
// file that was there; a read-only file is not replaced. With createNew, a file that
// already bears the name is kept (ERROR_ALREADY_EXISTS). A file held open by another
// program is waited for up to a second (kReplaceTries x kReplaceRetryDelay). Returns 0, or
// the system's error code of the failure.
inline constexpr int kReplaceTries = 40;
inline constexpr DWORD kReplaceRetryDelay = 25; // milliseconds
DWORD TryWriteFileAtomic(const std::wstring& path, std::span<const std::uint8_t> data, bool createNew);
// The same, replacing any file; throws EOSError on failure.
void WriteFileAtomic(const std::wstring& path, std::span<const std::uint8_t> data);
