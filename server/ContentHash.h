#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// SHA-256 of data (FIPS 180-4).
std::array<std::uint8_t, 32> sha256(std::string_view data);

// The digest in base64 with padding, as a Content-Security-Policy hash
// source takes it ('sha256-...').
std::string sha256Base64(std::string_view data);
