#pragma once

#include <string>
#include <string_view>

// Text inside the program is UTF-8; the Win32 calls take UTF-16. These
// convert at that boundary. Invalid input becomes U+FFFD, never an error.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
