#pragma once
// The program's exceptions. Messages are wide texts shown as they stand in the error box.
#include <windows.h>

#include <exception>
#include <string>

// A failure with a message for the user.
class Exception : public std::exception {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const { return message_; }
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    std::wstring message_;
    std::string narrow_;
};

// A silent stop: the error box shows nothing for it.
class EAbort : public Exception {
public:
    EAbort() : Exception(L"Operation aborted") {}
};

// A number or value that could not be converted.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A failed system call; the message is the system's own text for the code.
class EOSError : public Exception {
public:
    EOSError(DWORD code, const std::wstring& context = {});
    DWORD ErrorCode() const { return code_; }

private:
    DWORD code_;
};

// The system's text for an error code (without the trailing line break).
std::wstring SysErrorMessage(DWORD code);
// Throws EOSError for GetLastError() (or for the given code); context prefixes the message.
[[noreturn]] void RaiseLastOSError(const std::wstring& context = {});
[[noreturn]] void RaiseOSError(DWORD code, const std::wstring& context = {});
// Throws EOSError when the handle or result is null / false.
template <class T> T Win32Check(T result, const std::wstring& context = {}) {
    if (!result)
        RaiseLastOSError(context);
    return result;
}
// The user-facing text of any exception: our own message, a standard what(), or a
// generic text for anything else.
std::wstring ExceptionMessage(const std::exception_ptr& e);
