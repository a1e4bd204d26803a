#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Where the server listens: ADDR:PORT with ADDR an IPv4 address, an IPv6
// address in brackets, or "localhost"; PORT 0 lets the system choose.
struct ListenAddress {
    std::string host; // without brackets
    std::uint16_t port = 8480;

    static std::optional<ListenAddress> Parse(std::string_view text, std::string& problem);
    // 127.0.0.0/8, ::1 or localhost: only this machine can connect.
    bool isLoopback() const;
    // 0.0.0.0 or ::, every address of the machine.
    bool isWildcard() const;
    // For URLs and Host headers: "127.0.0.1:8480", "[::1]:8480".
    std::string authority() const;
};

// An IPv4 address in dotted form, or an IPv6 address (brackets allowed).
bool isIpLiteral(std::string_view host);
