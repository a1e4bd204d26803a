#include "server/ListenAddress.h"

#include <charconv>

namespace {

bool isIpv4(std::string_view text)
{
    int parts = 0;
    while (true) {
        unsigned value = 256;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        const std::size_t used = static_cast<std::size_t>(end - text.data());
        if (error != std::errc() || value > 255 || used == 0 || used > 3)
            return false;
        ++parts;
        text.remove_prefix(used);
        if (text.empty())
            return parts == 4;
        if (text[0] != '.')
            return false;
        text.remove_prefix(1);
    }
}

bool isIpv6(std::string_view text)
{
    if (text.size() < 2 || text.find(':') == std::string_view::npos)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.'))
            return false;
    return true;
}

} // namespace

bool isIpLiteral(std::string_view host)
{
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        return isIpv6(host.substr(1, host.size() - 2));
    return isIpv4(host) || isIpv6(host);
}

std::optional<ListenAddress> ListenAddress::Parse(std::string_view text, std::string& problem)
{
    problem = "\"" + std::string(text) + "\" is not ADDR:PORT (e.g. 127.0.0.1:8480, 0.0.0.0:8480 or [::1]:8480)";
    ListenAddress address;
    std::string_view portText;
    if (text.starts_with('[')) {
        const auto close = text.find("]:");
        if (close == std::string_view::npos)
            return std::nullopt;
        address.host = std::string(text.substr(1, close - 1));
        portText = text.substr(close + 2);
        if (!isIpv6(address.host))
            return std::nullopt;
    } else {
        const auto colon = text.rfind(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        address.host = std::string(text.substr(0, colon));
        portText = text.substr(colon + 1);
        if (address.host != "localhost" && !isIpv4(address.host))
            return std::nullopt;
    }
    unsigned port = 0;
    const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (portText.empty() || error != std::errc() || end != portText.data() + portText.size() || port > 65535)
        return std::nullopt;
    address.port = static_cast<std::uint16_t>(port);
    problem.clear();
    return address;
}

bool ListenAddress::isLoopback() const
{
    return host == "localhost" || host == "::1" || (isIpv4(host) && host.starts_with("127."));
}

bool ListenAddress::isWildcard() const
{
    return host == "0.0.0.0" || host == "::";
}

std::string ListenAddress::authority() const
{
    const std::string name = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    return name + ":" + std::to_string(port);
}
