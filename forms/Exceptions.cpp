#include "forms/Exceptions.h"

#include <new>

#include "forms/Strings.h"

Exception::Exception(std::wstring message) : message_(std::move(message)), narrow_(WideToUtf8(message_)) {}

std::wstring SysErrorMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD len = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (len && buffer)
        text.assign(buffer, len);
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        text = L"System error, code " + std::to_wstring(code);
    return text;
}

EOSError::EOSError(DWORD code, const std::wstring& context)
    : Exception(context.empty() ? SysErrorMessage(code) : context + L": " + SysErrorMessage(code)),
      code_(code) {}

void RaiseOSError(DWORD code, const std::wstring& context) {
    throw EOSError(code, context);
}

void RaiseLastOSError(const std::wstring& context) {
    const DWORD code = GetLastError();
    RaiseOSError(code ? code : ERROR_GEN_FAILURE, context);
}

std::wstring ExceptionMessage(const std::exception_ptr& e) {
    try {
        std::rethrow_exception(e);
    } catch (const Exception& ex) {
        return ex.Message();
    } catch (const std::bad_alloc&) {
        return L"Out of memory";
    } catch (const std::exception& ex) {
        return Utf8ToWide(ex.what());
    } catch (...) {
        return L"Unknown error";
    }
}
