#pragma once
// File-system helpers of the window layer: the program's own folder, the temporary folder,
// existence tests, folder creation and whole-file reading and writing.
#include <cstdint>
#include <span>
#include <string>
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

// Reads a whole file; throws EOSError when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path);
// Writes a whole file through a temporary name in the same folder and a rename, so that
// a failed write never leaves a truncated file behind. Throws EOSError on failure.
void WriteFileAtomic(const std::wstring& path, std::span<const std::uint8_t> data);
// Creates a new file and writes it; fails (false, nothing touched) when anything already
// bears the name. Throws EOSError for other failures (the partial file is removed).
bool WriteNewFile(const std::wstring& path, std::span<const std::uint8_t> data);
