#include "server/AccessToken.h"

#include <cctype>
#include <fstream>
#include <random>

std::string newAccessToken()
{
    std::random_device random;
    static constexpr char Digits[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 4; ++i) {
        std::uint32_t bits = random();
        for (int j = 0; j < 8; ++j, bits >>= 4)
            token += Digits[bits & 15];
    }
    return token;
}

std::optional<std::string> readAccessToken(const std::string& path, std::string& problem)
{
    std::ifstream file(path, std::ios::binary);
    std::string line;
    if (!file || !std::getline(file, line)) {
        problem = "cannot read the token file " + path;
        return std::nullopt;
    }
    const auto first = line.find_first_not_of(" \t\r");
    const auto last = line.find_last_not_of(" \t\r");
    const std::string token = first == std::string::npos ? "" : line.substr(first, last - first + 1);
    bool plain = token.size() >= 16;
    for (unsigned char c : token)
        plain = plain && (std::isalnum(c) || c == '-' || c == '_' || c == '.');
    if (!plain) {
        problem = "the token in " + path + " must be at least 16 letters, digits, \"-\", \"_\" or \".\" on its first line";
        return std::nullopt;
    }
    return token;
}
