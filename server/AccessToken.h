#pragma once

#include <optional>
#include <string>

// A fresh access token: 128 random bits as 32 hex digits.
std::string newAccessToken();

// The token in the first line of path (blanks around it ignored): at least
// 16 characters of letters, digits, "-", "_" and ".", so it travels in a URL
// and a cookie as it is. Nothing, with problem set, otherwise.
std::optional<std::string> readAccessToken(const std::string& path, std::string& problem);
