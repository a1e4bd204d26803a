#pragma once

#include <cstdint>
#include <string>

// What a PORT text names: a local serial port (a device path or a COM name),
// a raw TCP stream of a serial device server (tcp://HOST:PORT) or a Telnet
// connection with COM port control (rfc2217://HOST:PORT). HOST is a name,
// an IPv4 address or an IPv6 address in brackets.
struct PortAddress {
    enum class Kind { Local, Tcp, Rfc2217 };

    Kind kind = Kind::Local;
    std::string local;       // the port name as given, for Kind::Local
    std::string host;        // without the brackets of an IPv6 address
    std::uint16_t port = 0;  // the TCP port, never 0 for a network address

    bool isNetwork() const { return kind != Kind::Local; }
    // The address as the user writes it (brackets around an IPv6 host).
    std::string text() const;
};

// Reads a PORT text. Any text with "://" must be a complete network address;
// anything else is a local port name. False with the reason in `error` (and
// `address` untouched) for an empty name, an unknown scheme, a missing or
// zero port, or a malformed host.
bool parsePortAddress(const std::string& text, PortAddress& address, std::string& error);
