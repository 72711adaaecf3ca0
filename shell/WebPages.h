#pragma once
// The maker's web pages: the home page and the help, question-and-answer and donation
// pages that the Help commands and the About dialog open.
#include <string>

inline constexpr wchar_t kWebHost[] = L"https://www.tolvex.net";
inline constexpr wchar_t kHelpPath[] = L"/helper.php?program=tolvex";
inline constexpr wchar_t kQnAPath[] = L"/helper.php?go=qna&product=tolvex";
inline constexpr wchar_t kDonatePath[] = L"/helper.php?go=donate&product=tolvex";

inline std::wstring WebPage(const wchar_t* path = L"") {
    return std::wstring(kWebHost) + path;
}
