#include "device/PortAddress.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool isHostNameCharacter(unsigned char c)
{
    return std::isalnum(c) || c == '-' || c == '.' || c == '_';
}

bool isIpv6Character(unsigned char c)
{
    return std::isxdigit(c) || c == ':' || c == '.';
}

// HOST:PORT or [V6]:PORT after the scheme.
bool splitHostPort(const std::string& rest, std::string& host, std::uint16_t& port, std::string& error)
{
    std::size_t colon;
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string::npos) {
            error = "the IPv6 address has no closing bracket";
            return false;
        }
        host = rest.substr(1, close - 1);
        if (host.empty() || !std::all_of(host.begin(), host.end(), [](unsigned char c) { return isIpv6Character(c); })) {
            error = "\"" + host + "\" is not an IPv6 address";
            return false;
        }
        if (close + 1 >= rest.size() || rest[close + 1] != ':') {
            error = "no port after the host (write [ADDRESS]:PORT)";
            return false;
        }
        colon = close + 1;
    } else {
        colon = rest.rfind(':');
        if (colon == std::string::npos) {
            error = "no port after the host (write HOST:PORT)";
            return false;
        }
        host = rest.substr(0, colon);
        if (host.find(':') != std::string::npos) {
            error = "an IPv6 address goes in brackets: [" + host + "]:PORT";
            return false;
        }
        if (host.empty()) {
            error = "no host before the port";
            return false;
        }
        if (!std::all_of(host.begin(), host.end(), [](unsigned char c) { return isHostNameCharacter(c); })) {
            error = "\"" + host + "\" is not a host name or address";
            return false;
        }
    }
    const std::string digits = rest.substr(colon + 1);
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc{} || end != digits.data() + digits.size()) {
        error = digits.empty() ? "no port after the host" : "\"" + digits + "\" is not a port number";
        return false;
    }
    if (value == 0 || value > 65535) {
        error = "the port must be 1 to 65535, not " + digits;
        return false;
    }
    port = static_cast<std::uint16_t>(value);
    return true;
}

} // namespace

std::string PortAddress::text() const
{
    if (kind == Kind::Local)
        return local;
    const std::string shownHost = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    return std::string(kind == Kind::Tcp ? "tcp://" : "rfc2217://") + shownHost + ":" + std::to_string(port);
}

bool parsePortAddress(const std::string& text, PortAddress& address, std::string& error)
{
    // A name with an embedded NUL would open some other, shorter path.
    if (text.empty() || text.find('\0') != std::string::npos) {
        error = "empty port name";
        return false;
    }
    const std::size_t separator = text.find("://");
    if (separator == std::string::npos) {
        PortAddress local;
        local.local = text;
        address = local;
        return true;
    }
    PortAddress network;
    const std::string scheme = lowered(text.substr(0, separator));
    if (scheme == "tcp")
        network.kind = PortAddress::Kind::Tcp;
    else if (scheme == "rfc2217")
        network.kind = PortAddress::Kind::Rfc2217;
    else {
        error = "unknown scheme \"" + text.substr(0, separator) + "://\" (tcp:// and rfc2217:// are known)";
        return false;
    }
    std::string rest = text.substr(separator + 3);
    // A trailing slash is harmless; any other path is not ours to ignore.
    if (!rest.empty() && rest.back() == '/')
        rest.pop_back();
    if (rest.find('/') != std::string::npos) {
        error = "a network port has no path: write " + scheme + "://HOST:PORT";
        return false;
    }
    if (!splitHostPort(rest, network.host, network.port, error))
        return false;
    address = network;
    return true;
}
